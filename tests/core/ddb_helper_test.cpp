#include "core/ddb_helper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/support/pictures.h"

namespace {

using core::PixelGrid;
using core::PixelTriple;
using platform::Display;
using platform::PictureSurface;
using platform::RGB;
using testing_support::LoadSurface;
using testing_support::MakeGrid;
using testing_support::SurfaceColors;

constexpr int kDepths[] = {8, 15, 16, 24, 32};

PixelGrid Read(PictureSurface& surface, std::int16_t& bits) {
    PixelGrid grid;
    DDBHelper::GetBitmapPixels(surface, grid, bits);
    return grid;
}

// Random cells the format holds exactly: its own field ranges, or at 8 bits colours
// of the system palette.
PixelGrid RandomGrid(const Display& display, int width, int height) {
    std::mt19937 rng(7);
    const int depth = display.Depth();
    const unsigned red_blue = depth == 15 || depth == 16 ? 32 : 256;
    const unsigned green = depth == 15 ? 32 : depth == 16 ? 64 : 256;
    PixelGrid grid(width, height);
    for (auto& p : grid.Pixels()) {
        const auto& e = display.SystemPalette()[rng() % 256];
        p = depth == 8 ? PixelTriple{e.peBlue, e.peGreen, e.peRed}
                       : PixelTriple{static_cast<std::uint8_t>(rng() % red_blue),
                                     static_cast<std::uint8_t>(rng() % green),
                                     static_cast<std::uint8_t>(rng() % red_blue)};
    }
    return grid;
}

// Both ways round: a read written back keeps the colours shown (so the 15/16-bit probe
// puts its pixel back), and a written grid reads back unchanged (and unclamped), in
// every format at odd sizes and 1x1.
TEST(Bridge, RoundTripsInEveryFormat) {
    struct Size {
        int width, height;
    };
    for (const int depth : kDepths)
        for (const Size size : {Size{1, 1}, Size{2, 3}, Size{5, 1}, Size{163, 117}}) {
            SCOPED_TRACE(std::to_string(depth) + " bits, " + std::to_string(size.width) + "x" +
                         std::to_string(size.height));
            Display display(depth);
            PictureSurface surface(display);
            LoadSurface(surface, size.width, size.height,
                        [](int x, int y) { return RGB(x * 7, y * 23, x * y); });
            const auto shown = SurfaceColors(surface);
            std::int16_t bits = 0;
            PixelGrid read = Read(surface, bits);
            EXPECT_EQ(bits, depth);
            DDBHelper::SetBitmapPixels(surface, bits, read);
            EXPECT_EQ(SurfaceColors(surface), shown);

            PixelGrid grid = RandomGrid(display, size.width, size.height);
            const PixelGrid written = grid;
            DDBHelper::SetBitmapPixels(surface, bits, grid);
            EXPECT_EQ(grid, written) << "in-range values must not be clamped";
            EXPECT_EQ(Read(surface, bits), written);
        }
}

TEST(Bridge, ClampsOverRangeChannelsInTheCallersGrid) {
    struct Case {
        int depth;
        PixelTriple in, clamped;
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

// Over an image of 0xFF bytes, every byte that is not a colour byte (row padding to an
// even stride, the fourth byte of a 32-bit pixel) is written 0.
TEST(Bridge, BytesBesideTheColoursAreWrittenZero) {
    struct Case {
        int depth, width, stride;
    };
    for (const auto& c : {Case{24, 5, 16}, Case{8, 5, 6}, Case{8, 1, 2}, Case{24, 1, 4},
                          Case{16, 1, 2}, Case{32, 3, 12}}) {
        Display display(c.depth);
        PictureSurface surface(display);
        LoadSurface(surface, c.width, 2, [](int, int) { return RGB(255, 255, 255); });
        for (auto& b : surface.MutableImage().MutableBits()) b = 0xFF;
        ASSERT_EQ(surface.Image().WidthBytes(), c.stride);
        PixelGrid grid = MakeGrid(c.width, 2, [](int, int) { return RGB(255, 255, 255); });
        DDBHelper::SetBitmapPixels(surface, static_cast<std::int16_t>(c.depth), grid);
        const int colour_bytes = c.width * (c.depth == 32 ? 4 : (c.depth + 7) / 8);
        for (int y = 0; y < 2; ++y)
            for (int i = 0; i < c.stride; ++i) {
                if (i < colour_bytes && (c.depth != 32 || i % 4 != 3)) continue;
                EXPECT_EQ(surface.Image().Row(y)[static_cast<std::size_t>(i)], 0)
                    << c.depth << " bits, width " << c.width << ", row " << y << ", byte " << i;
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
    grid(0, 0) = {0, 0, 250};      // next to pure red
    grid(1, 0) = {100, 100, 100};  // between two greys
    grid(2, 0) = {240, 202, 166};  // exactly a static colour
    DDBHelper::SetBitmapPixels(surface, 8, grid);
    const auto bits = surface.Image().Bits();
    EXPECT_EQ(bits[0], NearestByHand(display.SystemPalette(), 250, 0, 0));
    EXPECT_EQ(bits[1], NearestByHand(display.SystemPalette(), 100, 100, 100));
    EXPECT_EQ(bits[2], 9);
    std::int16_t bits_per_pixel = 0;
    const PixelGrid read = Read(surface, bits_per_pixel);
    EXPECT_EQ(read(0, 0), (PixelTriple{0, 0, 255}));
    EXPECT_EQ(read(2, 0), (PixelTriple{240, 202, 166}));
}

TEST(Bridge, PaletteMatchingMakesTheLogicalPaletteAnIdentityCopy) {
    Display display(8);
    PictureSurface surface(display);
    LoadSurface(surface, 2, 2, [](int, int) { return 0; });
    surface.MutablePicture()->palette->SetPaletteEntries(
        0, 1, std::array{platform::PaletteEntry{9, 9, 9, 0}});
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
    std::int16_t bits = 0;
    PixelGrid grid = Read(surface, bits);
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

// A 1- or 4-bit image reads as black and raises; written back at its depth, it keeps
// its bits, raises again and is repainted all the same.
TEST(Bridge, OneAndFourBitBitmapsReadAsBlackAndAreNotWritten) {
    for (int bits_pixel : {1, 4}) {
        Display display(32);
        PictureSurface surface(display);
        platform::Bitmap foreign(9, 4, bits_pixel);
        for (auto& b : foreign.MutableBits()) b = 0xFF;
        surface.ReplaceImage(foreign);
        const std::string invalid =
            "Invalid number of bits per pixel: " + std::to_string(bits_pixel);
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
        EXPECT_EQ(core::LastRaisedError()->description, invalid);

        core::ClearRaisedError();
        const auto refreshes = surface.RefreshCount();
        DDBHelper::SetBitmapPixels(surface, bits, grid);
        EXPECT_TRUE(std::ranges::all_of(surface.Image().Bits(), [](auto b) { return b == 0xFF; }));
        EXPECT_EQ(surface.RefreshCount(), refreshes + 1);
        ASSERT_TRUE(core::LastRaisedError());
        EXPECT_EQ(core::LastRaisedError()->source, "DDBHelper.SetBitmapPixels");
        EXPECT_EQ(core::LastRaisedError()->description, invalid);
    }
}

TEST(Bridge, AGridOfAnotherSizeIsWrittenAsOneLinearBlockWithoutOverrun) {
    Display display(32);
    PictureSurface surface(display);
    LoadSurface(surface, 2, 2, [](int, int) { return 0; });
    PixelGrid wide = MakeGrid(5, 3, [](int x, int) { return RGB(x + 1, 0, 0); });
    DDBHelper::SetBitmapPixels(surface, 32, wide);
    // The block fills the 16 bytes it has: the first four pixels of the grid's first row.
    EXPECT_EQ(SurfaceColors(surface),
              (std::vector{RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0), RGB(4, 0, 0)}));
    PixelGrid narrow = MakeGrid(1, 1, [](int, int) { return RGB(7, 7, 7); });
    DDBHelper::SetBitmapPixels(surface, 32, narrow);
    EXPECT_EQ(surface.Point(0, 0), RGB(7, 7, 7));
    EXPECT_EQ(surface.Point(1, 0), RGB(2, 0, 0));
}

// An empty surface, and rows without a single pixel (which once passed a null row
// pointer to the block copy), read and write in every format.
TEST(Bridge, SurfacesWithoutPixelsGiveGridsWithoutPixels) {
    for (const int depth : kDepths)
        for (const int height : {-1, 5}) {
            Display display(depth);
            PictureSurface surface(display);
            if (height >= 0) LoadSurface(surface, 0, height, [](int, int) { return 0; });
            EXPECT_EQ(surface.ScaleHeight(), std::max(height, 0));
            PixelGrid grid = MakeGrid(3, 3, [](int, int) { return 0; });
            std::int16_t bits = 0;
            DDBHelper::GetBitmapPixels(surface, grid, bits);
            EXPECT_EQ(grid.Width(), 0) << depth;
            EXPECT_EQ(grid.Height(), std::max(height, 0)) << depth;
            DDBHelper::SetBitmapPixels(surface, bits, grid);
        }
}

}  // namespace
