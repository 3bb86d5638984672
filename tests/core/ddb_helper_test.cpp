#include "core/ddb_helper.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/support/pictures.h"

namespace {

using core::PixelGrid;
using core::PixelTriple;
using platform::Display;
using platform::PictureSurface;
using platform::RGB;
using testing_support::LoadSurface;
using testing_support::MakeGrid;

constexpr int kDepths[] = {8, 15, 16, 24, 32};

// The colour each channel value pattern gets in a format's own field ranges.
PixelGrid RandomFieldGrid(int width, int height, int depth, unsigned seed) {
    std::mt19937 rng(seed);
    const int red_max = depth == 15 || depth == 16 ? 31 : 255;
    const int green_max = depth == 15 ? 31 : depth == 16 ? 63 : 255;
    const int blue_max = red_max;
    PixelGrid grid(width, height);
    for (auto& p : grid.Pixels()) {
        p.Red = static_cast<std::uint8_t>(rng() % (red_max + 1));
        p.Green = static_cast<std::uint8_t>(rng() % (green_max + 1));
        p.Blue = static_cast<std::uint8_t>(rng() % (blue_max + 1));
    }
    return grid;
}

// At 8 bits only palette colours survive a round trip; take them from the system palette.
PixelGrid RandomPaletteGrid(const Display& display, int width, int height, unsigned seed) {
    std::mt19937 rng(seed);
    PixelGrid grid(width, height);
    for (auto& p : grid.Pixels()) {
        const auto& e = display.SystemPalette()[rng() % 256];
        p = {e.peBlue, e.peGreen, e.peRed};
    }
    return grid;
}

class BridgeRoundTrip : public ::testing::TestWithParam<std::tuple<int, int, int>> {};

TEST_P(BridgeRoundTrip, WriteThenReadGivesTheSameGrid) {
    const auto [depth, width, height] = GetParam();
    Display display(depth);
    PictureSurface surface(display);
    LoadSurface(surface, width, height, [](int, int) { return RGB(0, 0, 0); });
    PixelGrid grid = depth == 8 ? RandomPaletteGrid(display, width, height, 7)
                                : RandomFieldGrid(width, height, depth, 7);
    const PixelGrid written = grid;
    DDBHelper::SetBitmapPixels(surface, static_cast<std::int16_t>(depth), grid);
    EXPECT_EQ(grid, written) << "in-range values must not be clamped";

    PixelGrid read;
    std::int16_t bits = 0;
    DDBHelper::GetBitmapPixels(surface, read, bits);
    EXPECT_EQ(bits, depth);
    EXPECT_EQ(read, written);
}

INSTANTIATE_TEST_SUITE_P(AllFormatsAndOddSizes, BridgeRoundTrip,
                         ::testing::Combine(::testing::ValuesIn(kDepths),
                                            ::testing::Values(1, 2, 5, 163),
                                            ::testing::Values(1, 3, 117)));

TEST(Bridge, ReadThenWriteOfAnUnchangedGridKeepsTheColours) {
    for (int depth : kDepths) {
        Display display(depth);
        PictureSurface surface(display);
        LoadSurface(surface, 37, 11, [](int x, int y) { return RGB(x * 7, y * 23, x * y); });
        const auto before = testing_support::SurfaceColors(surface);
        PixelGrid grid;
        std::int16_t bits = 0;
        DDBHelper::GetBitmapPixels(surface, grid, bits);
        DDBHelper::SetBitmapPixels(surface, bits, grid);
        EXPECT_EQ(testing_support::SurfaceColors(surface), before) << depth << " bits";
    }
}

TEST(Bridge, SixteenBitProbeTellsTheLayoutAndRestoresThePixel) {
    for (int depth : {15, 16}) {
        Display display(depth);
        PictureSurface surface(display);
        LoadSurface(surface, 3, 2, [](int x, int) { return RGB(40 * x, 200, 96); });
        const platform::Rgb before = surface.Point(0, 0);
        PixelGrid grid;
        std::int16_t bits = 0;
        DDBHelper::GetBitmapPixels(surface, grid, bits);
        EXPECT_EQ(bits, depth);
        EXPECT_EQ(surface.Point(0, 0), before);
        EXPECT_EQ(grid(0, 0).Red, 0);
        EXPECT_EQ(grid(0, 0).Green, depth == 15 ? 200 >> 3 : 200 >> 2);
        EXPECT_EQ(grid(0, 0).Blue, 96 >> 3);
    }
}

TEST(Bridge, ClampsOverRangeChannelsInTheCallersGrid) {
    struct Case {
        int depth;
        PixelTriple in;
        PixelTriple clamped;
        std::uint16_t word;
    };
    const Case cases[] = {
        {16, {10, 200, 20}, {10, 63, 20}, 10 + 32 * (63 + 64 * 20)},
        {16, {255, 255, 255}, {31, 63, 31}, 0xFFFF},
        {15, {40, 40, 40}, {31, 31, 31}, 0x7FFF},
        {15, {1, 200, 2}, {1, 31, 2}, 1 + 32 * (31 + 32 * 2)},
    };
    for (const auto& c : cases) {
        Display display(c.depth);
        PictureSurface surface(display);
        LoadSurface(surface, 1, 1, [](int, int) { return 0; });
        PixelGrid grid(1, 1);
        grid(0, 0) = c.in;
        DDBHelper::SetBitmapPixels(surface, static_cast<std::int16_t>(c.depth), grid);
        EXPECT_EQ(grid(0, 0), c.clamped) << c.depth;
        const auto bits = surface.Image().Bits();
        EXPECT_EQ(bits[0] | (bits[1] << 8), c.word) << c.depth;
    }
}

TEST(Bridge, WritesTheFourthByteOfA32BitPixelAsZero) {
    Display display(32);
    PictureSurface surface(display);
    LoadSurface(surface, 3, 2, [](int, int) { return RGB(1, 2, 3); });
    for (auto& b : surface.MutableImage().MutableBits()) b = 0xAB;
    PixelGrid grid = MakeGrid(3, 2, [](int x, int y) { return RGB(x, y, 9); });
    DDBHelper::SetBitmapPixels(surface, 32, grid);
    const auto bits = surface.Image().Bits();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const auto* p = bits.data() + surface.Image().WidthBytes() * y + 4 * x;
            EXPECT_EQ(p[0], 9);
            EXPECT_EQ(p[1], y);
            EXPECT_EQ(p[2], x);
            EXPECT_EQ(p[3], 0);
        }
}

TEST(Bridge, OddWidthRowsArePaddedToAnEvenStrideWithZero) {
    struct Case {
        int depth, width, stride;
    };
    for (const auto& c : {Case{24, 5, 16}, Case{8, 5, 6}, Case{8, 1, 2}, Case{24, 1, 4}, Case{32, 1, 4}}) {
        Display display(c.depth);
        PictureSurface surface(display);
        LoadSurface(surface, c.width, 2, [](int, int) { return RGB(255, 255, 255); });
        for (auto& b : surface.MutableImage().MutableBits()) b = 0xFF;
        EXPECT_EQ(surface.Image().WidthBytes(), c.stride);
        PixelGrid grid = MakeGrid(c.width, 2, [](int, int) { return RGB(255, 255, 255); });
        DDBHelper::SetBitmapPixels(surface, static_cast<std::int16_t>(c.depth), grid);
        if (c.stride > c.width * ((c.depth + 7) / 8)) {
            EXPECT_EQ(surface.Image().Row(1)[static_cast<std::size_t>(c.stride - 1)], 0) << c.depth;
        }
    }
}

// First entry of least squared distance, found the slow way.
std::uint8_t NearestByHand(const platform::PaletteTable& palette, int r, int g, int b) {
    std::uint8_t best = 0;
    int best_distance = 1 << 30;
    for (int i = 0; i < 256; ++i) {
        const auto& e = palette[static_cast<std::size_t>(i)];
        const int d = (e.peRed - r) * (e.peRed - r) + (e.peGreen - g) * (e.peGreen - g) +
                      (e.peBlue - b) * (e.peBlue - b);
        if (d < best_distance) best_distance = d, best = static_cast<std::uint8_t>(i);
    }
    return best;
}

TEST(Bridge, EightBitWriteStoresTheNearestPaletteEntry) {
    Display display(8);
    PictureSurface surface(display);
    LoadSurface(surface, 3, 1, [](int, int) { return 0; });
    PixelGrid grid(3, 1);
    grid(0, 0) = {0, 0, 250};        // next to pure red
    grid(1, 0) = {100, 100, 100};    // between two greys
    grid(2, 0) = {240, 202, 166};    // exactly a static colour
    DDBHelper::SetBitmapPixels(surface, 8, grid);
    const auto bits = surface.Image().Bits();
    EXPECT_EQ(bits[0], NearestByHand(display.SystemPalette(), 250, 0, 0));
    EXPECT_EQ(bits[1], NearestByHand(display.SystemPalette(), 100, 100, 100));
    EXPECT_EQ(bits[2], 9);
    PixelGrid read;
    std::int16_t bits_per_pixel = 0;
    DDBHelper::GetBitmapPixels(surface, read, bits_per_pixel);
    EXPECT_EQ(read(0, 0), (PixelTriple{0, 0, 255}));
    EXPECT_EQ(read(2, 0), (PixelTriple{240, 202, 166}));
}

TEST(Bridge, PaletteMatchingMakesTheLogicalPaletteAnIdentityCopy) {
    Display display(8);
    PictureSurface surface(display);
    LoadSurface(surface, 2, 2, [](int, int) { return 0; });
    surface.MutablePicture()->palette->SetPaletteEntries(0, 1, std::array{platform::PaletteEntry{9, 9, 9, 0}});
    core::ClearRaisedError();
    DDBHelper::MatchColorPalette(surface);
    EXPECT_FALSE(core::LastRaisedError());
    const auto& entries = surface.GetPicture()->palette->Entries();
    ASSERT_EQ(entries.size(), 256u);
    for (std::size_t i = 0; i < 256; ++i) {
        EXPECT_EQ(entries[i].peRed, display.SystemPalette()[i].peRed) << i;
        EXPECT_EQ(entries[i].peFlags, i >= 10 && i < 246 ? platform::PC_NOCOLLAPSE : 0) << i;
    }
}

// Without a picture there is no palette to match; the indices are the display's own.
TEST(Bridge, PaletteMatchingWithoutAPictureRaisesAndReadsTheSystemColours) {
    Display display(8);
    PictureSurface surface(display);
    LoadSurface(surface, 2, 2, [](int, int) { return RGB(255, 0, 0); });
    surface.ClearPicture();
    surface.PSet(0, 0, RGB(255, 0, 0));
    core::ClearRaisedError();
    PixelGrid grid;
    std::int16_t bits = 0;
    DDBHelper::GetBitmapPixels(surface, grid, bits);
    ASSERT_TRUE(core::LastRaisedError());
    EXPECT_EQ(core::LastRaisedError()->number, static_cast<std::int32_t>(0x800403EAu));
    EXPECT_EQ(core::LastRaisedError()->source, "DDBHelper.MatchColorPalette");
    EXPECT_EQ(core::LastRaisedError()->description, "Error matching bitmap palette");
    EXPECT_EQ(bits, 8);
    EXPECT_EQ(grid.Width(), 2);
    EXPECT_EQ(grid(0, 0), (PixelTriple{0, 0, 255}));
    // And a write without a picture finds the same entries, so colours survive.
    grid(1, 1) = {255, 255, 0};
    DDBHelper::SetBitmapPixels(surface, 8, grid);
    EXPECT_EQ(surface.Point(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(surface.Point(1, 1), RGB(0, 255, 255));
}

TEST(Bridge, OneAndFourBitBitmapsReadAsBlackAndRaise) {
    for (int bits_pixel : {1, 4}) {
        Display display(32);
        PictureSurface surface(display);
        platform::Bitmap foreign(9, 4, bits_pixel);
        for (auto& b : foreign.MutableBits()) b = 0xFF;
        surface.ReplaceImage(foreign);
        core::ClearRaisedError();
        PixelGrid grid = MakeGrid(2, 2, [](int, int) { return RGB(1, 2, 3); });
        std::int16_t bits = 0;
        DDBHelper::GetBitmapPixels(surface, grid, bits);
        EXPECT_EQ(bits, bits_pixel);
        ASSERT_EQ(grid.Width(), 9);
        ASSERT_EQ(grid.Height(), 4);
        for (const auto& p : grid.Pixels()) EXPECT_EQ(p, (PixelTriple{0, 0, 0}));
        ASSERT_TRUE(core::LastRaisedError());
        EXPECT_EQ(core::LastRaisedError()->number, static_cast<std::int32_t>(0x800403E9u));
        EXPECT_EQ(core::LastRaisedError()->source, "DDBHelper.GetBitmapPixels");
        EXPECT_EQ(core::LastRaisedError()->description,
                  "Invalid number of bits per pixel: " + std::to_string(bits_pixel));
    }
}

TEST(Bridge, WritingAnUnsupportedDepthLeavesTheBitsButRepaints) {
    Display display(24);
    PictureSurface surface(display);
    LoadSurface(surface, 4, 3, [](int x, int) { return RGB(x, 50, 60); });
    const std::vector<std::uint8_t> before(surface.Image().Bits().begin(), surface.Image().Bits().end());
    const auto refreshes = surface.RefreshCount();
    core::ClearRaisedError();
    PixelGrid grid = MakeGrid(4, 3, [](int, int) { return RGB(255, 255, 255); });
    DDBHelper::SetBitmapPixels(surface, 12, grid);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), surface.Image().Bits().begin()));
    EXPECT_EQ(surface.RefreshCount(), refreshes + 1);
    ASSERT_TRUE(core::LastRaisedError());
    EXPECT_EQ(core::LastRaisedError()->source, "DDBHelper.SetBitmapPixels");
    EXPECT_EQ(core::LastRaisedError()->description, "Invalid number of bits per pixel: 12");
}

TEST(Bridge, AGridOfAnotherSizeIsWrittenAsOneLinearBlockWithoutOverrun) {
    Display display(32);
    PictureSurface surface(display);
    LoadSurface(surface, 2, 2, [](int, int) { return 0; });
    PixelGrid wide = MakeGrid(5, 3, [](int x, int) { return RGB(x + 1, 0, 0); });
    DDBHelper::SetBitmapPixels(surface, 32, wide);
    // The block fills the 16 bytes it has: the first four pixels of the grid's first row.
    EXPECT_EQ(surface.Point(0, 0), RGB(1, 0, 0));
    EXPECT_EQ(surface.Point(1, 0), RGB(2, 0, 0));
    EXPECT_EQ(surface.Point(0, 1), RGB(3, 0, 0));
    EXPECT_EQ(surface.Point(1, 1), RGB(4, 0, 0));
    PixelGrid narrow = MakeGrid(1, 1, [](int, int) { return RGB(7, 7, 7); });
    DDBHelper::SetBitmapPixels(surface, 32, narrow);
    EXPECT_EQ(surface.Point(0, 0), RGB(7, 7, 7));
    EXPECT_EQ(surface.Point(1, 0), RGB(2, 0, 0));
}

TEST(Bridge, AnEmptySurfaceGivesAnEmptyGrid) {
    for (int depth : kDepths) {
        Display display(depth);
        PictureSurface surface(display);
        PixelGrid grid = MakeGrid(3, 3, [](int, int) { return 0; });
        std::int16_t bits = 0;
        DDBHelper::GetBitmapPixels(surface, grid, bits);
        EXPECT_EQ(grid.Width(), 0);
        EXPECT_EQ(grid.Height(), 0);
        DDBHelper::SetBitmapPixels(surface, bits, grid);
    }
}

}  // namespace

namespace {

// Rows without a single pixel once passed a null row pointer to the block copy.
TEST(Bridge, RowsWithoutPixelsReadAndWriteInEveryFormat) {
    for (int depth : kDepths) {
        Display display(depth);
        PictureSurface surface(display);
        LoadSurface(surface, 0, 5, [](int, int) { return 0; });
        EXPECT_EQ(surface.ScaleHeight(), 5);
        PixelGrid grid;
        std::int16_t bits = 0;
        DDBHelper::GetBitmapPixels(surface, grid, bits);
        EXPECT_EQ(grid.Width(), 0);
        EXPECT_EQ(grid.Height(), 5);
        DDBHelper::SetBitmapPixels(surface, bits, grid);
    }
}

}  // namespace
