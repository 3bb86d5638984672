// Bitmap bytes: blanks whose bytes are made on first use (the pixel in every place,
// the row padding 0, in every format), and copies and pictures that share bytes until
// one side is drawn on.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/picture_surface.h"
#include "tests/support/pictures.h"

namespace {

using platform::Bitmap;
using platform::RGB;
using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(const Bitmap& bitmap) {
    return {bitmap.Bits().begin(), bitmap.Bits().end()};
}

// Every pixel `pixel`, little endian, and every padding byte 0, stated byte by byte.
Bytes Expected(int width, int height, int bits_pixel, std::uint32_t pixel) {
    const auto stride = static_cast<std::size_t>(Bitmap::StrideFor(width, bits_pixel));
    Bytes bytes(stride * static_cast<std::size_t>(height), 0);
    const int per_pixel = bits_pixel / 8;
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y)
        for (int i = 0; i < width * per_pixel; ++i)
            bytes[stride * y + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(pixel >> (8 * (i % per_pixel)));
    return bytes;
}

// Odd widths, zero and one.
TEST(BlankBitmap, EveryPixelIsThePixelAndThePaddingIsZero) {
    for (const int bits : {8, 16, 24, 32})
        for (const int width : {0, 1, 2, 3, 5, 17, 163})
            for (const std::uint32_t pixel : {0u, 0x12u, 0xF0F0F0u, 0x7BEFu, 0x00FFFFFFu}) {
                const std::uint32_t fits = bits == 32 ? pixel : pixel & ((1u << bits) - 1);
                EXPECT_EQ(BytesOf(Bitmap::Blank(width, 3, bits, fits)),
                          Expected(width, 3, bits, fits))
                    << bits << " bits, width " << width << ", pixel " << fits;
            }
}

// A copy read as a block, or written in part, sees the blank where it was not written;
// a change to one copy stays with it.
TEST(BlankBitmap, CopiesGoTheirOwnWays) {
    const Bitmap blank = Bitmap::Blank(7, 3, 32, 0x00102030u);
    Bytes expected = Expected(7, 3, 32, 0x00102030u), block(expected.size());
    Bitmap changed = blank, half_written = blank;
    changed.MutableRow(1)[4] = 0xEE;
    EXPECT_EQ(half_written.SetBitmapBits(Bytes(40, 0x01)), 40);
    EXPECT_EQ(Bitmap(blank).GetBitmapBits(block), static_cast<std::int64_t>(block.size()));
    EXPECT_EQ(block, expected);
    EXPECT_EQ(BytesOf(blank), expected);
    EXPECT_EQ(BytesOf(changed)[28 + 4], 0xEE);
    std::fill_n(expected.begin(), 40, 0x01);
    EXPECT_EQ(BytesOf(half_written), expected);
}

// The picture shares the image's bytes until one side is drawn on; drawing and
// reading outside the image do nothing.
TEST(PictureSurface, DrawingReachesNeitherThePictureNorOutside) {
    const platform::Display display(24);
    platform::PictureSurface surface(display), other(display);
    testing_support::LoadSurface(surface, 2, 2, [](int, int) { return RGB(1, 2, 3); });
    surface.AssignImageToPicture();
    EXPECT_TRUE(surface.Image().SharesBitsWith(surface.GetPicture()->bitmap));
    surface.PSet(0, 0, RGB(200, 0, 0));
    surface.PSet(2, 1, RGB(9, 9, 9));
    surface.PSet(-5, 0, RGB(9, 9, 9));
    EXPECT_EQ(testing_support::SurfaceColors(surface),
              (std::vector{RGB(200, 0, 0), RGB(1, 2, 3), RGB(1, 2, 3), RGB(1, 2, 3)}));
    for (const auto& [x, y] : {std::pair{-1, 0}, {2, 0}, {0, 2}})
        EXPECT_EQ(surface.Point(x, y), platform::kNoColor);
    other.SetPicture(*surface.GetPicture());
    EXPECT_EQ(other.Point(0, 0), RGB(1, 2, 3));
}

}  // namespace
