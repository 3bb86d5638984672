#include "stereo/added_depth_shift.h"

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

struct ShiftCase {
    int width;
    std::int16_t s;
    int first;         // first result column that shows a source column
    int last;          // last such column; first > last: nothing moves
    int source_first;  // the source column shown at `first`
};

class ShiftEdges : public ::testing::TestWithParam<ShiftCase> {};

TEST_P(ShiftEdges, ShowsTheSourceBetweenTheEdgeColumns) {
    const ShiftCase c = GetParam();
    constexpr int kHeight = 3;
    StageBench bench;
    LoadSurface(bench.surfaces.PicBlue, c.width, kHeight, CellColor);
    const PixelGrid source = ReadGrid(bench.surfaces.PicBlue);
    std::int16_t s = c.s;

    stereo::ShiftPicture(bench.context, bench.surfaces.PicBlue, bench.surfaces.PicBlue, s);

    PixelGrid expected = source;
    for (int y = 0; y < kHeight; ++y)
        for (int x = c.first; x <= c.last; ++x)
            expected(x, y) = source(c.source_first + x - c.first, y);
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.PicBlue), expected))
        << "width " << c.width << ", s " << c.s;
    EXPECT_TRUE(stereo_testing::PictureIsImage(bench.surfaces.PicBlue));
}

INSTANTIATE_TEST_SUITE_P(
    Shifts, ShiftEdges,
    ::testing::Values(ShiftCase{100, 6, 6, 98, 0}, ShiftCase{100, -6, 1, 93, 7},
                      ShiftCase{100, 0, 1, 98, 1}, ShiftCase{100, 120, 1, 0, 0},
                      ShiftCase{100, -120, 1, 0, 0}, ShiftCase{100, 99, 1, 0, 0},
                      ShiftCase{100, -99, 1, 0, 0}, ShiftCase{100, 98, 98, 98, 0},
                      ShiftCase{100, -98, 1, 1, 99}, ShiftCase{100, 32767, 1, 0, 0},
                      ShiftCase{100, -32768, 1, 0, 0}, ShiftCase{7, 2, 2, 5, 0},
                      ShiftCase{7, -2, 1, 4, 3}, ShiftCase{1, 0, 1, 0, 0}, ShiftCase{2, 1, 1, 0, 0},
                      ShiftCase{3, 1, 1, 1, 0}));

TEST(ShiftPicture, WritesTheDestinationAndLeavesTheSource) {
    StageBench bench;
    LoadSurface(bench.surfaces.PicRed, 9, 2, CellColor);
    LoadSurface(bench.surfaces.PicBlue, 9, 2, [](int, int) { return Grey(90); });
    const PixelGrid source = ReadGrid(bench.surfaces.PicRed);
    std::int16_t s = 3;

    stereo::ShiftPicture(bench.context, bench.surfaces.PicRed, bench.surfaces.PicBlue, s);

    PixelGrid expected = source;  // B starts as a copy of the source, not of the destination
    for (int y = 0; y < 2; ++y)
        for (int x = 3; x <= 7; ++x) expected(x, y) = source(x - 3, y);
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.PicBlue), expected));
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.PicRed), source));
    EXPECT_EQ(s, 3);
}

TEST(ShiftPicture, YieldsOncePerRowAndIgnoresTheRunFlag) {
    StageBench bench;
    LoadSurface(bench.surfaces.PicBlue, 8, 5, CellColor);
    const PixelGrid source = ReadGrid(bench.surfaces.PicBlue);
    bench.CancelAtYield(1);
    std::int16_t s = 2;

    stereo::ShiftPicture(bench.context, bench.surfaces.PicBlue, bench.surfaces.PicBlue, s);

    EXPECT_EQ(bench.host.yields, 5);
    EXPECT_TRUE(bench.host.band_widths.empty());
    EXPECT_EQ(bench.globals.glbBandWidth, 1.0f);
    EXPECT_EQ(ReadGrid(bench.surfaces.PicBlue)(2, 4), source(0, 4));
}

// The shift is a reference to the process-wide value, which the warp and depth
// dialog may move during a yield; later rows follow the new value.
TEST(ShiftPicture, ReadsTheShiftAfreshForEveryRow) {
    StageBench bench;
    LoadSurface(bench.surfaces.PicBlue, 8, 3, CellColor);
    const PixelGrid source = ReadGrid(bench.surfaces.PicBlue);
    std::int16_t s = 2;
    bench.host.on_yield = [&](int yield) {
        if (yield == 1) s = 0;
    };

    stereo::ShiftPicture(bench.context, bench.surfaces.PicBlue, bench.surfaces.PicBlue, s);

    PixelGrid expected = source;
    for (int x = 2; x <= 6; ++x) expected(x, 0) = source(x - 2, 0);
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.PicBlue), expected));
}

TEST(ShiftPicture, EveryDisplayFormat) {
    for (const int depth_bits : stereo_testing::kDisplayDepths) {
        StageBench bench(depth_bits);
        LoadSurface(bench.surfaces.PicBlue, 13, 3, CellColor);
        const PixelGrid source = ReadGrid(bench.surfaces.PicBlue);
        std::int16_t s = -4;

        stereo::ShiftPicture(bench.context, bench.surfaces.PicBlue, bench.surfaces.PicBlue, s);

        PixelGrid expected = source;
        for (int y = 0; y < 3; ++y)
            for (int x = 1; x <= 8; ++x) expected(x, y) = source(x + 4, y);
        EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.PicBlue), expected)) << depth_bits << " bits";
    }
}

}  // namespace
