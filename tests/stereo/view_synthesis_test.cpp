#include "stereo/view_synthesis.h"

#include <array>
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

// With the default levels a pixel of the band above 100, 150 or 200 moves 1, 2 or 3
// columns left; the bounds themselves and the lower bands stay.
TEST(MakeSecondView, SinglePixelLandsByItsBand) {
    const int destinations[][2] = {{120, 9},  {170, 8}, {230, 7}, {101, 9},  {149, 9},  {151, 8},
                                   {199, 8},  {201, 7}, {254, 7}, {150, -1}, {200, -1}, {255, -1},
                                   {100, -1}, {60, -1}, {50, -1}, {0, -1}};
    for (const auto& [depth, destination] : destinations) {
        const int d = depth;
        StageBench bench;
        LoadViews(bench, 20, 8, [d](int x, int y) { return x == 10 && y == 5 ? d : 0; });
        const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);
        stereo::MakeSecondView(bench.context);
        PixelGrid expected = picture;
        if (destination >= 0) expected(destination, 5) = picture(10, 5);
        EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picResult), expected)) << "depth " << d;
        EXPECT_TRUE(stereo_testing::PictureIsImage(bench.surfaces.picResult));
    }
}

TEST(MakeSecondView, SmallMapsMoveTheirColumns) {
    using Depth = int (*)(int x, int y);
    const struct {
        const char* what;
        int width, height;
        std::array<std::int16_t, 5> levels;
        Depth depth;
        std::vector<std::pair<int, int>> moves;  // on every row: {to, from}
    } cases[] = {
        {"the higher band wins a shared destination",
         16,
         3,
         {50, 100, 150, 200, 255},
         [](int x, int) { return x == 12   ? 230
                                 : x == 10 ? 120
                                           : 0; },
         {{9, 12}}},
        // nothing lands on the deep column 9 from the shallow 10; it moves on itself
        {"the band is decided at the source",
         16,
         3,
         {50, 100, 150, 200, 255},
         [](int x, int) { return x == 9 ? 120 : 0; },
         {{8, 9}}},
        // sources 1, 2 and 3 would land on column 0; source 4 of the deepest band on 1
        {"column 0 is never written",
         8,
         2,
         {50, 100, 150, 200, 255},
         [](int x, int) { return std::array{230, 120, 170, 230, 230, 0, 0, 0}[x]; },
         {{1, 4}}},
        {"a flat centred map moves everything one column",
         7,
         3,
         {50, 100, 150, 200, 255},
         [](int, int) { return 127; },
         {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}}},
        {"the deepest band moves three columns",
         9,
         2,
         {50, 100, 150, 200, 255},
         [](int, int) { return 240; },
         {{1, 4}, {2, 5}, {3, 6}, {4, 7}, {5, 8}}},
        {"crossed levels empty the first band",
         16,
         2,
         {50, 150, 150, 200, 255},
         [](int x, int) {
             return x == 5 ? 120 : x == 6 ? 149 : x == 12 ? 170 : 0;
         },
         {{10, 12}}},
        {"crossed levels, Depth(1) above Depth(2)",
         16,
         2,
         {50, 160, 150, 200, 255},
         [](int x, int) {
             return x == 5 ? 120 : x == 6 ? 149 : x == 12 ? 170 : 0;
         },
         {{10, 12}}},
        {"levels 0 and 4 take no part",
         12,
         1,
         {140, 100, 150, 200, 210},
         [](int x, int) { return x == 5   ? 120
                                 : x == 9 ? 230
                                          : 0; },
         {{4, 5}, {6, 9}}},
        {"1 wide moves nothing", 1, 1, {50, 100, 150, 200, 255}, [](int, int) { return 230; }, {}},
        {"2 wide moves nothing", 2, 1, {50, 100, 150, 200, 255}, [](int, int) { return 230; }, {}},
        {"3 wide moves nothing", 3, 1, {50, 100, 150, 200, 255}, [](int, int) { return 230; }, {}},
    };
    for (const auto& c : cases) {
        StageBench bench;
        bench.globals.Depth = c.levels;
        LoadViews(bench, c.width, c.height, c.depth);
        const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);
        stereo::MakeSecondView(bench.context);
        PixelGrid expected = picture;
        for (int y = 0; y < c.height; ++y)
            for (const auto& [to, from] : c.moves) expected(to, y) = picture(from, y);
        EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picResult), expected)) << c.what;
    }
}

TEST(MakeSecondView, NarrowerDepthMapMovesOnlyWhereItReaches) {
    StageBench bench;
    LoadSurface(bench.surfaces.picOriginal, 10, 3, CellColor);
    LoadSurface(bench.surfaces.picResult, 10, 3, CellColor);
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
// comes too late for this stage.
TEST(MakeSecondView, CancelAtEveryRowLeavesTheResultAlone) {
    constexpr int kWidth = 7;
    constexpr int kHeight = 3;
    constexpr int kYields = 3 * kHeight;
    for (int n = 1; n <= kYields; ++n) {
        StageBench bench;
        LoadViews(bench, kWidth, kHeight, [](int x, int) { return 100 + 30 * (x % 5); });
        LoadSurface(bench.surfaces.picResult, kWidth, kHeight, [](int, int) { return Grey(77); });
        const auto before = ImageBytes(bench.surfaces.picResult);
        bench.CancelAtYield(n);
        stereo::MakeSecondView(bench.context);
        if (n < kYields) {
            EXPECT_EQ(ImageBytes(bench.surfaces.picResult), before) << "yield " << n;
            EXPECT_EQ(bench.host.yields, n);
            EXPECT_EQ(bench.host.band_widths.size(), static_cast<std::size_t>(n + 1));
        } else {
            EXPECT_NE(ImageBytes(bench.surfaces.picResult), before);
            ASSERT_EQ(bench.host.band_widths.size(), static_cast<std::size_t>(kYields));
            EXPECT_FLOAT_EQ(bench.host.band_widths.back(), 1.0f + kYields * 2.0f);
            EXPECT_FLOAT_EQ(bench.globals.glbBandWidth, 1.0f + kYields * 2.0f);
        }
    }
}

TEST(MakeSecondView, RunAlreadyCancelledStopsAfterOneRow) {
    StageBench bench;
    LoadViews(bench, 5, 4, [](int, int) { return 127; });
    LoadSurface(bench.surfaces.picResult, 5, 4, [](int, int) { return Grey(77); });
    const auto before = ImageBytes(bench.surfaces.picResult);
    bench.globals.glbBusy = 0;
    stereo::MakeSecondView(bench.context);
    EXPECT_EQ(ImageBytes(bench.surfaces.picResult), before);
    EXPECT_EQ(bench.host.yields, 0);
    EXPECT_EQ(bench.host.band_widths.size(), 1u);
}

}  // namespace
