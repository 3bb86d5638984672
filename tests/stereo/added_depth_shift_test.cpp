#include "stereo/added_depth_shift.h"

#include <gtest/gtest.h>

#include "tests/stereo/stage_bench.h"

namespace {

using core::PixelGrid;
using stereo_testing::CellColor;
using stereo_testing::SameGrid;
using stereo_testing::StageBench;
using testing_support::LoadSurface;
using testing_support::ReadGrid;

// The source with columns first..last showing source columns from source_first on.
PixelGrid Shifted(const PixelGrid& source, int first, int last, int source_first) {
    PixelGrid expected = source;
    for (int y = 0; y < source.Height(); ++y)
        for (int x = first; x <= last; ++x) expected(x, y) = source(source_first + x - first, y);
    return expected;
}

TEST(ShiftPicture, ShowsTheSourceBetweenTheEdgeColumnsOnEveryDisplay) {
    const struct {
        int width;
        std::int16_t s;
        int first, last, source_first;  // first > last: nothing moves
    } cases[] = {{100, 6, 6, 98, 0},    {100, -6, 1, 93, 7},    {100, 0, 1, 98, 1},
                 {100, 120, 1, 0, 0},   {100, -120, 1, 0, 0},   {100, 99, 1, 0, 0},
                 {100, -99, 1, 0, 0},   {100, 98, 98, 98, 0},   {100, -98, 1, 1, 99},
                 {100, 32767, 1, 0, 0}, {100, -32768, 1, 0, 0}, {7, 2, 2, 5, 0},
                 {7, -2, 1, 4, 3},      {1, 0, 1, 0, 0},        {2, 1, 1, 0, 0},
                 {3, 1, 1, 1, 0},       {13, -4, 1, 8, 5}};
    for (const int bits : stereo_testing::kDisplayDepths)
        for (const auto& c : cases) {
            StageBench bench(bits);
            LoadSurface(bench.surfaces.PicBlue, c.width, 3, CellColor);
            const PixelGrid source = ReadGrid(bench.surfaces.PicBlue);
            std::int16_t s = c.s;
            stereo::ShiftPicture(bench.context, bench.surfaces.PicBlue, bench.surfaces.PicBlue, s);
            EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.PicBlue),
                                 Shifted(source, c.first, c.last, c.source_first)))
                << bits << " bits, width " << c.width << ", s " << c.s;
            EXPECT_TRUE(stereo_testing::PictureIsImage(bench.surfaces.PicBlue));
        }
}

TEST(ShiftPicture, WritesTheDestinationAndLeavesTheSource) {
    StageBench bench;
    LoadSurface(bench.surfaces.PicRed, 9, 2, CellColor);
    LoadSurface(bench.surfaces.PicBlue, 9, 2, [](int, int) { return testing_support::Grey(90); });
    const PixelGrid source = ReadGrid(bench.surfaces.PicRed);
    std::int16_t s = 3;
    stereo::ShiftPicture(bench.context, bench.surfaces.PicRed, bench.surfaces.PicBlue, s);
    // the destination starts as a copy of the source, not of what it held
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.PicBlue), Shifted(source, 3, 7, 0)));
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.PicRed), source));
    EXPECT_EQ(s, 3);
}

// The shift yields once a row but neither polls nor moves the band, so a cancel does
// not stop it. It holds a reference to the process-wide value, which the warp and
// depth dialog may move during a yield: later rows follow the new value.
TEST(ShiftPicture, ReadsTheShiftAfreshForEveryRowAndRunsThroughACancel) {
    StageBench bench;
    LoadSurface(bench.surfaces.PicBlue, 8, 3, CellColor);
    const PixelGrid source = ReadGrid(bench.surfaces.PicBlue);
    std::int16_t s = 2;
    bench.host.on_yield = [&](int yield) {
        if (yield == 1) s = 0;
        bench.globals.glbBusy = 0;
    };
    stereo::ShiftPicture(bench.context, bench.surfaces.PicBlue, bench.surfaces.PicBlue, s);
    PixelGrid expected = source;
    for (int x = 2; x <= 6; ++x) expected(x, 0) = source(x - 2, 0);
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.PicBlue), expected));
    EXPECT_EQ(bench.host.yields, 3);
    EXPECT_TRUE(bench.host.band_widths.empty());
    EXPECT_EQ(bench.globals.glbBandWidth, 1.0f);
}

}  // namespace
