#include "platform/blank_images.h"

#include <cstring>

#include "platform/streaming.h"

namespace platform {

Bitmap BlankImages::Filled(int width, int height, int bits_pixel, std::uint32_t pixel) {
    if (pixel == 0 || bits_pixel < 8) return Bitmap(width, height, bits_pixel);
    if (bits_pixel == 32) {
        // No row padding at 32 bits: the whole bitmap is one run of the pixel.
        Bitmap blank = Bitmap::Uncleared(width, height, bits_pixel);
        const auto bits = blank.BitsForOverwrite();
        streaming::FillWords(bits.data(), bits.size() / 4, pixel,
                             streaming::Worthwhile(bits.size()));
        return blank;
    }
    Bitmap blank(width, height, bits_pixel);
    if (blank.Empty()) return blank;
    // One row of the colour, then block copies of it; the row padding stays 0.
    const int bytes_per_pixel = bits_pixel / 8;
    auto bits = blank.MutableBits();
    for (int x = 0; x < width; ++x)
        for (int i = 0; i < bytes_per_pixel; ++i)
            bits[static_cast<std::size_t>(x * bytes_per_pixel + i)] =
                static_cast<std::uint8_t>(pixel >> (8 * i));
    const auto stride = static_cast<std::size_t>(blank.WidthBytes());
    for (int y = 1; y < height; ++y)
        std::memcpy(bits.data() + stride * static_cast<std::size_t>(y), bits.data(), stride);
    return blank;
}

Bitmap BlankImages::Shared(int width, int height, int bits_pixel, std::uint32_t pixel) {
    const bool same =
        width == width_ && height == height_ && bits_pixel == bits_pixel_ && pixel == pixel_;
    if (same) {
        if (auto bits = bits_.lock()) {
            Bitmap blank;
            blank.width_ = width;
            blank.height_ = height;
            blank.bits_pixel_ = bits_pixel;
            blank.stride_ = Bitmap::StrideFor(width, bits_pixel);
            blank.bits_ = std::move(bits);
            return blank;
        }
    }
    Bitmap blank = Filled(width, height, bits_pixel, pixel);
    width_ = width;
    height_ = height;
    bits_pixel_ = bits_pixel;
    pixel_ = pixel;
    bits_ = blank.bits_;
    return blank;
}

}  // namespace platform
