#include "stereo/frame.h"

#include <gtest/gtest.h>

#include "tests/stereo/stage_bench.h"

namespace {

using stereo_testing::CellColor;
using stereo_testing::ImageBytes;
using stereo_testing::PictureIsImage;
using stereo_testing::StageBench;
using testing_support::LoadSurface;
using testing_support::SurfaceColors;

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

// White is stored as 255 in every channel and clamped by the bridge to the field
// maximum on 15- and 16-bit displays, so it shows white on every display; any
// FrameColor but 1 is black.
TEST(DrawFrame, PaintsExactlyTheBandsOnEveryDisplay) {
    const FrameCase cases[] = {{100, 80, 6, 0, "100x80 sides: columns 0-5 and 95-99"},
                               {100, 80, -6, 1, "negative shift, full: also rows 0-5, 75-79"},
                               {100, 80, 6, 7, "any non-zero type is full"},
                               {100, 10, 50, 0, "w = 50 leaves column 50"},
                               {100, 10, 51, 0, "w = 51 covers every column"},
                               {9, 7, 2, 1, "odd sides"},
                               {1, 1, 1, 0, "1x1, w = 1"},
                               {1, 1, 6, 0, "1x1, w wider than the picture"},
                               {5, 4, -32768, 1, "shift -32768: w = 32768"},
                               {5, 4, 32767, 0, "shift 32767"},
                               {12, 6, 0, 1, "shift 0 paints nothing"}};
    for (const int bits : stereo_testing::kDisplayDepths)
        for (const FrameCase& c : cases)
            for (const std::int16_t color : {0, 1, 2}) {
                StageBench bench(bits);
                bench.globals.glbShift = c.shift;
                bench.settings.FrameType = c.frame_type;
                bench.settings.FrameColor = color;
                LoadSurface(bench.surfaces.picOriginal, c.width, c.height, CellColor);
                const auto before = SurfaceColors(bench.surfaces.picOriginal);

                stereo::DrawFrame(bench.context, bench.surfaces.picOriginal);

                const auto after = SurfaceColors(bench.surfaces.picOriginal);
                const platform::Rgb paint = color == 1 ? platform::RGB(255, 255, 255) : 0;
                for (int y = 0; y < c.height; ++y)
                    for (int x = 0; x < c.width; ++x) {
                        const auto i = static_cast<std::size_t>(y * c.width + x);
                        ASSERT_EQ(after[i], Painted(c, x, y) ? paint : before[i])
                            << bits << " bits, " << c.what << ", FrameColor " << color << ", (" << x
                            << ", " << y << ")";
                    }
                EXPECT_TRUE(PictureIsImage(bench.surfaces.picOriginal));
            }
}

TEST(DrawFrame, ZeroWidthStillWritesAndAssigns) {
    StageBench bench;
    bench.globals.glbShift = 0;
    LoadSurface(bench.surfaces.picOriginal, 6, 4, CellColor);
    // Draw on the image only, so that image and picture differ before the call.
    bench.surfaces.picOriginal.PSet(2, 2, platform::RGB(1, 2, 3));
    ASSERT_FALSE(PictureIsImage(bench.surfaces.picOriginal));
    const auto before = ImageBytes(bench.surfaces.picOriginal);
    const std::int64_t refreshes = bench.surfaces.picOriginal.RefreshCount();
    stereo::DrawFrame(bench.context, bench.surfaces.picOriginal);
    EXPECT_EQ(ImageBytes(bench.surfaces.picOriginal), before);
    EXPECT_GT(bench.surfaces.picOriginal.RefreshCount(), refreshes);
    EXPECT_TRUE(PictureIsImage(bench.surfaces.picOriginal));
}

TEST(DrawFrame, YieldsPerRowAndRunsThroughACancel) {
    StageBench bench;
    LoadSurface(bench.surfaces.picOriginal, 10, 7, CellColor);
    bench.settings.FrameColor = 1;
    bench.CancelAtYield(1);
    stereo::DrawFrame(bench.context, bench.surfaces.picOriginal);
    EXPECT_EQ(bench.host.yields, 7);
    EXPECT_TRUE(bench.host.band_widths.empty());
    EXPECT_EQ(bench.surfaces.picOriginal.Point(9, 6), platform::RGB(255, 255, 255));
}

TEST(DrawFrame, EmptySurfaceIsHarmless) {
    StageBench bench;
    stereo::DrawFrame(bench.context, bench.surfaces.picOriginal);
    EXPECT_EQ(bench.host.yields, 0);
    EXPECT_TRUE(bench.surfaces.picOriginal.HasPicture());
}

}  // namespace
