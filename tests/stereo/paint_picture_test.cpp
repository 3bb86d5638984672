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

struct SizeCase {
    int source_width;
    int source_height;
    int destination_width;
    int destination_height;
};

class PaintOr : public ::testing::TestWithParam<std::tuple<int, SizeCase>> {};

TEST_P(PaintOr, OrsTheOverlapInTheDisplayFormat) {
    const auto [depth_bits, size] = GetParam();
    const Display display(depth_bits);
    PictureSurface source(display);
    PictureSurface destination(display);
    FillBytes(source, size.source_width, size.source_height, 17);
    FillBytes(destination, size.destination_width, size.destination_height, 99);
    const std::vector<std::uint8_t> source_before = stereo_testing::ImageBytes(source);
    const std::vector<std::uint8_t> expected = OrOverlap(source.Image(), destination.Image());
    const std::int64_t refreshes = destination.RefreshCount();

    stereo::PaintPictureOr(source, destination);

    EXPECT_EQ(stereo_testing::ImageBytes(destination), expected);
    EXPECT_EQ(stereo_testing::ImageBytes(source), source_before);
    EXPECT_EQ(destination.ScaleWidth(), size.destination_width);
    EXPECT_GT(destination.RefreshCount(), refreshes);
}

INSTANTIATE_TEST_SUITE_P(
    FormatsAndSizes, PaintOr,
    ::testing::Combine(::testing::ValuesIn(stereo_testing::kDisplayDepths),
                       ::testing::Values(SizeCase{5, 3, 5, 3}, SizeCase{1, 1, 1, 1},
                                         SizeCase{7, 4, 5, 3}, SizeCase{3, 2, 5, 3},
                                         SizeCase{11, 2, 9, 5}, SizeCase{0, 0, 4, 2})));

struct PixelCase {
    int depth_bits;
    std::vector<std::uint8_t> source;  // one pixel's bytes
    std::vector<std::uint8_t> destination;
    std::vector<std::uint8_t> expected;
    const char* what;
};

class PaintOrPixel : public ::testing::TestWithParam<PixelCase> {};

TEST_P(PaintOrPixel, JoinsFieldsBitwise) {
    const PixelCase& c = GetParam();
    const Display display(c.depth_bits);
    PictureSurface source(display);
    PictureSurface destination(display);
    source.Resize(1, 1);
    destination.Resize(1, 1);
    std::copy(c.source.begin(), c.source.end(), source.MutableImage().MutableBits().begin());
    std::copy(c.destination.begin(), c.destination.end(),
              destination.MutableImage().MutableBits().begin());

    stereo::PaintPictureOr(source, destination);

    const auto bits = destination.Image().Bits();
    EXPECT_EQ(std::vector<std::uint8_t>(bits.begin(), bits.begin() + c.expected.size()), c.expected)
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, PaintOrPixel,
    ::testing::Values(
        PixelCase{8, {0x12}, {0x21}, {0x33}, "8 bits: palette indices, not colours"},
        PixelCase{
            15, {0x00, 0x7C}, {0xFF, 0x03}, {0xFF, 0x7F}, "15 bits: red field onto green+blue"},
        PixelCase{15, {0x21, 0x04}, {0x42, 0x08}, {0x63, 0x0C}, "15 bits: 1|2 in every field"},
        PixelCase{
            16, {0x00, 0xF8}, {0xFF, 0x07}, {0xFF, 0xFF}, "16 bits: red field onto green+blue"},
        PixelCase{16, {0x20, 0x00}, {0x40, 0x00}, {0x60, 0x00}, "16 bits: green 1|2"},
        PixelCase{24, {0x00, 0x00, 0xC6}, {0xEE, 0xDA, 0x00}, {0xEE, 0xDA, 0xC6}, "24 bits"},
        PixelCase{32,
                  {0x00, 0x00, 0xC6, 0x80},
                  {0xEE, 0xDA, 0x00, 0x01},
                  {0xEE, 0xDA, 0xC6, 0x81},
                  "32 bits: the fourth byte is ORed too"}));

TEST(PaintPictureOr, SharedBitsStayWithTheSource) {
    const Display display(32);
    PictureSurface red(display);
    PictureSurface blue(display);
    PictureSurface final_surface(display);
    FillBytes(red, 4, 3, 5);
    FillBytes(blue, 4, 3, 6);
    final_surface.SetPicture(red.ImageAsPicture());
    ASSERT_TRUE(final_surface.Image().SharesBitsWith(red.Image()));
    const std::vector<std::uint8_t> red_before = stereo_testing::ImageBytes(red);

    stereo::PaintPictureOr(blue, final_surface);

    EXPECT_EQ(stereo_testing::ImageBytes(red), red_before);
    EXPECT_EQ(stereo_testing::ImageBytes(final_surface), OrOverlap(blue.Image(), red.Image()));
}

TEST(PaintPictureOr, OntoItselfChangesNothing) {
    const Display display(24);
    PictureSurface surface(display);
    FillBytes(surface, 5, 2, 3);
    const std::vector<std::uint8_t> before = stereo_testing::ImageBytes(surface);
    stereo::PaintPictureOr(surface, surface);
    EXPECT_EQ(stereo_testing::ImageBytes(surface), before);
}

TEST(PaintPictureOr, ImageOfAnotherFormatIsNotPainted) {
    const Display display(32);
    PictureSurface source(display);
    PictureSurface destination(display);
    FillBytes(destination, 4, 2, 8);
    Bitmap foreign(4, 2, 8);
    for (std::uint8_t& byte : foreign.MutableBits()) byte = 0xFF;
    source.ReplaceImage(foreign);
    const std::vector<std::uint8_t> before = stereo_testing::ImageBytes(destination);

    stereo::PaintPictureOr(source, destination);

    EXPECT_EQ(stereo_testing::ImageBytes(destination), before);
}

}  // namespace
