#include "core/ddb_helper.h"

#include <gtest/gtest.h>

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
using testing_support::SurfaceColors;

constexpr int kDepths[] = {8, 15, 16, 24, 32};

// Both ways round, in every format at an odd width past a vector block and at 1x1: a
// read written back shows the same colours (so the 15/16-bit probe puts its pixel
// back); random cells the format holds, written over bytes of 0xFF, are not clamped,
// read back unchanged and leave every byte beside the colours (row padding, the
// fourth byte of a 32-bit pixel) 0.
TEST(Bridge, RoundTripsInEveryFormat) {
    std::mt19937 rng(7);
    for (const int depth : kDepths)
        for (const auto& [width, height] : {std::pair{1, 1}, std::pair{21, 3}}) {
            SCOPED_TRACE(std::to_string(depth) + " bits, width " + std::to_string(width));
            Display display(depth);
            PictureSurface surface(display);
            LoadSurface(surface, width, height,
                        [](int x, int y) { return RGB(x * 7, y * 23, x * y); });
            const auto shown = SurfaceColors(surface);
            PixelGrid grid;
            std::int16_t bits = 0;
            DDBHelper::GetBitmapPixels(surface, grid, bits);
            ASSERT_EQ(bits, depth);
            DDBHelper::SetBitmapPixels(surface, bits, grid);
            EXPECT_EQ(SurfaceColors(surface), shown);

            const unsigned red_blue = depth == 15 || depth == 16 ? 32 : 256;
            const unsigned green = depth == 15 ? 32 : depth == 16 ? 64 : 256;
            for (auto& p : grid.Pixels()) {
                const auto& e = display.SystemPalette()[rng() % 256];
                p = depth == 8 ? PixelTriple{e.peBlue, e.peGreen, e.peRed}
                               : PixelTriple{static_cast<std::uint8_t>(rng() % red_blue),
                                             static_cast<std::uint8_t>(rng() % green),
                                             static_cast<std::uint8_t>(rng() % red_blue)};
            }
            const PixelGrid written = grid;
            for (auto& b : surface.MutableImage().MutableBits()) b = 0xFF;
            DDBHelper::SetBitmapPixels(surface, bits, grid);
            EXPECT_EQ(grid, written);
            EXPECT_EQ(testing_support::ReadGrid(surface), written);
            const auto colour_bytes = static_cast<std::size_t>(width * ((depth + 7) / 8));
            for (int y = 0; y < height; ++y)
                for (std::size_t i = 0; i < surface.Image().Row(y).size(); ++i) {
                    const bool colour = i < colour_bytes && (depth != 32 || i % 4 != 3);
                    EXPECT_TRUE(colour || surface.Image().Row(y)[i] == 0) << y << ", byte " << i;
                }
        }
}

// A channel past its 15/16-bit field is clamped in the caller's grid as well; at 8
// bits the first nearest entry is stored (the cube's red before the static one).
TEST(Bridge, WritesClampOrMatchEachCell) {
    struct Case {
        int depth;
        PixelTriple in, after;
        int stored;
    };
    const Case cases[] = {
        {16, {10, 200, 20}, {10, 63, 20}, 10 + 32 * (63 + 64 * 20)},
        {15, {1, 200, 2}, {1, 31, 2}, 1 + 32 * (31 + 32 * 2)},
        {15, {40, 40, 40}, {31, 31, 31}, 0x7FFF},
        {8, {0, 0, 250}, {0, 0, 250}, 190},
        {8, {100, 100, 100}, {100, 100, 100}, 96},
    };
    for (const auto& c : cases) {
        Display display(c.depth);
        PictureSurface surface(display);
        LoadSurface(surface, 1, 1, [](int, int) { return 0; });
        PixelGrid grid(1, 1);
        grid(0, 0) = c.in;
        DDBHelper::SetBitmapPixels(surface, static_cast<std::int16_t>(c.depth), grid);
        EXPECT_EQ(grid(0, 0), c.after) << c.depth;
        const auto bits = surface.Image().Bits();
        EXPECT_EQ(bits[0] | (bits[1] << 8), c.stored) << c.depth;
    }
}

// An 8-bit mask has no picture, so no palette to match: that raises, and reads and
// writes then use the system's entries, so colours survive.
TEST(Bridge, EightBitSurfacesWithoutAPictureUseTheSystemPalette) {
    Display display(8);
    PictureSurface surface(display);
    surface.Resize(2, 2);
    core::ClearRaisedError();
    surface.PSet(0, 0, RGB(255, 0, 0));
    PixelGrid grid = testing_support::ReadGrid(surface);
    ASSERT_TRUE(core::LastRaisedError());
    EXPECT_EQ(core::LastRaisedError()->number, static_cast<std::int32_t>(0x800403EAu));
    EXPECT_EQ(grid(0, 0), (PixelTriple{0, 0, 255}));
    grid(1, 1) = {255, 255, 0};
    DDBHelper::SetBitmapPixels(surface, 8, grid);
    EXPECT_EQ(surface.Point(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(surface.Point(1, 1), RGB(0, 255, 255));
}

// An empty surface, and rows without a single pixel (which once passed a null row
// pointer to the block copy), read and write in every format.
TEST(Bridge, SurfacesWithoutPixelsGiveGridsWithoutPixels) {
    for (const int depth : kDepths)
        for (const int height : {0, 5}) {
            Display display(depth);
            PictureSurface surface(display);
            if (height > 0) LoadSurface(surface, 0, height, [](int, int) { return 0; });
            PixelGrid grid(3, 3);
            std::int16_t bits = 0;
            DDBHelper::GetBitmapPixels(surface, grid, bits);
            EXPECT_EQ(grid.Width(), 0) << depth;
            EXPECT_EQ(grid.Height(), height) << depth;
            DDBHelper::SetBitmapPixels(surface, bits, grid);
        }
}

}  // namespace
