// The warp against drawing it streak by streak, and exact columns.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "depth/warp_depth_map.h"
#include "platform/color.h"
#include "tests/support/stage_rig.h"

namespace depth_tests {
namespace {

using testing_support::Grey;
using testing_support::MakePicture;

// The warp as the old program drew it: one Point and one Line per pixel, rows top
// down, columns left to right. Kept here only, to hold the fast warp to it.
void DrawStreaksOneByOne(platform::PictureSurface& surface, int w) {
    const int rows = surface.ScaleHeight();
    for (int y = 0; y < rows; ++y) {
        const int columns = surface.ScaleWidth();
        for (int x = 0; x < columns; ++x) {
            const platform::Rgb c = surface.Point(x, y);
            if (c <= -1) continue;
            const int blue = c / 65536;
            const int green = (c - 65536 * blue) / 256;
            const int red = c - 65536 * blue - 256 * green;
            auto grey = static_cast<std::int16_t>(red + green + blue);
            grey = static_cast<std::int16_t>(std::nearbyint(grey / 3.0));
            surface.SetForeColor(platform::RGB(red, green, blue));
            if (w == 0) continue;  // the division by zero fails and the line is skipped
            surface.Line(x, static_cast<float>(y),
                         static_cast<float>(y - static_cast<double>(grey) / w));
        }
        surface.Refresh();
    }
    surface.Refresh();
    surface.AssignImageToPicture();
    surface.Refresh();
}

// Both ways on two surfaces holding the same image; everything must agree.
void ExpectSameAsOneByOne(const platform::Display& display, const platform::Bitmap& image, int w) {
    platform::PictureSurface fast(display);
    platform::PictureSurface slow(display);
    fast.ReplaceImage(image);
    slow.ReplaceImage(image);
    fast.MutableImage().MutableBits();  // unshare, so that the two draw apart
    StageRig rig(display.Depth());
    rig.globals.glbWarp = static_cast<std::int16_t>(w);
    depth::WarpDepthMap(rig.context, fast);
    DrawStreaksOneByOne(slow, w);
    ASSERT_EQ(ImageBytes(fast), ImageBytes(slow));
    EXPECT_EQ(fast.ForeColor(), slow.ForeColor());
    EXPECT_EQ(fast.RefreshCount(), slow.RefreshCount());
    EXPECT_TRUE(fast.HasPicture() && fast.GetPicture()->bitmap.SharesBitsWith(fast.Image()));
}

// On random maps in every display format, both as raw bytes (every pixel value the
// format can hold, palette duplicates, a set fourth byte at 32 bits and bit 15 at 15
// bits included) and as a few levels, often repeated, mostly dark, so that streaks
// overlap in every way and bright pixels draw over long runs. Far down a tall picture
// the single-precision end ordinate has few fraction bits. A picture in another format
// than the display's reads as no colour at all: it is only repainted.
TEST(WarpAgainstOneByOneTest, EveryWarpOnRandomMapsOfEveryDisplay) {
    const int warps[] = {1, 2, 3, 24, 255, 256, 32767, 0, -1, -3, -255, -32768};
    const platform::Rgb levels[] = {
        Grey(0), Grey(0), Grey(0), Grey(40), Grey(128), Grey(255), platform::RGB(250, 20, 200),
        Grey(3)};
    for (const int bits : kDisplayDepths) {
        const platform::Display display(bits);
        std::mt19937 random(static_cast<unsigned>(bits));
        const auto random_bytes = [&](int width, int height) {
            platform::Bitmap image(width, height, display.HeaderBitsPixel());
            for (std::uint8_t& b : image.MutableBits()) b = static_cast<std::uint8_t>(random());
            return image;
        };
        const auto few_levels = [&](int, int) { return levels[random() % 8]; };
        for (const int w : warps) {
            SCOPED_TRACE(testing::Message() << bits << " bits, w " << w);
            ExpectSameAsOneByOne(display, random_bytes(1, 1), w);
            ExpectSameAsOneByOne(display, random_bytes(13, 41), w);
            ExpectSameAsOneByOne(display, MakePicture(display, 13, 41, few_levels).bitmap, w);
        }
        for (const int w : {3, 511, -7}) ExpectSameAsOneByOne(display, random_bytes(2, 32767), w);
        platform::Bitmap foreign(4, 3, bits == 8 ? 32 : 8);
        for (std::uint8_t& b : foreign.MutableBits()) b = 200;
        ExpectSameAsOneByOne(display, foreign, 1);
    }
}

}  // namespace
}  // namespace depth_tests
