#include "stereo/frame.h"

#include <gtest/gtest.h>

#include "tests/stereo/stage_bench.h"

namespace {

using core::PixelGrid;
using stereo_testing::CellColor;
using stereo_testing::SameGrid;
using stereo_testing::StageBench;
using stereo_testing::Triple;
using testing_support::LoadSurface;
using testing_support::ReadGrid;

struct FrameCase {
    int width;
    int height;
    std::int16_t shift;
    std::int16_t frame_type;
    const char* what;
};

// The bands as the frame's description states them, for w >= 1: left columns
// 0..w-1, right columns W-w+1..W-1, and in "Full" mode top rows 0..w-1 and bottom
// rows H-w+1..H-1.
bool Painted(const FrameCase& c, int x, int y) {
    const long w = c.shift < 0 ? -static_cast<long>(c.shift) : c.shift;
    if (w == 0) return false;
    const bool sides = x <= w - 1 || x >= c.width - w + 1;
    const bool ends = y <= w - 1 || y >= c.height - w + 1;
    return sides || (c.frame_type != 0 && ends);
}

class FrameBands : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameBands, PaintsExactlyTheBands) {
    const FrameCase c = GetParam();
    for (const std::int16_t color : {std::int16_t{0}, std::int16_t{1}, std::int16_t{2}}) {
        StageBench bench;
        bench.globals.glbShift = c.shift;
        bench.settings.FrameType = c.frame_type;
        bench.settings.FrameColor = color;
        LoadSurface(bench.surfaces.picOriginal, c.width, c.height, CellColor);
        const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);

        stereo::DrawFrame(bench.context, bench.surfaces.picOriginal);

        const int value = color == 1 ? 255 : 0;
        PixelGrid expected = picture;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                if (Painted(c, x, y)) expected(x, y) = Triple(value, value, value);
        EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picOriginal), expected))
            << c.what << ", FrameColor " << color;
        EXPECT_TRUE(stereo_testing::PictureIsImage(bench.surfaces.picOriginal));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bands, FrameBands,
    ::testing::Values(FrameCase{100, 80, 6, 0, "100x80 sides: columns 0-5 and 95-99"},
                      FrameCase{100, 80, 6, 1, "100x80 full: also rows 0-5 and 75-79"},
                      FrameCase{100, 80, -6, 0, "negative shift, sides"},
                      FrameCase{100, 80, -6, 1, "negative shift, full"},
                      FrameCase{100, 80, 6, 7, "any non-zero type is full"},
                      FrameCase{100, 10, 50, 0, "w = 50 leaves column 50"},
                      FrameCase{100, 10, 51, 0, "w = 51 covers every column"},
                      FrameCase{9, 7, 2, 1, "odd sides"}, FrameCase{1, 1, 1, 0, "1x1, w = 1"},
                      FrameCase{1, 1, 6, 0, "1x1, w wider than the picture"},
                      FrameCase{5, 4, -32768, 1, "shift -32768: w = 32768"},
                      FrameCase{5, 4, 32767, 0, "shift 32767"},
                      FrameCase{12, 6, 0, 1, "shift 0 paints nothing"}));

TEST(DrawFrame, ColumnsOfTheWorkedExample) {
    StageBench bench;
    LoadSurface(bench.surfaces.picOriginal, 100, 80, CellColor);
    bench.settings.FrameColor = 1;
    stereo::DrawFrame(bench.context, bench.surfaces.picOriginal);
    const PixelGrid framed = ReadGrid(bench.surfaces.picOriginal);
    const core::PixelTriple white = Triple(255, 255, 255);
    for (int y = 0; y < 80; ++y) {
        EXPECT_EQ(framed(5, y), white);
        EXPECT_NE(framed(6, y), white);
        EXPECT_NE(framed(94, y), white);
        EXPECT_EQ(framed(95, y), white);
        EXPECT_EQ(framed(99, y), white);
    }
}

TEST(DrawFrame, ZeroWidthStillWritesAndAssigns) {
    StageBench bench;
    bench.globals.glbShift = 0;
    LoadSurface(bench.surfaces.picOriginal, 6, 4, CellColor);
    // Draw on the image only, so that image and picture differ before the call.
    bench.surfaces.picOriginal.PSet(2, 2, platform::RGB(1, 2, 3));
    ASSERT_FALSE(stereo_testing::PictureIsImage(bench.surfaces.picOriginal));
    const auto before = stereo_testing::ImageBytes(bench.surfaces.picOriginal);
    const std::int64_t refreshes = bench.surfaces.picOriginal.RefreshCount();

    stereo::DrawFrame(bench.context, bench.surfaces.picOriginal);

    EXPECT_EQ(stereo_testing::ImageBytes(bench.surfaces.picOriginal), before);
    EXPECT_GT(bench.surfaces.picOriginal.RefreshCount(), refreshes);
    EXPECT_TRUE(stereo_testing::PictureIsImage(bench.surfaces.picOriginal));
}

TEST(DrawFrame, YieldsPerRowAndRunsThroughACancel) {
    StageBench bench;
    LoadSurface(bench.surfaces.picOriginal, 10, 7, CellColor);
    bench.settings.FrameColor = 1;
    bench.CancelAtYield(1);

    stereo::DrawFrame(bench.context, bench.surfaces.picOriginal);

    EXPECT_EQ(bench.host.yields, 7);
    EXPECT_TRUE(bench.host.band_widths.empty());
    EXPECT_EQ(ReadGrid(bench.surfaces.picOriginal)(9, 6), Triple(255, 255, 255));
}

TEST(DrawFrame, EmptySurfaceIsHarmless) {
    StageBench bench;
    stereo::DrawFrame(bench.context, bench.surfaces.picOriginal);
    EXPECT_EQ(bench.host.yields, 0);
    EXPECT_TRUE(bench.surfaces.picOriginal.HasPicture());
}

// White is stored as 255 in every channel and clamped by the bridge to the field
// maximum on 15- and 16-bit displays, so it shows white on every display.
TEST(DrawFrame, EveryDisplayFormat) {
    for (const int depth_bits : stereo_testing::kDisplayDepths) {
        for (const std::int16_t color : {std::int16_t{0}, std::int16_t{1}}) {
            StageBench bench(depth_bits);
            bench.settings.FrameColor = color;
            bench.settings.FrameType = 1;
            bench.globals.glbShift = 2;
            LoadSurface(bench.surfaces.picOriginal, 9, 6, CellColor);
            const auto before = testing_support::SurfaceColors(bench.surfaces.picOriginal);

            stereo::DrawFrame(bench.context, bench.surfaces.picOriginal);

            const auto after = testing_support::SurfaceColors(bench.surfaces.picOriginal);
            const platform::Rgb paint = color == 1 ? platform::RGB(255, 255, 255) : 0;
            const FrameCase c{9, 6, 2, 1, ""};
            for (int y = 0; y < 6; ++y)
                for (int x = 0; x < 9; ++x) {
                    const std::size_t i = static_cast<std::size_t>(y * 9 + x);
                    EXPECT_EQ(after[i], Painted(c, x, y) ? paint : before[i])
                        << depth_bits << " bits, (" << x << ", " << y << ")";
                }
        }
    }
}

}  // namespace
