// The warp's two ways (eight steps at a time where the processor can, and one at a
// time) against the warp written out pixel by pixel: the same bytes on rows that
// stretch, squeeze, fold and open holes, at the row's ends too. Then what a viewer
// sees: no shift, slanted depth without a staircase, holes filled from the farther side.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "stereo/forward_warp_row.h"
#include "stereo/subpixel_weights.h"

namespace {

using core::PixelTriple;
using stereo::kSubpixel;
using stereo::LevelShifts;

TEST(SubpixelWeightsTest, EveryOffsetOfEverySpanGivesTheQuotient) {
    for (std::int32_t span = 1; span <= stereo::kMaxWeightSpan; ++span) {
        const std::uint32_t reciprocal = stereo::WeightReciprocal(span);
        for (std::uint32_t offset = 0; offset < static_cast<std::uint32_t>(span); ++offset)
            ASSERT_EQ(stereo::SpanWeight(offset, reciprocal), (offset << 8) / span)
                << "offset " << offset << " of span " << span;
    }
}

// The warp one pixel at a time: every source pixel's landing, the span to the next one
// filled by interpolation or, across a fold or a hole, each side's own half pixel, the
// nearer write winning; then every pixel nothing reached mirrors the farther side.
class PlainWarp {
  public:
    PlainWarp(const std::vector<PixelTriple>& source, const std::vector<std::uint8_t>& levels,
              const LevelShifts& shifts)
        : view_(source.size()), depth_(source.size(), -1) {
        const int width = static_cast<int>(source.size());
        const auto at = [&](int x) {
            return x * kSubpixel + shifts[levels[static_cast<std::size_t>(x)]];
        };
        const auto depth = [&](int x) { return levels[static_cast<std::size_t>(x)] * 256; };
        const auto colour = [&](int x) { return source[static_cast<std::size_t>(x)]; };
        Box(at(0) - 128, at(0), colour(0), depth(0));
        for (int x = 1; x < width; ++x) {
            const int a = at(x - 1);
            const int b = at(x);
            if (b - a > 0 && b - a <= 512) {
                for (int i = First(a); i < std::min(First(b), width); ++i) {
                    if (i < 0) continue;
                    const int weight = (i * 256 - a) * 256 / (b - a);
                    const auto mix = [&](std::uint8_t p, std::uint8_t q) {
                        return static_cast<std::uint8_t>(p + (((q - p) * weight + 128) >> 8));
                    };
                    const PixelTriple c0 = colour(x - 1), c1 = colour(x);
                    Put(i, {mix(c0.Blue, c1.Blue), mix(c0.Green, c1.Green), mix(c0.Red, c1.Red)},
                        depth(x - 1) + (((depth(x) - depth(x - 1)) * weight) >> 8));
                }
            } else {
                Box(a, a + 128, colour(x - 1), depth(x - 1));
                Box(b - 128, b, colour(x), depth(x));
            }
        }
        Box(at(width - 1), at(width - 1) + 128, colour(width - 1), depth(width - 1));
        FillHoles(source);
    }

    const std::vector<PixelTriple>& View() const { return view_; }

  private:
    static int First(int position) { return (position + 255) >> 8; }
    int Width() const { return static_cast<int>(view_.size()); }

    void Put(int i, PixelTriple colour, int depth) {
        if (depth > depth_[static_cast<std::size_t>(i)]) {
            depth_[static_cast<std::size_t>(i)] = depth;
            view_[static_cast<std::size_t>(i)] = colour;
        }
    }
    void Box(int from, int to, PixelTriple colour, int depth) {
        for (int i = std::max(First(from), 0); i < std::min(First(to), Width()); ++i)
            Put(i, colour, depth);
    }
    void FillHoles(const std::vector<PixelTriple>& source) {
        const auto at = [](int i) { return static_cast<std::size_t>(i); };
        for (int begin = 0; begin < Width();) {
            if (depth_[at(begin)] != -1) {
                ++begin;
                continue;
            }
            int end = begin;
            while (end < Width() && depth_[at(end)] == -1) ++end;
            if (begin == 0 && end == Width()) {
                view_ = source;
                return;
            }
            const bool from_left =
                begin > 0 && (end == Width() || depth_[at(begin - 1)] <= depth_[at(end)]);
            const int edge = from_left ? begin - 1 : end;
            const int step = from_left ? -1 : 1;
            int run = 0;
            for (int i = edge; run < end - begin && i >= 0 && i < Width(); i += step) {
                if (depth_[at(i)] == -1 || depth_[at(i)] > depth_[at(edge)] + 16 * 256) break;
                ++run;
            }
            run = std::max(run, 1);
            for (int k = 0; k < end - begin; ++k) {
                const int bounce = k % (2 * run);
                const int from = edge + step * (bounce < run ? bounce : 2 * run - 1 - bounce);
                const int target = from_left ? begin + k : end - 1 - k;
                view_[at(target)] = view_[at(from)];
                depth_[at(target)] = depth_[at(edge)];
            }
            begin = end;
        }
    }

    std::vector<PixelTriple> view_;
    std::vector<int> depth_;
};

// Shifts from `far` to `near` pixels over the levels, in 1/256 pixel.
LevelShifts Shifts(double far, double near) {
    LevelShifts shifts{};
    for (int level = 0; level < 256; ++level)
        shifts[static_cast<std::size_t>(level)] =
            static_cast<std::int32_t>(std::lround((far + (near - far) * level / 255.0) * 256));
    return shifts;
}

struct Row {
    std::vector<PixelTriple> source;
    std::vector<std::uint8_t> levels;
};

// Smooth depth with noise of the given size on it, and now and then an edge.
Row RandomRow(std::mt19937& random, int width, int noise) {
    Row row;
    double level = random() % 256;
    for (int x = 0; x < width; ++x) {
        if (random() % 50 == 0) level = random() % 256;
        level = std::clamp(level + (static_cast<int>(random() % 9) - 4) * 0.5, 0.0, 255.0);
        const int jitter = noise == 0 ? 0 : static_cast<int>(random() % (2 * noise + 1)) - noise;
        row.levels.push_back(static_cast<std::uint8_t>(std::clamp<int>(level + jitter, 0, 255)));
        row.source.push_back({static_cast<std::uint8_t>(random()),
                              static_cast<std::uint8_t>(random()),
                              static_cast<std::uint8_t>(random())});
    }
    return row;
}

// Shifts with no order at all, in quarter pixels, over a few neighbouring levels: rows
// fold everywhere, and a span's mix halfway between two levels meets the level in
// between, at the same depth, in the same pixel, where the earlier write must stay.
LevelShifts JumbledShifts(std::mt19937& random, double reach) {
    LevelShifts shifts{};
    const auto quarters = static_cast<std::uint32_t>(8 * reach) + 1;
    for (auto& shift : shifts)
        shift = (static_cast<std::int32_t>(random() % quarters) -
                 static_cast<std::int32_t>(quarters / 2)) *
                kSubpixel / 4;
    return shifts;
}

Row FewLevelsRow(std::mt19937& random, int width) {
    Row row;
    for (int x = 0; x < width; ++x) {
        row.levels.push_back(static_cast<std::uint8_t>(100 + random() % 5));
        row.source.push_back({static_cast<std::uint8_t>(random()),
                              static_cast<std::uint8_t>(random()),
                              static_cast<std::uint8_t>(random())});
    }
    return row;
}

enum class Path { kEitherView, kOneAtATime };

std::vector<PixelTriple> Warp(Path path, const Row& row, const LevelShifts& shifts) {
    std::vector<PixelTriple> view(row.source.size());
    std::vector<std::uint64_t> cells(stereo::WarpCellsFor(row.source.size()));
    if (path == Path::kOneAtATime) {
        stereo::ForwardWarpRowOneAtATime(row.source, row.levels, shifts, view, {cells});
    } else {
        // Both views of one call, the second on cells the first left behind.
        std::vector<PixelTriple> other(row.source.size());
        stereo::ForwardWarpViews(row.source, row.levels, {shifts, other, cells},
                                 {shifts, view, cells});
        EXPECT_EQ(other, view);
    }
    return view;
}

struct PathCase {
    const char* name;
    Path path;
    bool jumbled;
};

class ForwardWarpPathsTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(ForwardWarpPathsTest, EqualsThePlainWarp) {
    std::mt19937 random(1414);
    for (int trial = 0; trial < 400; ++trial) {
        const int width = 1 + static_cast<int>(random() % 300);
        const Row row = GetParam().jumbled ? FewLevelsRow(random, width)
                                           : RandomRow(random, width, trial % 4 * 6);
        const double reach = width * (0.002 + 0.03 * (trial % 5));
        for (const bool left : {true, false}) {
            const LevelShifts shifts = GetParam().jumbled ? JumbledShifts(random, reach)
                                       : left             ? Shifts(-reach, reach)
                                                          : Shifts(reach, -reach);
            ASSERT_EQ(Warp(GetParam().path, row, shifts),
                      PlainWarp(row.source, row.levels, shifts).View())
                << "trial " << trial << (left ? " left" : " right");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, ForwardWarpPathsTest,
                         ::testing::Values(PathCase{"eight_at_a_time", Path::kEitherView, false},
                                           PathCase{"one_at_a_time", Path::kOneAtATime, false},
                                           PathCase{"eight_jumbled", Path::kEitherView, true},
                                           PathCase{"one_jumbled", Path::kOneAtATime, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The row as ForwardWarpRow gives it.
std::vector<PixelTriple> WarpRow(const std::vector<PixelTriple>& source,
                                 const std::vector<std::uint8_t>& levels,
                                 const LevelShifts& shifts) {
    return Warp(Path::kEitherView, Row{source, levels}, shifts);
}

TEST(ForwardWarpRowTest, NoShiftGivesTheRowBack) {
    std::vector<PixelTriple> source;
    for (int x = 0; x < 40; ++x)
        source.push_back({static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(3 * x), 7});
    const std::vector<std::uint8_t> levels(source.size(), 128);
    EXPECT_EQ(WarpRow(source, levels, Shifts(0, 0)), source);
}

TEST(ForwardWarpRowTest, SlantedDepthMovesByFractionsWithoutStaircase) {
    constexpr int kWidth = 60;
    std::vector<PixelTriple> source;
    std::vector<std::uint8_t> levels;
    for (int x = 0; x < kWidth; ++x) {
        source.push_back({0, 0, static_cast<std::uint8_t>(4 * x)});
        levels.push_back(static_cast<std::uint8_t>(x * 255 / (kWidth - 1)));
    }
    for (const auto& shifts : {Shifts(-3, 3), Shifts(3, -3)}) {
        const auto view = WarpRow(source, levels, shifts);
        // Away from the ends, which the shift empties or overfills.
        for (int x = 8; x < kWidth - 8; ++x) {
            const int step =
                view[static_cast<std::size_t>(x)].Red - view[static_cast<std::size_t>(x - 1)].Red;
            EXPECT_GE(step, 3) << "column " << x;
            EXPECT_LE(step, 5) << "column " << x;
        }
    }
}

// A near object on a textured far background, moved right: the strip it uncovers on
// its left shows background texture, not the object and not one flat colour.
TEST(ForwardWarpRowTest, UncoveredStripHoldsBackgroundTexture) {
    constexpr int kWidth = 120;
    constexpr PixelTriple kObject{0, 0, 255};
    std::vector<PixelTriple> source;
    std::vector<std::uint8_t> levels;
    std::set<std::tuple<int, int, int>> background;
    for (int x = 0; x < kWidth; ++x) {
        const bool object = x >= 50 && x < 70;
        const PixelTriple texture{static_cast<std::uint8_t>(100 + x % 7 * 20),
                                  static_cast<std::uint8_t>(x * 2), 0};
        source.push_back(object ? kObject : texture);
        levels.push_back(object ? 255 : 0);
        if (!object) background.insert({texture.Blue, texture.Green, texture.Red});
    }
    const auto view = WarpRow(source, levels, Shifts(0, 9));
    EXPECT_EQ(view[59 + 9], kObject);
    std::set<std::tuple<int, int, int>> strip;
    for (int x = 50; x < 59; ++x) {
        const PixelTriple p = view[static_cast<std::size_t>(x)];
        EXPECT_TRUE(background.contains({p.Blue, p.Green, p.Red})) << "column " << x;
        strip.insert({p.Blue, p.Green, p.Red});
    }
    EXPECT_GT(strip.size(), 4u);
}

}  // namespace
