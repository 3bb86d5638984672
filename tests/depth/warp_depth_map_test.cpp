#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "depth/warp_depth_map.h"
#include "platform/color.h"
#include "tests/support/stage_rig.h"

namespace depth_tests {
namespace {

using testing_support::Grey;
using testing_support::SurfaceColors;

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
    ASSERT_TRUE(fast.HasPicture());
    EXPECT_TRUE(fast.GetPicture()->bitmap.SharesBitsWith(fast.Image()));
    EXPECT_EQ(rig.host.yields, 0);
    EXPECT_TRUE(rig.host.band_widths.empty());
}

// Raw bytes: every pixel value the format can hold, palette duplicates, a set fourth
// byte at 32 bits and bit 15 at 15 bits included.
platform::Bitmap RandomBytes(const platform::Display& display, int width, int height,
                             std::mt19937& random) {
    platform::Bitmap image(width, height, display.HeaderBitsPixel());
    for (std::uint8_t& b : image.MutableBits()) b = static_cast<std::uint8_t>(random());
    return image;
}

// A few levels, often repeated, so that streaks overlap in every way; mostly dark, so
// that bright pixels draw over long runs.
platform::Bitmap FewLevels(const platform::Display& display, int width, int height,
                           std::mt19937& random) {
    const platform::Rgb levels[] = {
        Grey(0), Grey(0), Grey(0), Grey(40), Grey(128), Grey(255), platform::RGB(250, 20, 200),
        Grey(3)};
    return testing_support::MakePicture(display, width, height,
                                        [&](int, int) { return levels[random() % 8]; })
        .bitmap;
}

TEST(WarpAgainstOneByOneTest, EveryWarpOnRandomMapsOfEveryDisplay) {
    const int warps[] = {1, 2, 3, 24, 100, 255, 256, 1000, 32767, 0, -1, -3, -24, -255, -32768};
    for (const int bits : kDisplayDepths) {
        const platform::Display display(bits);
        std::mt19937 random(static_cast<unsigned>(bits));
        for (const auto& [width, height] : {std::pair{1, 1}, {13, 41}, {10, 1}})
            for (const int w : warps) {
                SCOPED_TRACE(testing::Message()
                             << bits << " bits, " << width << "x" << height << ", w " << w);
                ExpectSameAsOneByOne(display, RandomBytes(display, width, height, random), w);
                ExpectSameAsOneByOne(display, FewLevels(display, width, height, random), w);
            }
        // Far down a tall picture the single-precision end ordinate has few fraction bits.
        for (const int w : {2, 3, 7, 511, -2, -7}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, tall, w " << w);
            ExpectSameAsOneByOne(display, RandomBytes(display, 2, 32767, random), w);
        }
    }
}

// A picture in another format than the display's reads as no colour at all: it is
// only repainted.
TEST(WarpAgainstOneByOneTest, ForeignFormatIsOnlyRepainted) {
    const platform::Display display(32);
    platform::Bitmap foreign(4, 3, 8);
    for (std::uint8_t& b : foreign.MutableBits()) b = 200;
    ExpectSameAsOneByOne(display, foreign, 1);
}

TEST(WarpDepthMapTest, DrawsTheColumn) {
    const struct {
        int w;
        std::vector<int> before;  // one column, top down
        std::vector<int> after;
    } cases[] = {
        // 255 / 100 = 2.55: the end 4.45 rounds to row 4, left out
        {100, {0, 0, 0, 0, 0, 0, 0, 255, 0}, {0, 0, 0, 0, 0, 255, 255, 255, 0}},
        {1, {0, 0, 255, 0}, {255, 255, 255, 0}},  // clipped at the top
        // the lower streak is drawn later and covers the upper pixel (255 / 50 = 5.1)
        {50, {0, 0, 90, 0, 255}, {255, 255, 255, 255, 255}},
        // 200 / 50 = 4 reaches row -2; 90 / 50 = 1.8 ends at 2.2, row 2 left out
        {50, {0, 0, 200, 0, 90}, {200, 200, 200, 90, 90}},
        // a short streak from below leaves the earlier, longer one showing above it
        {30, {0, 0, 0, 0, 0, 240, 60}, {240, 240, 240, 240, 240, 60, 60}},
        // downward, a pixel reads the streak drawn over it and draws on in its colour
        {-100, {255, 0, 0, 0, 0, 0, 0}, {255, 255, 255, 255, 255, 255, 255}},
        {0, {0, 255, 9}, {0, 255, 9}},  // no lines at all
    };
    for (const auto& c : cases) {
        StageRig rig;
        rig.globals.glbWarp = static_cast<std::int16_t>(c.w);
        Values rows;
        for (int g : c.before) rows.push_back({g});
        LoadGreys(rig.surfaces.picDepth, rows);
        DepthStages().warp(rig.context);
        std::vector<platform::Rgb> expected;
        for (int g : c.after) expected.push_back(Grey(g));
        EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), expected) << "case " << &c - cases;
    }
}

}  // namespace
}  // namespace depth_tests
