#include "platform/bitmap.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace platform {

namespace {

bool IsBitmapDepth(int bits_pixel) {
    switch (bits_pixel) {
        case 1: case 4: case 8: case 16: case 24: case 32: return true;
        default: return false;
    }
}

}  // namespace

std::int64_t Bitmap::StrideFor(int width, int bits_pixel) {
    const std::int64_t bits = static_cast<std::int64_t>(width) * bits_pixel;
    return (bits + 15) / 16 * 2;
}

Bitmap::Bitmap(int width, int height, int bits_pixel)
    : Bitmap(width, height, bits_pixel, LeaveUncleared{}) {
    // Fresh bitmaps start black.
    std::memset(bits_.get(), 0, ByteCount());
}

Bitmap::Bitmap(int width, int height, int bits_pixel, LeaveUncleared) {
    if (width < 0 || height < 0 || width > kMaxBitmapSide || height > kMaxBitmapSide) {
        throw std::invalid_argument("a picture of " + std::to_string(width) + " x " +
                                    std::to_string(height) +
                                    " pixels is too large: at most 32767 pixels each way");
    }
    if (!IsBitmapDepth(bits_pixel)) {
        throw std::invalid_argument("unsupported bitmap depth " + std::to_string(bits_pixel));
    }
    width_ = width;
    height_ = height;
    bits_pixel_ = bits_pixel;
    stride_ = StrideFor(width, bits_pixel);
    bits_ = std::make_shared_for_overwrite<std::uint8_t[]>(std::max<std::size_t>(ByteCount(), 1));
}

Bitmap Bitmap::Uncleared(int width, int height, int bits_pixel) {
    return Bitmap(width, height, bits_pixel, LeaveUncleared{});
}

BitmapHeader Bitmap::GetObject() const {
    BitmapHeader header;
    header.bmWidth = width_;
    header.bmHeight = height_;
    header.bmWidthBytes = static_cast<std::int32_t>(stride_);
    header.bmPlanes = 1;
    header.bmBitsPixel = static_cast<std::int16_t>(bits_pixel_);
    return header;
}

std::span<const std::uint8_t> Bitmap::Bits() const {
    if (!bits_) return {};
    return {bits_.get(), ByteCount()};
}

std::span<std::uint8_t> Bitmap::MutableBits() {
    if (!bits_) return {};
    if (bits_.use_count() > 1) {
        auto own = std::make_shared_for_overwrite<std::uint8_t[]>(std::max<std::size_t>(ByteCount(), 1));
        std::memcpy(own.get(), bits_.get(), ByteCount());
        bits_ = std::move(own);
    }
    return {bits_.get(), ByteCount()};
}

std::span<std::uint8_t> Bitmap::BitsForOverwrite() {
    if (!bits_) return {};
    if (bits_.use_count() > 1)
        bits_ = std::make_shared_for_overwrite<std::uint8_t[]>(std::max<std::size_t>(ByteCount(), 1));
    return {bits_.get(), ByteCount()};
}

std::int64_t Bitmap::GetBitmapBits(std::span<std::uint8_t> out) const {
    const auto bits = Bits();
    const std::size_t n = std::min(out.size(), bits.size());
    if (n) std::memcpy(out.data(), bits.data(), n);
    return static_cast<std::int64_t>(n);
}

std::int64_t Bitmap::SetBitmapBits(std::span<const std::uint8_t> in) {
    const std::size_t n = std::min(in.size(), Bits().size());
    if (n) std::memcpy(MutableBits().data(), in.data(), n);
    return static_cast<std::int64_t>(n);
}

}  // namespace platform
