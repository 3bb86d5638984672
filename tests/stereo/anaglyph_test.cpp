// The anaglyph's parts and their join: the channel masks, the "Added Depth" shift,
// the OR paint, the palette display's join, the composition of them all and the
// frame, each against its rule in every display format.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <random>
#include <vector>

#include "core/ddb_helper.h"
#include "stereo/added_depth_shift.h"
#include "stereo/anaglyph_composition.h"
#include "stereo/channel_masks.h"
#include "stereo/frame.h"
#include "stereo/paint_picture.h"
#include "stereo/palette_join.h"
#include "tests/stereo/stereo_pictures.h"

namespace {

using core::PixelGrid;
using core::PixelTriple;
using depth_tests::ImageBytes;
using depth_tests::kDisplayDepths;
using stereo_testing::CellColor;
using stereo_testing::Cells;
using stereo_testing::StageRig;
using testing_support::Grey;
using testing_support::LoadSurface;
using testing_support::ReadGrid;
using testing_support::SurfaceColors;

// 99 c / 100 with halves rounded up, in integers: an independent statement of the rule.
std::uint8_t NinetyNinePercent(int c) {
    return static_cast<std::uint8_t>((99 * c + 50) / 100);
}

PixelTriple RedOnly(PixelTriple p) {
    return {0, 0, NinetyNinePercent(p.Red)};
}
PixelTriple CyanOnly(PixelTriple p) {
    return {NinetyNinePercent(p.Blue), NinetyNinePercent(p.Green), 0};
}

// How the display shows `grid` written through the bridge onto a picture with the
// display's palette.
std::vector<platform::Rgb> Shown(StageRig& rig, PixelGrid grid) {
    platform::PictureSurface written(rig.display);
    LoadSurface(written, grid.Width(), grid.Height(), CellColor);
    DDBHelper::SetBitmapPixels(written, static_cast<std::int16_t>(rig.display.Depth()), grid);
    return SurfaceColors(written);
}

// The colour join's table (DimChannel) and the masks' lanes (DimByte, checked through
// every byte at width 163 below) must agree on every byte.
TEST(ChannelMasks, EveryByteDimsToNinetyNinePercent) {
    EXPECT_EQ(NinetyNinePercent(150), 149);  // a half, rounded up
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(stereo::DimChannel(static_cast<std::uint8_t>(c)), NinetyNinePercent(c)) << c;
}

// Every pixel x moves to x + s where 0 < x + s < W - 1, each from the unshifted row;
// the other columns keep their own pixels. Shifts past either edge move nothing.
TEST(ShiftPicture, MovesBetweenTheEdgeColumnsOnEveryDisplay) {
    for (const int bits : kDisplayDepths)
        for (const int width : {1, 2, 3, 9})
            for (const std::int16_t shift : {-32768, -9, -8, -7, -2, 0, 1, 2, 7, 8, 32767}) {
                StageRig rig(bits);
                LoadSurface(rig.surfaces.PicBlue, width, 3, CellColor);
                const PixelGrid source = ReadGrid(rig.surfaces.PicBlue);
                PixelGrid expected = source;
                for (int y = 0; y < 3; ++y)
                    for (int x = 0; x < width; ++x)
                        if (x + shift > 0 && x + shift < width - 1)
                            expected(x + shift, y) = source(x, y);
                std::int16_t s = shift;
                stereo::ShiftPicture(rig.context, rig.surfaces.PicBlue, rig.surfaces.PicBlue, s);
                EXPECT_EQ(Cells(ReadGrid(rig.surfaces.PicBlue)), Cells(expected))
                    << bits << " bits, width " << width << ", shift " << shift;
            }
}

// Expected destination: the OR over the overlapping pixels' bytes, padding and
// everything outside the overlap as before.
std::vector<std::uint8_t> OrOverlap(const platform::Bitmap& source,
                                    const platform::Bitmap& destination) {
    const auto in = source.Bits();
    std::vector<std::uint8_t> out(destination.Bits().begin(), destination.Bits().end());
    const int bytes_per_pixel = (source.BitsPixel() + 7) / 8;
    for (int y = 0; y < std::min(source.Height(), destination.Height()); ++y)
        for (int i = 0; i < std::min(source.Width(), destination.Width()) * bytes_per_pixel; ++i)
            out[static_cast<std::size_t>(y * destination.WidthBytes() + i)] |=
                in[static_cast<std::size_t>(y * source.WidthBytes() + i)];
    return out;
}

// Bit for bit in the display's own format: palette indices at 8 bits, bits within
// every field at 15 and 16, the fourth byte at 32; clipped to the overlap, as the
// composition's masks of equal size do not show. An image of another format is not
// painted.
TEST(PaintPictureOr, OrsTheOverlapInEveryDisplayFormat) {
    const std::array<int, 4> sizes[] = {{7, 4, 5, 3}, {3, 2, 5, 3}, {0, 0, 4, 2}};
    std::mt19937 random(17);
    for (const int bits : kDisplayDepths)
        for (const auto& size : sizes) {
            SCOPED_TRACE(testing::Message() << bits << " bits, from " << size[0] << "x" << size[1]);
            const platform::Display display(bits);
            platform::PictureSurface source(display);
            platform::PictureSurface destination(display);
            source.Resize(size[0], size[1]);
            destination.Resize(size[2], size[3]);
            for (auto* s : {&source, &destination})
                for (std::uint8_t& b : s->MutableImage().MutableBits())
                    b = static_cast<std::uint8_t>(random());
            const auto expected = OrOverlap(source.Image(), destination.Image());
            stereo::PaintPictureOr(source, destination);
            EXPECT_EQ(ImageBytes(destination), expected);
            platform::PictureSurface foreign(display);
            foreign.ReplaceImage(platform::Bitmap(5, 3, bits == 8 ? 32 : 8));
            for (std::uint8_t& b : foreign.MutableImage().MutableBits()) b = 0xFF;
            stereo::PaintPictureOr(foreign, destination);
            EXPECT_EQ(ImageBytes(destination), expected);
        }
}

// The entry of the display's palette nearest to `colour` (least squared distance).
platform::Rgb NearestShown(const platform::Display& display, platform::Rgb colour) {
    const auto distance = [colour](const platform::PaletteEntry& e) {
        const int r = e.peRed - platform::RedOf(colour), g = e.peGreen - platform::GreenOf(colour),
                  b = e.peBlue - platform::BlueOf(colour);
        return r * r + g * g + b * b;
    };
    const auto& entries = display.SystemPalette();
    const auto& best =
        *std::min_element(entries.begin(), entries.end(),
                          [&](const auto& a, const auto& b) { return distance(a) < distance(b); });
    return platform::RGB(best.peRed, best.peGreen, best.peBlue);
}

// What a palette display shows for two masks joined: the red of one with the green and
// blue of the other, as the palette's nearest colour.
std::vector<platform::Rgb> JoinedColours(StageRig& rig, const platform::PictureSurface& red,
                                         const platform::PictureSurface& cyan) {
    std::vector<platform::Rgb> joined = SurfaceColors(red);
    const std::vector<platform::Rgb> other = SurfaceColors(cyan);
    for (std::size_t i = 0; i < joined.size(); ++i)
        joined[i] = NearestShown(rig.display, joined[i] | other.at(i));
    return joined;
}

// Every display, both lens orders, odd widths through the masks' vector loops and
// their tails, every channel value at width 163: the mask of the first view in PicRed,
// of the second (in picResult afterwards, checked on its own) in PicBlue, shifted two
// columns right by "Added Depth"; PicFinal the OR of their bytes and picOriginal
// showing it (at 8 bits, the colours joined: see JoinedColours). The masks dim each kept channel to
// 99 %, on the raw fields at 15 and 16 bits. They are written onto surfaces whose picture was
// cleared: at 8 bits they still find the display's palette entries instead of turning black.
TEST(MakeAnaglyph, MasksOfBothViewsJoinedOnEveryDisplay) {
    for (const int bits : kDisplayDepths)
        for (const int width : {1, 9, 163})
            for (const std::int16_t lens : {0, 7}) {
                SCOPED_TRACE(testing::Message()
                             << bits << " bits, width " << width << ", lens " << lens);
                StageRig rig(bits);
                rig.settings.Lens = lens;
                rig.settings.DoShift = true;
                rig.globals.glbShift = 2;
                stereo_testing::LoadViews(
                    rig, width, 3, [](int, int) { return 127; },
                    [width](int x, int y) {
                        const int i = (y * width + x) * 3;
                        return platform::RGB((i * 7) & 255, (i * 11 + 1) & 255, (i * 13 + 2) & 255);
                    });
                // Leftovers of an older conversion at another size.
                for (auto* s :
                     {&rig.surfaces.PicRed, &rig.surfaces.PicBlue, &rig.surfaces.PicFinal})
                    LoadSurface(*s, 3, 4, [](int, int) { return Grey(200); });
                const PixelGrid picture = ReadGrid(rig.surfaces.picOriginal);
                stereo::MakeAnaglyph(rig.context);

                const PixelGrid second = ReadGrid(rig.surfaces.picResult);
                PixelGrid first_mask = picture;
                PixelGrid second_mask = second;
                for (int y = 0; y < 3; ++y)
                    for (int x = 0; x < width; ++x) {
                        first_mask(x, y) = (lens == 0 ? RedOnly : CyanOnly)(picture(x, y));
                        const PixelTriple p = second(x >= 2 && x <= width - 2 ? x - 2 : x, y);
                        second_mask(x, y) = (lens == 0 ? CyanOnly : RedOnly)(p);
                    }
                const core::Workspace& s = rig.surfaces;
                ASSERT_EQ(SurfaceColors(s.PicRed), Shown(rig, first_mask));
                ASSERT_EQ(SurfaceColors(s.PicBlue), Shown(rig, second_mask));
                if (bits == 8) {
                    EXPECT_EQ(SurfaceColors(s.PicFinal), JoinedColours(rig, s.PicRed, s.PicBlue));
                    EXPECT_EQ(ImageBytes(s.picOriginal), ImageBytes(s.PicFinal));
                } else {
                    std::vector<std::uint8_t> joined = ImageBytes(s.PicRed);
                    const std::vector<std::uint8_t> blue = ImageBytes(s.PicBlue);
                    for (std::size_t i = 0; i < joined.size(); ++i) joined[i] |= blue.at(i);
                    EXPECT_EQ(ImageBytes(s.PicFinal), joined);
                    EXPECT_EQ(ImageBytes(s.picOriginal), joined);
                }
                EXPECT_TRUE(
                    s.picOriginal.GetPicture()->bitmap.SharesBitsWith(s.picOriginal.Image()));
            }
}

// On a palette display the join takes the red of one mask's colour and the green and
// blue of the other's, and writes the nearest entry: the OR of two indices would name
// an unrelated entry. Pixels outside the overlap, and images of another format, are
// left as they were.
TEST(JoinPaletteMasks, JoinsTheColoursTheIndicesShow) {
    const struct {
        const char* name;
        platform::Rgb red, cyan, joined;
    } cases[] = {
        {"red and cyan make white", platform::RGB(255, 0, 0), platform::RGB(0, 255, 255),
         Grey(255)},
        {"dark red and teal make grey", platform::RGB(128, 0, 0), platform::RGB(0, 128, 128),
         Grey(128)},
        {"red and blue make magenta", platform::RGB(255, 0, 0), platform::RGB(0, 0, 255),
         platform::RGB(255, 0, 255)},
        {"black stays black", Grey(0), Grey(0), Grey(0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const platform::Display display(8);
        platform::PictureSurface cyan(display);
        platform::PictureSurface joined(display);
        LoadSurface(cyan, 3, 2, [&](int, int) { return c.cyan; });
        LoadSurface(joined, 4, 3, [&](int, int) { return c.red; });
        stereo::JoinPaletteMasks(cyan, joined);
        const std::vector<platform::Rgb> shown = SurfaceColors(joined);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(shown[static_cast<std::size_t>(y * 4 + x)],
                          x < 3 && y < 2 ? c.joined : c.red)
                    << x << "," << y;

        const platform::Display true_colour(32);
        platform::PictureSurface other(true_colour);
        LoadSurface(other, 3, 2, [&](int, int) { return c.cyan; });
        const std::vector<std::uint8_t> before = ImageBytes(joined);
        stereo::JoinPaletteMasks(other, joined);
        EXPECT_EQ(ImageBytes(joined), before);
    }
}

// The bands as the frame's description states them, for w = |shift| >= 1: left columns
// 0..w-1, right columns W-w+1..W-1, and in "Full" mode (any FrameType but 0) top rows
// 0..w-1 and bottom rows H-w+1..H-1. White is stored as 255 in every channel and
// clamped by the bridge to the field maximum on 15- and 16-bit displays, so it shows
// white on every display; any FrameColor but 1 is black.
TEST(DrawFrame, PaintsExactlyTheBandsOnEveryDisplay) {
    const struct {
        int width, height;
        std::int16_t shift, frame_type;
    } cases[] = {{9, 7, 2, 0}, {9, 7, -2, 1}, {9, 7, 2, 7},      {100, 10, 50, 0}, {100, 10, 51, 0},
                 {1, 1, 1, 0}, {1, 1, 6, 1},  {5, 4, -32768, 1}, {5, 4, 32767, 0}, {12, 6, 0, 1}};
    for (const int bits : kDisplayDepths)
        for (const auto& c : cases)
            for (const std::int16_t color : {0, 1, 2}) {
                StageRig rig(bits);
                rig.globals.glbShift = c.shift;
                rig.settings.FrameType = c.frame_type;
                rig.settings.FrameColor = color;
                LoadSurface(rig.surfaces.picOriginal, c.width, c.height, CellColor);
                const auto before = SurfaceColors(rig.surfaces.picOriginal);
                stereo::DrawFrame(rig.context, rig.surfaces.picOriginal);
                const auto after = SurfaceColors(rig.surfaces.picOriginal);
                const long w = std::abs(static_cast<long>(c.shift));
                for (int y = 0; y < c.height; ++y)
                    for (int x = 0; x < c.width; ++x) {
                        const bool sides = x <= w - 1 || x >= c.width - w + 1;
                        const bool ends =
                            c.frame_type != 0 && (y <= w - 1 || y >= c.height - w + 1);
                        const auto i = static_cast<std::size_t>(y * c.width + x);
                        const platform::Rgb paint = color == 1 ? 0xFFFFFF : 0;
                        ASSERT_EQ(after[i], w > 0 && (sides || ends) ? paint : before[i])
                            << bits << " bits, case " << &c - cases << ", FrameColor " << color
                            << ", (" << x << ", " << y << ")";
                    }
            }
}

}  // namespace
