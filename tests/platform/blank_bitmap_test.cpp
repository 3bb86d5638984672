// Blank bitmaps, whose bytes are made on first use: the pixel in every place and the
// row padding 0 for every format, and copies that go their own ways.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "platform/bitmap.h"

namespace {

using platform::Bitmap;
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

// Odd widths, zero and one, and a large blank (filled with streaming stores).
TEST(BlankBitmap, EveryPixelIsThePixelAndThePaddingIsZero) {
    for (const int bits : {8, 16, 24, 32})
        for (const int width : {0, 1, 2, 3, 5, 17, 163})
            for (const std::uint32_t pixel : {0u, 0x12u, 0xF0F0F0u, 0x7BEFu, 0x00FFFFFFu}) {
                const std::uint32_t fits = bits == 32 ? pixel : pixel & ((1u << bits) - 1);
                EXPECT_EQ(BytesOf(Bitmap::Blank(width, 3, bits, fits)),
                          Expected(width, 3, bits, fits))
                    << bits << " bits, width " << width << ", pixel " << fits;
            }
    EXPECT_EQ(BytesOf(Bitmap::Blank(3001, 1500, 32, 0x00F0E0D0u)),
              Expected(3001, 1500, 32, 0x00F0E0D0u));
    // The shape is checked at once, not when the bytes are made.
    EXPECT_THROW(Bitmap::Blank(32768, 2, 32, 7), std::invalid_argument);
    EXPECT_THROW(Bitmap::Blank(2, 2, 12, 7), std::invalid_argument);
}

// Each way of reaching the bytes sees the blank; a change to one copy stays with it.
TEST(BlankBitmap, CopiesGoTheirOwnWays) {
    const Bitmap blank = Bitmap::Blank(7, 3, 32, 0x00102030u);
    const Bytes expected = Expected(7, 3, 32, 0x00102030u);
    Bitmap changed = blank, read_by_rows = blank, read_by_block = blank, overwritten = blank,
           half_written = blank;
    changed.MutableRow(1)[4] = 0xEE;
    Bytes row_bytes;
    for (int y = 0; y < 3; ++y)
        for (const std::uint8_t b : read_by_rows.Row(y)) row_bytes.push_back(b);
    Bytes block(expected.size());
    EXPECT_EQ(read_by_block.GetBitmapBits(block), static_cast<std::int64_t>(block.size()));
    for (std::uint8_t& b : overwritten.BitsForOverwrite()) b = 0x55;
    EXPECT_EQ(half_written.SetBitmapBits(Bytes(40, 0x01)), 40);

    EXPECT_EQ(BytesOf(blank), expected);
    EXPECT_EQ(row_bytes, expected);
    EXPECT_EQ(block, expected);
    EXPECT_EQ(BytesOf(overwritten), Bytes(expected.size(), 0x55));
    Bytes changed_expected = expected;
    changed_expected[28 + 4] = 0xEE;
    EXPECT_EQ(BytesOf(changed), changed_expected);
    Bytes half_expected = expected;
    std::fill_n(half_expected.begin(), 40, 0x01);
    EXPECT_EQ(BytesOf(half_written), half_expected);
}

}  // namespace
