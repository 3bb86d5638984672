#include "stereo/paint_picture.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "platform/display.h"
#include "platform/picture_surface.h"
#include "tests/stereo/stage_bench.h"

namespace {

using platform::Bitmap;
using platform::Display;
using platform::PictureSurface;
using stereo_testing::ImageBytes;

// Fills every byte of the image, row padding included, from a simple generator.
void FillBytes(PictureSurface& surface, int width, int height, std::uint32_t seed) {
    surface.Resize(width, height);
    std::uint32_t state = seed;
    for (std::uint8_t& byte : surface.MutableImage().MutableBits()) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
}

// Expected destination: the OR over the overlapping pixels' bytes, padding and
// everything outside the overlap as before.
std::vector<std::uint8_t> OrOverlap(const Bitmap& source, const Bitmap& destination) {
    const auto in = source.Bits();
    std::vector<std::uint8_t> out(destination.Bits().begin(), destination.Bits().end());
    const int bytes_per_pixel = (source.BitsPixel() + 7) / 8;
    for (int y = 0; y < std::min(source.Height(), destination.Height()); ++y)
        for (int i = 0; i < std::min(source.Width(), destination.Width()) * bytes_per_pixel; ++i)
            out[static_cast<std::size_t>(y * destination.WidthBytes() + i)] |=
                in[static_cast<std::size_t>(y * source.WidthBytes() + i)];
    return out;
}

TEST(PaintPictureOr, OrsTheOverlapInEveryDisplayFormat) {
    const struct {
        int source_width, source_height, destination_width, destination_height;
    } sizes[] = {{5, 3, 5, 3}, {1, 1, 1, 1},  {7, 4, 5, 3},
                 {3, 2, 5, 3}, {11, 2, 9, 5}, {0, 0, 4, 2}};
    for (const int bits : stereo_testing::kDisplayDepths)
        for (const auto& size : sizes) {
            SCOPED_TRACE(testing::Message() << bits << " bits, from " << size.source_width << "x"
                                            << size.source_height);
            const Display display(bits);
            PictureSurface source(display);
            PictureSurface destination(display);
            FillBytes(source, size.source_width, size.source_height, 17);
            FillBytes(destination, size.destination_width, size.destination_height, 99);
            const std::vector<std::uint8_t> source_before = ImageBytes(source);
            const std::vector<std::uint8_t> expected =
                OrOverlap(source.Image(), destination.Image());
            const std::int64_t refreshes = destination.RefreshCount();
            stereo::PaintPictureOr(source, destination);
            EXPECT_EQ(ImageBytes(destination), expected);
            EXPECT_EQ(ImageBytes(source), source_before);
            EXPECT_EQ(destination.ScaleWidth(), size.destination_width);
            EXPECT_GT(destination.RefreshCount(), refreshes);
        }
}

// Palette indices at 8 bits, not colours; whole fields onto others and bits within
// every field at 15 and 16 bits; the fourth byte at 32 bits too.
TEST(PaintPictureOr, JoinsFieldsBitwise) {
    const struct {
        int bits;
        std::vector<std::uint8_t> source, destination, expected;  // one pixel's bytes
    } cases[] = {{8, {0x12}, {0x21}, {0x33}},
                 {15, {0x00, 0x7C}, {0xFF, 0x03}, {0xFF, 0x7F}},
                 {15, {0x21, 0x04}, {0x42, 0x08}, {0x63, 0x0C}},
                 {16, {0x00, 0xF8}, {0xFF, 0x07}, {0xFF, 0xFF}},
                 {16, {0x20, 0x00}, {0x40, 0x00}, {0x60, 0x00}},
                 {24, {0x00, 0x00, 0xC6}, {0xEE, 0xDA, 0x00}, {0xEE, 0xDA, 0xC6}},
                 {32, {0, 0, 0xC6, 0x80}, {0xEE, 0xDA, 0, 0x01}, {0xEE, 0xDA, 0xC6, 0x81}}};
    for (const auto& c : cases) {
        const Display display(c.bits);
        PictureSurface source(display);
        PictureSurface destination(display);
        source.Resize(1, 1);
        destination.Resize(1, 1);
        std::copy(c.source.begin(), c.source.end(), source.MutableImage().MutableBits().begin());
        std::copy(c.destination.begin(), c.destination.end(),
                  destination.MutableImage().MutableBits().begin());
        stereo::PaintPictureOr(source, destination);
        const auto bits = destination.Image().Bits();
        EXPECT_EQ(std::vector(bits.begin(), bits.begin() + std::ssize(c.expected)), c.expected)
            << c.bits << " bits, case " << &c - cases;
    }
}

TEST(PaintPictureOr, SharedBitsStayWithTheSource) {
    const Display display(32);
    PictureSurface red(display);
    PictureSurface blue(display);
    PictureSurface final_surface(display);
    FillBytes(red, 4, 3, 5);
    FillBytes(blue, 4, 3, 6);
    final_surface.SetPicture(red.ImageAsPicture());
    ASSERT_TRUE(final_surface.Image().SharesBitsWith(red.Image()));
    const std::vector<std::uint8_t> red_before = ImageBytes(red);
    stereo::PaintPictureOr(blue, final_surface);
    EXPECT_EQ(ImageBytes(red), red_before);
    EXPECT_EQ(ImageBytes(final_surface), OrOverlap(blue.Image(), red.Image()));
}

TEST(PaintPictureOr, OntoItselfOrFromAnotherFormatChangesNothing) {
    const Display display(24);
    PictureSurface surface(display);
    FillBytes(surface, 5, 2, 3);
    const std::vector<std::uint8_t> before = ImageBytes(surface);
    stereo::PaintPictureOr(surface, surface);
    EXPECT_EQ(ImageBytes(surface), before);
    PictureSurface foreign(display);
    Bitmap eight_bits(5, 2, 8);
    for (std::uint8_t& byte : eight_bits.MutableBits()) byte = 0xFF;
    foreign.ReplaceImage(eight_bits);
    stereo::PaintPictureOr(foreign, surface);
    EXPECT_EQ(ImageBytes(surface), before);
}

}  // namespace
