// One row of an eye's view as a viewer sees it: no shift, slanted depth without a staircase,
// holes filled from the farther side.
#include "stereo/forward_warp_row.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using core::PixelTriple;
using stereo::kSubpixel;
using stereo::LevelShifts;

constexpr PixelTriple kUnwritten{255, 0, 255};

// Shifts rising with the level from `far` to `near` pixels.
LevelShifts Shifts(double far, double near) {
    LevelShifts shifts{};
    for (int level = 0; level < 256; ++level)
        shifts[static_cast<std::size_t>(level)] =
            static_cast<std::int32_t>((far + (near - far) * level / 255.0) * kSubpixel);
    return shifts;
}

std::vector<PixelTriple> Warp(const std::vector<PixelTriple>& source,
                              const std::vector<std::uint8_t>& levels, const LevelShifts& shifts) {
    std::vector<PixelTriple> view(source.size(), kUnwritten);
    std::vector<std::uint64_t> scratch(stereo::WarpCellsFor(source.size()));
    stereo::ForwardWarpRow(source, levels, shifts, view, {scratch});
    return view;
}

TEST(ForwardWarpRowTest, NoShiftGivesTheRowBack) {
    std::vector<PixelTriple> source;
    for (int x = 0; x < 40; ++x)
        source.push_back({static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(3 * x), 7});
    const std::vector<std::uint8_t> levels(source.size(), 128);
    EXPECT_EQ(Warp(source, levels, Shifts(0, 0)), source);
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
        const auto view = Warp(source, levels, shifts);
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
    const auto view = Warp(source, levels, Shifts(0, 9));
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
