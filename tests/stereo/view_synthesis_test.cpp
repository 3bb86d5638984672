// The second view: exact moves on small maps, and against a plain three-pass
// reference on odd widths, noisy maps whose bands change from pixel to pixel, levels
// that make bands overlap, every display format, and a picture that changes size
// between the passes, so that each pass covers other columns and rows.
#include "stereo/view_synthesis.h"

#include <algorithm>
#include <array>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/stereo/stage_bench.h"

namespace {

using core::PixelGrid;
using stereo_testing::CellColor;
using stereo_testing::ImageBytes;
using stereo_testing::LoadViews;
using stereo_testing::SameGrid;
using stereo_testing::StageBench;
using testing_support::Grey;
using testing_support::LoadSurface;
using testing_support::ReadGrid;

using Levels = std::array<std::int16_t, 5>;
constexpr Levels kDefault = {50, 100, 150, 200, 255};

// With the default levels a pixel of the band above 100, 150 or 200 moves 1, 2 or 3
// columns left; level 0 and 4 take no part, bounds stay, the higher band wins a shared
// destination, the band is decided at the source, and column 0 is never written.
TEST(MakeSecondView, SmallMapsMoveTheirColumns) {
    const struct {
        int width, height;
        Levels levels;
        int depth;                                // of every cell but
        std::vector<std::pair<int, int>> deeper;  // {column, depth}
        std::vector<std::pair<int, int>> moves;   // on every row: {to, from}
    } cases[] = {
        {20, 2, kDefault, 0, {{10, 120}}, {{9, 10}}},
        {20, 2, kDefault, 0, {{10, 101}}, {{9, 10}}},
        {20, 2, kDefault, 0, {{10, 149}}, {{9, 10}}},
        {20, 2, kDefault, 0, {{10, 151}}, {{8, 10}}},
        {20, 2, kDefault, 0, {{10, 199}}, {{8, 10}}},
        {20, 2, kDefault, 0, {{10, 201}}, {{7, 10}}},
        {20, 2, kDefault, 0, {{10, 254}}, {{7, 10}}},
        {20, 2, kDefault, 0, {{10, 255}}, {}},
        {20, 2, kDefault, 0, {{10, 200}}, {}},
        {20, 2, kDefault, 0, {{10, 150}}, {}},
        {20, 2, kDefault, 0, {{10, 100}}, {}},
        {20, 2, kDefault, 0, {{10, 60}}, {}},
        {16, 3, kDefault, 0, {{10, 120}, {12, 230}}, {{9, 12}}},
        {16, 3, kDefault, 0, {{9, 120}}, {{8, 9}}},  // nothing lands on 9 from 10
        {8, 2, kDefault, 0, {{1, 230}, {2, 120}, {3, 170}, {4, 230}}, {{1, 4}}},
        {7, 3, kDefault, 127, {}, {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}}},
        {9, 2, kDefault, 240, {}, {{1, 4}, {2, 5}, {3, 6}, {4, 7}, {5, 8}}},
        // crossed levels empty the first band
        {16, 2, {50, 150, 150, 200, 255}, 0, {{5, 120}, {6, 149}, {12, 170}}, {{10, 12}}},
        {16, 2, {50, 160, 150, 200, 255}, 0, {{5, 120}, {6, 149}, {12, 170}}, {{10, 12}}},
        {12, 1, {140, 100, 150, 200, 210}, 0, {{5, 120}, {9, 230}}, {{4, 5}, {6, 9}}},
        {1, 1, kDefault, 230, {}, {}},
        {2, 1, kDefault, 230, {}, {}},
        {3, 1, kDefault, 230, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        StageBench bench;
        bench.globals.Depth = c.levels;
        LoadViews(bench, c.width, c.height, [&c](int x, int) {
            for (const auto& [column, depth] : c.deeper)
                if (column == x) return depth;
            return c.depth;
        });
        const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);
        stereo::MakeSecondView(bench.context);
        PixelGrid expected = picture;
        for (int y = 0; y < c.height; ++y)
            for (const auto& [to, from] : c.moves) expected(to, y) = picture(from, y);
        EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picResult), expected));
        EXPECT_TRUE(stereo_testing::PictureIsImage(bench.surfaces.picResult));
    }
}

TEST(MakeSecondView, NarrowerDepthMapMovesOnlyWhereItReaches) {
    StageBench bench;
    LoadViews(bench, 10, 3, [](int, int) { return 0; });
    LoadSurface(bench.surfaces.picDepth, 5, 2, [](int, int) { return Grey(120); });
    const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);
    stereo::MakeSecondView(bench.context);
    PixelGrid expected = picture;
    for (int y = 0; y < 2; ++y)
        for (int x = 1; x <= 3; ++x) expected(x, y) = picture(x + 1, y);
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picResult), expected));
}

// Each of the three passes polls once a row. Cancelling in yield n stops the pass at
// its next row end, before the grid is written; only a cancel in the very last yield
// comes too late for this stage. A run already cancelled stops after one row.
TEST(MakeSecondView, CancelAtEveryRowLeavesTheResultAlone) {
    constexpr int kWidth = 7;
    constexpr int kHeight = 3;
    constexpr int kYields = 3 * kHeight;
    for (int n = 0; n <= kYields; ++n) {
        StageBench bench;
        LoadViews(bench, kWidth, kHeight, [](int x, int) { return 100 + 30 * (x % 5); });
        LoadSurface(bench.surfaces.picResult, kWidth, kHeight, [](int, int) { return Grey(77); });
        const auto before = ImageBytes(bench.surfaces.picResult);
        bench.CancelAtYield(n);
        if (n == 0) bench.globals.glbBusy = 0;
        stereo::MakeSecondView(bench.context);
        EXPECT_EQ(bench.host.yields, n) << "yield " << n;
        if (n < kYields) {
            EXPECT_EQ(ImageBytes(bench.surfaces.picResult), before) << "yield " << n;
            EXPECT_EQ(bench.host.band_widths.size(), static_cast<std::size_t>(n + 1));
        } else {
            EXPECT_NE(ImageBytes(bench.surfaces.picResult), before);
            ASSERT_EQ(bench.host.band_widths.size(), static_cast<std::size_t>(kYields));
            EXPECT_FLOAT_EQ(bench.host.band_widths.back(), 1.0f + kYields * 2.0f);
            EXPECT_FLOAT_EQ(bench.globals.glbBandWidth, 1.0f + kYields * 2.0f);
        }
    }
}

// Per pass, per row: the columns the pass covered, or -1 when it did not reach the row.
using Covered = std::array<std::vector<int>, 3>;

// Pass k (1..3) copies every source x in k + 1 .. width - 1 whose depth (its Blue
// byte) lies strictly inside band k + 1 to x - k, the passes in order, all from the
// picture. By default every pass covers the whole picture.
PixelGrid ThreePasses(const PixelGrid& picture, const PixelGrid& depth,
                      const TavsMod::Values& globals, Covered covered = {}) {
    const std::array<int, 6> bounds = {
        0, globals.Depth[0], globals.Depth[1], globals.Depth[2], globals.Depth[3], 255};
    PixelGrid result = picture;
    for (std::size_t k = 1; k <= 3; ++k) {
        auto& widths = covered[k - 1];
        if (widths.empty())
            widths.assign(static_cast<std::size_t>(picture.Height()), picture.Width());
        for (int y = 0; y < static_cast<int>(widths.size()); ++y)
            for (int x = static_cast<int>(k) + 1; x < widths[static_cast<std::size_t>(y)]; ++x) {
                const int d = depth(x, y).Blue;
                if (bounds[k + 1] < d && d < bounds[k + 2])
                    result(x - static_cast<int>(k), y) = picture(x, y);
            }
    }
    return result;
}

// Runs the stage on the loaded surfaces and compares it with the reference.
testing::AssertionResult MatchesThreePasses(StageBench& bench) {
    const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);
    const PixelGrid depth = ReadGrid(bench.surfaces.picDepth);
    stereo::MakeSecondView(bench.context);
    return SameGrid(ReadGrid(bench.surfaces.picResult), ThreePasses(picture, depth, bench.globals));
}

// The band of a pixel is its Blue byte; a colour depth map is read by that alone. The
// depth stages leave raw field values on 15- and 16-bit displays, whose levels are
// set in field units.
TEST(MakeSecondView, NoisyColourMapsOfOddWidthsMatchThreePassesOnEveryDisplay) {
    const Levels levels[] = {kDefault,
                             {10, 120, 180, 60, 255},  // first and last bands overlap
                             {0, 200, 100, 150, 7},    // crossed
                             {-5, -1, 128, 256, 300},  // out of byte range
                             {6, 12, 18, 25, 31}};     // field units
    std::mt19937 rng(5);
    for (const int bits : stereo_testing::kDisplayDepths)
        for (const Levels& depth_levels : levels)
            for (const int width : {1, 2, 3, 4, 5, 6, 7, 17, 33, 163}) {
                StageBench bench(bits);
                bench.globals.Depth = depth_levels;
                LoadViews(bench, width, 3, [](int, int) { return 0; });
                LoadSurface(bench.surfaces.picResult, width, 3, [](int, int) { return Grey(9); });
                LoadSurface(bench.surfaces.picDepth, width, 3, [&rng](int, int) {
                    return static_cast<platform::Rgb>(rng() & 0xFFFFFF);
                });
                EXPECT_TRUE(MatchesThreePasses(bench))
                    << bits << " bits, levels from " << depth_levels[0] << ", width " << width;
            }
}

// A grey map with one colour cell: that cell moves by its Blue, wherever it lies.
TEST(MakeSecondView, OneColourCellInAGreyMapMovesByItsBlue) {
    for (const int width : {5, 16, 17, 33, 163})
        for (int odd = 0; odd < width; odd += std::max(1, width / 9)) {
            StageBench bench;
            LoadViews(bench, width, 1, [](int, int) { return 0; });
            LoadSurface(bench.surfaces.picDepth, width, 1, [odd](int x, int) {
                return x == odd ? platform::RGB(120, 170, 230) : Grey(40 + (x * 29) % 200);
            });
            ASSERT_TRUE(MatchesThreePasses(bench)) << "width " << width << ", odd cell " << odd;
        }
}

// The picture on picOriginal changes during the yields of the first two passes: each
// pass covers the columns and rows the picture has when it gets there, while the
// grids read at the start stay what they were.
TEST(MakeSecondView, PictureChangingBetweenPassesChangesWhatEachPassCovers) {
    StageBench bench;
    std::mt19937 rng(11);
    LoadViews(bench, 20, 6, [&rng](int, int) { return 101 + static_cast<int>(rng() % 154); });
    const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);
    const PixelGrid depth = ReadGrid(bench.surfaces.picDepth);
    const auto narrow = testing_support::MakePicture(bench.display, 12, 6, CellColor);
    const auto short_wide = testing_support::MakePicture(bench.display, 16, 4, CellColor);
    bench.host.on_yield = [&](int n) {
        if (n == 2) bench.surfaces.picOriginal.SetPicture(narrow);      // pass 1, after row 1
        if (n == 8) bench.surfaces.picOriginal.SetPicture(short_wide);  // pass 2, after row 1
    };
    stereo::MakeSecondView(bench.context);
    // Pass 3 starts on a picture 4 rows high: rows 4 and 5 take the first two passes only.
    EXPECT_EQ(bench.host.yields, 6 + 6 + 4);
    const Covered covered = {std::vector{20, 20, 12, 12, 12, 12},
                             std::vector{12, 12, 16, 16, 16, 16},
                             std::vector{16, 16, 16, 16, -1, -1}};
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picResult),
                         ThreePasses(picture, depth, bench.globals, covered)));
}

}  // namespace
