// Blank bitmaps, whose bytes are made on first use: the pixel in every place and the
// row padding 0 for every format, copies that go their own ways, and the surfaces that
// clear to them.
#include <gtest/gtest.h>

#include "platform/bitmap.h"
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

TEST(BlankBitmap, EveryPixelIsThePixelAndThePaddingIsZero) {
    for (const int bits : {8, 16, 24, 32})
        for (const int width : {0, 1, 2, 3, 5, 17, 163})
            for (const std::uint32_t pixel : {0u, 0x12u, 0xF0F0F0u, 0x7BEFu, 0x00FFFFFFu}) {
                const std::uint32_t fits = bits == 32 ? pixel : pixel & ((1u << bits) - 1);
                EXPECT_EQ(Bytes(Bitmap::Blank(width, 3, bits, fits)),
                          Expected(width, 3, bits, fits))
                    << bits << " bits, width " << width << ", pixel " << fits;
            }
}

TEST(BlankBitmap, LargeBlanksAreFilledToo) {
    EXPECT_EQ(Bytes(Bitmap::Blank(3001, 1500, 32, 0x00F0E0D0u)),
              Expected(3001, 1500, 32, 0x00F0E0D0u));
}

TEST(BlankBitmap, TheShapeIsCheckedAtOnce) {
    EXPECT_THROW(Bitmap::Blank(32768, 2, 32, 7), std::invalid_argument);
    EXPECT_THROW(Bitmap::Blank(2, 2, 12, 7), std::invalid_argument);
    const Bitmap blank = Bitmap::Blank(5, 4, 24, 7);
    EXPECT_EQ(blank.Width(), 5);
    EXPECT_EQ(blank.WidthBytes(), 16);
    EXPECT_EQ(blank.SizeBytes(), 64);
}

// Each way of reaching the bytes sees the blank; a change to one copy stays with it.
TEST(BlankBitmap, CopiesGoTheirOwnWays) {
    const Bitmap blank = Bitmap::Blank(7, 3, 32, 0x00102030u);
    const std::vector<std::uint8_t> expected = Expected(7, 3, 32, 0x00102030u);
    Bitmap changed = blank;
    Bitmap read_by_rows = blank;
    Bitmap read_by_block = blank;
    Bitmap overwritten = blank;
    changed.MutableRow(1)[4] = 0xEE;
    std::vector<std::uint8_t> row_bytes;
    for (int y = 0; y < 3; ++y)
        for (const std::uint8_t b : read_by_rows.Row(y)) row_bytes.push_back(b);
    std::vector<std::uint8_t> block(expected.size());
    EXPECT_EQ(read_by_block.GetBitmapBits(block), static_cast<std::int64_t>(block.size()));
    for (std::uint8_t& b : overwritten.BitsForOverwrite()) b = 0x55;

    EXPECT_EQ(Bytes(blank), expected);
    EXPECT_EQ(row_bytes, expected);
    EXPECT_EQ(block, expected);
    EXPECT_EQ(Bytes(overwritten), std::vector<std::uint8_t>(expected.size(), 0x55));
    std::vector<std::uint8_t> changed_expected = expected;
    changed_expected[28 + 4] = 0xEE;
    EXPECT_EQ(Bytes(changed), changed_expected);
}

// Half a block written over a blank keeps the blank in the other half.
TEST(BlankBitmap, APartialBlockWriteKeepsTheRestBlank) {
    Bitmap blank = Bitmap::Blank(4, 2, 32, 0x00ABCDEFu);
    const std::vector<std::uint8_t> half(16, 0x01);
    EXPECT_EQ(blank.SetBitmapBits(half), 16);
    std::vector<std::uint8_t> expected = Expected(4, 2, 32, 0x00ABCDEFu);
    std::fill(expected.begin(), expected.begin() + 16, 0x01);
    EXPECT_EQ(Bytes(blank), expected);
}

TEST(BlankBitmap, ClearedSurfacesShowTheirBackgroundAndStayApart) {
    for (const int bits : {8, 15, 16, 24, 32}) {
        const Display display(bits);
        PictureSurface first(display);
        PictureSurface second(display);
        testing_support::LoadSurface(first, 9, 4, [](int x, int) { return RGB(x, 50, 90); });
        testing_support::LoadSurface(second, 9, 4, [](int, int y) { return RGB(200, y, 3); });
        first.ClearPicture();
        second.ClearPicture();
        const platform::Rgb back = display.PixelToColor(display.ColorToPixel(first.BackColor()));
        first.PSet(2, 1, RGB(255, 0, 0));
        EXPECT_EQ(testing_support::SurfaceColors(second), std::vector<platform::Rgb>(36, back))
            << bits << " bits";
        EXPECT_NE(first.Point(2, 1), back);
        EXPECT_EQ(first.Point(3, 1), back);
    }
}

}  // namespace
