// Cleared surfaces: the background colour in every pixel of every display format, the
// row padding 0, and one blank shared between surfaces of a size and colour without
// one surface's drawing reaching another.
#include "platform/blank_images.h"

#include <gtest/gtest.h>

#include "platform/picture_surface.h"
#include "tests/support/pictures.h"

namespace {

using platform::Bitmap;
using platform::Display;
using platform::PictureSurface;
using platform::RGB;

std::vector<std::uint8_t> Bytes(const Bitmap& bitmap) {
    return {bitmap.Bits().begin(), bitmap.Bits().end()};
}

// Every pixel `pixel`, little endian, and every padding byte 0, stated byte by byte.
std::vector<std::uint8_t> Expected(int width, int height, int bits_pixel, std::uint32_t pixel) {
    const auto stride = static_cast<std::size_t>(Bitmap::StrideFor(width, bits_pixel));
    std::vector<std::uint8_t> bytes(stride * static_cast<std::size_t>(height), 0);
    const int per_pixel = bits_pixel / 8;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int i = 0; i < per_pixel; ++i)
                bytes[stride * static_cast<std::size_t>(y) +
                      static_cast<std::size_t>(x * per_pixel + i)] =
                    static_cast<std::uint8_t>(pixel >> (8 * i));
    return bytes;
}

TEST(BlankImages, FillEveryPixelAndLeaveThePaddingZero) {
    for (const int bits : {8, 16, 24, 32})
        for (const int width : {1, 2, 3, 5, 17, 163})
            for (const std::uint32_t pixel : {0u, 0x12u, 0xF0F0F0u, 0x7BEFu, 0x00FFFFFFu}) {
                const std::uint32_t fits = bits == 32 ? pixel : pixel & ((1u << bits) - 1);
                EXPECT_EQ(Bytes(platform::BlankImages::Filled(width, 3, bits, fits)),
                          Expected(width, 3, bits, fits))
                    << bits << " bits, width " << width << ", pixel " << fits;
            }
}

TEST(BlankImages, LargeBlanksAreFilledToo) {
    const Bitmap blank = platform::BlankImages::Filled(3001, 1500, 32, 0x00F0E0D0u);
    EXPECT_EQ(Bytes(blank), Expected(3001, 1500, 32, 0x00F0E0D0u));
}

TEST(BlankImages, SurfacesClearedAlikeShareOneBlankUntilOneIsDrawnOn) {
    for (const int bits : {8, 15, 16, 24, 32}) {
        const Display display(bits);
        PictureSurface first(display);
        PictureSurface second(display);
        testing_support::LoadSurface(first, 9, 4, [](int x, int) { return RGB(x, 50, 90); });
        testing_support::LoadSurface(second, 9, 4, [](int, int y) { return RGB(200, y, 3); });
        first.ClearPicture();
        second.ClearPicture();
        EXPECT_TRUE(first.Image().SharesBitsWith(second.Image())) << bits << " bits";
        const platform::Rgb back = display.PixelToColor(display.ColorToPixel(first.BackColor()));
        EXPECT_EQ(testing_support::SurfaceColors(second), std::vector<platform::Rgb>(36, back));

        first.PSet(2, 1, RGB(255, 0, 0));
        EXPECT_FALSE(first.Image().SharesBitsWith(second.Image()));
        EXPECT_EQ(testing_support::SurfaceColors(second), std::vector<platform::Rgb>(36, back))
            << bits << " bits";
        EXPECT_NE(first.Point(2, 1), back);
    }
}

TEST(BlankImages, OtherSizesAndColoursGetBlanksOfTheirOwn) {
    const Display display(32);
    PictureSurface a(display);
    PictureSurface b(display);
    PictureSurface c(display);
    a.Resize(6, 2);
    b.Resize(7, 2);
    c.Resize(6, 2);
    c.SetBackColor(RGB(1, 2, 3));
    a.Cls();
    b.Cls();
    c.Cls();
    EXPECT_FALSE(a.Image().SharesBitsWith(b.Image()));
    EXPECT_FALSE(a.Image().SharesBitsWith(c.Image()));
    EXPECT_EQ(c.Point(5, 1), RGB(1, 2, 3));
    EXPECT_EQ(b.Point(6, 1), a.Point(5, 1));
}

}  // namespace
