#include "stereo/view_synthesis.h"

#include <array>
#include <functional>

#include <gtest/gtest.h>

#include "tests/stereo/stage_bench.h"

namespace {

using core::PixelGrid;
using stereo_testing::CellColor;
using stereo_testing::SameGrid;
using stereo_testing::StageBench;
using testing_support::Grey;
using testing_support::LoadSurface;
using testing_support::ReadGrid;

using DepthAt = std::function<int(int x, int y)>;

// The picture goes to picOriginal and picResult (as a reload leaves them), the depth
// map to picDepth.
void LoadViews(StageBench& bench, int width, int height, const DepthAt& depth) {
    LoadSurface(bench.surfaces.picOriginal, width, height, CellColor);
    LoadSurface(bench.surfaces.picResult, width, height, CellColor);
    LoadSurface(bench.surfaces.picDepth, width, height,
                [&](int x, int y) { return Grey(depth(x, y)); });
}

struct SinglePixelCase {
    int depth;
    int destination;  // where the pixel at (10, 5) lands; -1: it stays
};

class SinglePixelMove : public ::testing::TestWithParam<SinglePixelCase> {};

TEST_P(SinglePixelMove, LandsByItsBandWithDefaultLevels) {
    const SinglePixelCase c = GetParam();
    StageBench bench;
    LoadViews(bench, 20, 8, [&](int x, int y) { return x == 10 && y == 5 ? c.depth : 0; });
    const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);

    stereo::MakeSecondView(bench.context);

    PixelGrid expected = picture;
    if (c.destination >= 0) expected(c.destination, 5) = picture(10, 5);
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picResult), expected)) << "depth " << c.depth;
    EXPECT_TRUE(stereo_testing::PictureIsImage(bench.surfaces.picResult));
}

INSTANTIATE_TEST_SUITE_P(
    Bands, SinglePixelMove,
    ::testing::Values(SinglePixelCase{120, 9}, SinglePixelCase{170, 8}, SinglePixelCase{230, 7},
                      SinglePixelCase{101, 9}, SinglePixelCase{149, 9}, SinglePixelCase{151, 8},
                      SinglePixelCase{199, 8}, SinglePixelCase{201, 7}, SinglePixelCase{254, 7},
                      // bounds themselves and the lower bands stay
                      SinglePixelCase{150, -1}, SinglePixelCase{200, -1}, SinglePixelCase{255, -1},
                      SinglePixelCase{100, -1}, SinglePixelCase{60, -1}, SinglePixelCase{50, -1},
                      SinglePixelCase{0, -1}));

TEST(MakeSecondView, HigherBandWinsASharedDestination) {
    StageBench bench;
    LoadViews(bench, 16, 3, [](int x, int) { return x == 12 ? 230 : x == 10 ? 120 : 0; });
    const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);

    stereo::MakeSecondView(bench.context);

    PixelGrid expected = picture;
    for (int y = 0; y < 3; ++y) expected(9, y) = picture(12, y);
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picResult), expected));
}

TEST(MakeSecondView, BandIsDecidedAtTheSourceNotTheDestination) {
    StageBench bench;
    // Deep destination, shallow source: nothing lands on (9, 1); the deep pixel
    // itself moves on to (8, 1).
    LoadViews(bench, 16, 3, [](int x, int y) { return x == 9 && y == 1 ? 120 : 0; });
    const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);

    stereo::MakeSecondView(bench.context);

    PixelGrid expected = picture;
    expected(8, 1) = picture(9, 1);
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picResult), expected));
}

TEST(MakeSecondView, ColumnZeroIsNeverWritten) {
    StageBench bench;
    // Sources 1, 2 and 3 would land on column 0 with shifts 1, 2 and 3; source 4 of
    // the deepest band lands on column 1.
    constexpr std::array<int, 8> depths = {230, 120, 170, 230, 230, 0, 0, 0};
    LoadViews(bench, 8, 2, [&](int x, int) { return depths[static_cast<std::size_t>(x)]; });
    const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);

    stereo::MakeSecondView(bench.context);

    PixelGrid expected = picture;
    for (int y = 0; y < 2; ++y) {
        expected(1, y) = picture(4, y);
        expected(0, y) = picture(0, y);
    }
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picResult), expected));
}

TEST(MakeSecondView, FlatCentredMapMovesEverythingOneColumn) {
    StageBench bench;
    constexpr int kWidth = 7;
    LoadViews(bench, kWidth, 3, [](int, int) { return 127; });
    const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);

    stereo::MakeSecondView(bench.context);

    PixelGrid expected = picture;
    for (int y = 0; y < 3; ++y)
        for (int x = 1; x <= kWidth - 2; ++x) expected(x, y) = picture(x + 1, y);
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picResult), expected));
}

TEST(MakeSecondView, WholeDeepestBandMovesThreeColumns) {
    StageBench bench;
    constexpr int kWidth = 9;
    LoadViews(bench, kWidth, 2, [](int, int) { return 240; });
    const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);

    stereo::MakeSecondView(bench.context);

    PixelGrid expected = picture;  // columns 6..8 keep their own pixels
    for (int y = 0; y < 2; ++y)
        for (int x = 1; x <= kWidth - 4; ++x) expected(x, y) = picture(x + 3, y);
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picResult), expected));
}

TEST(MakeSecondView, CrossedLevelsEmptyTheFirstBand) {
    for (const std::int16_t level1 : {std::int16_t{150}, std::int16_t{160}}) {
        StageBench bench;
        bench.globals.Depth = {50, level1, 150, 200, 255};
        LoadViews(bench, 16, 2, [](int x, int) {
            return x == 5 ? 120 : x == 6 ? 149 : x == 12 ? 170 : 0;
        });
        const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);

        stereo::MakeSecondView(bench.context);

        PixelGrid expected = picture;  // only the band above 150 still moves
        for (int y = 0; y < 2; ++y) expected(10, y) = picture(12, y);
        EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picResult), expected))
            << "Depth(1) " << level1;
    }
}

TEST(MakeSecondView, LevelZeroAndFourTakeNoPart) {
    StageBench bench;
    bench.globals.Depth = {140, 100, 150, 200, 210};
    LoadViews(bench, 12, 1, [](int x, int) { return x == 5 ? 120 : x == 9 ? 230 : 0; });
    const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);

    stereo::MakeSecondView(bench.context);

    PixelGrid expected = picture;
    expected(4, 0) = picture(5, 0);
    expected(6, 0) = picture(9, 0);
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picResult), expected));
}

TEST(MakeSecondView, TinyPicturesMoveNothing) {
    for (const int width : {1, 2, 3}) {
        StageBench bench;
        LoadViews(bench, width, 1, [](int, int) { return 230; });
        const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);
        stereo::MakeSecondView(bench.context);
        EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picResult), picture)) << "width " << width;
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

TEST(MakeSecondView, PollsOncePerRowOfEachPass) {
    StageBench bench;
    LoadViews(bench, 6, 4, [](int, int) { return 0; });
    stereo::MakeSecondView(bench.context);
    EXPECT_EQ(bench.host.yields, 12);
    ASSERT_EQ(bench.host.band_widths.size(), 12u);
    EXPECT_FLOAT_EQ(bench.host.band_widths.back(), 1.0f + 12 * 2.0f);
    EXPECT_FLOAT_EQ(bench.globals.glbBandWidth, 25.0f);
}

// Cancelling in yield n stops the pass at its next row end, before the grid is
// written; only a cancel in the very last yield comes too late for this stage.
TEST(MakeSecondView, CancelAtEveryRowLeavesTheResultAlone) {
    constexpr int kWidth = 7;
    constexpr int kHeight = 3;
    constexpr int kYields = 3 * kHeight;
    for (int n = 1; n <= kYields; ++n) {
        StageBench bench;
        LoadViews(bench, kWidth, kHeight, [](int x, int) { return 100 + 30 * (x % 5); });
        LoadSurface(bench.surfaces.picResult, kWidth, kHeight, [](int, int) { return Grey(77); });
        const auto before = stereo_testing::ImageBytes(bench.surfaces.picResult);
        bench.CancelAtYield(n);

        stereo::MakeSecondView(bench.context);

        if (n < kYields) {
            EXPECT_EQ(stereo_testing::ImageBytes(bench.surfaces.picResult), before)
                << "yield " << n;
            EXPECT_EQ(bench.host.yields, n);
            EXPECT_EQ(bench.host.band_widths.size(), static_cast<std::size_t>(n + 1));
        } else {
            EXPECT_NE(stereo_testing::ImageBytes(bench.surfaces.picResult), before);
        }
    }
}

TEST(MakeSecondView, RunAlreadyCancelledStopsAfterOneRow) {
    StageBench bench;
    LoadViews(bench, 5, 4, [](int, int) { return 127; });
    LoadSurface(bench.surfaces.picResult, 5, 4, [](int, int) { return Grey(77); });
    const auto before = stereo_testing::ImageBytes(bench.surfaces.picResult);
    bench.globals.glbBusy = 0;

    stereo::MakeSecondView(bench.context);

    EXPECT_EQ(stereo_testing::ImageBytes(bench.surfaces.picResult), before);
    EXPECT_EQ(bench.host.yields, 0);
    EXPECT_EQ(bench.host.band_widths.size(), 1u);
}

// The depth stages leave raw field values on 15- and 16-bit displays, so the levels
// there are set in field units. The expectation is built cell by cell from the grids
// the stage itself reads.
TEST(MakeSecondView, EveryDisplayFormat) {
    for (const int depth_bits : stereo_testing::kDisplayDepths) {
        StageBench bench(depth_bits);
        if (depth_bits == 15 || depth_bits == 16) bench.globals.Depth = {6, 12, 18, 25, 31};
        LoadViews(bench, 11, 4, [](int x, int y) { return ((x * 3 + y) % 9) * 30; });
        const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);
        const PixelGrid depth = ReadGrid(bench.surfaces.picDepth);
        const std::array<int, 6> bounds = {0,
                                           bench.globals.Depth[0],
                                           bench.globals.Depth[1],
                                           bench.globals.Depth[2],
                                           bench.globals.Depth[3],
                                           255};

        stereo::MakeSecondView(bench.context);

        PixelGrid expected = picture;
        for (int shift = 1; shift <= 3; ++shift) {
            const int low = bounds[static_cast<std::size_t>(shift + 1)];
            const int high = bounds[static_cast<std::size_t>(shift + 2)];
            for (int y = 0; y < picture.Height(); ++y)
                for (int x = shift + 1; x < picture.Width(); ++x)
                    if (low < depth(x, y).Blue && depth(x, y).Blue < high)
                        expected(x - shift, y) = picture(x, y);
        }
        EXPECT_FALSE(expected == picture) << depth_bits << " bits: the map should move pixels";
        EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picResult), expected))
            << depth_bits << " bits";
    }
}

}  // namespace
