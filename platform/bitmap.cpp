#include "platform/bitmap.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/huge_pages.h"
#include "platform/streaming.h"

namespace platform {

namespace {

bool IsBitmapDepth(int bits_pixel) {
    switch (bits_pixel) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            return true;
        default:
            return false;
    }
}

std::shared_ptr<std::uint8_t[]> NewBits(std::size_t count) {
    auto bits = std::make_shared_for_overwrite<std::uint8_t[]>(std::max<std::size_t>(count, 1));
    AdviseHugePages(bits.get(), count);
    return bits;
}

}  // namespace

std::int64_t Bitmap::StrideFor(int width, int bits_pixel) {
    const std::int64_t bits = static_cast<std::int64_t>(width) * bits_pixel;
    return (bits + 15) / 16 * 2;
}

Bitmap::Bitmap(int width, int height, int bits_pixel) : Bitmap(width, height, bits_pixel, Shape{}) {
    Allocate();
    // Fresh bitmaps start black.
    std::memset(bits_.get(), 0, ByteCount());
}

Bitmap::Bitmap(int width, int height, int bits_pixel, Shape) {
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
}

void Bitmap::Allocate() const {
    bits_ = NewBits(ByteCount());
}

Bitmap Bitmap::Uncleared(int width, int height, int bits_pixel) {
    Bitmap bitmap(width, height, bits_pixel, Shape{});
    bitmap.Allocate();
    return bitmap;
}

Bitmap Bitmap::Blank(int width, int height, int bits_pixel, std::uint32_t pixel) {
    if (bits_pixel < 8) return Bitmap(width, height, bits_pixel);  // no whole-byte pixels
    Bitmap blank(width, height, bits_pixel, Shape{});
    blank.blank_pixel_ = pixel;
    return blank;
}

void Bitmap::MakeBlankBytes() const {
    const std::uint32_t pixel = *blank_pixel_;
    blank_pixel_.reset();
    Allocate();
    const std::span<std::uint8_t> bits{bits_.get(), ByteCount()};
    if (bits_pixel_ == 32) {
        // No row padding at 32 bits: the whole bitmap is one run of the pixel.
        streaming::FillWords(bits.data(), bits.size() / 4, pixel,
                             streaming::Worthwhile(bits.size()));
        return;
    }
    std::memset(bits.data(), 0, bits.size());
    if (Empty()) return;
    // One row of the colour, then block copies of it; the row padding stays 0.
    const int bytes_per_pixel = bits_pixel_ / 8;
    for (int x = 0; x < width_; ++x)
        for (int i = 0; i < bytes_per_pixel; ++i)
            bits[static_cast<std::size_t>(x * bytes_per_pixel + i)] =
                static_cast<std::uint8_t>(pixel >> (8 * i));
    for (int y = 1; y < height_; ++y) std::memcpy(bits.data() + Offset(y), bits.data(), RowSize());
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
    if (blank_pixel_) MakeBlankBytes();
    if (!bits_) return {};
    return {bits_.get(), ByteCount()};
}

std::span<std::uint8_t> Bitmap::MutableBits() {
    if (blank_pixel_) MakeBlankBytes();
    if (!bits_) return {};
    if (bits_.use_count() > 1) {
        auto own = NewBits(ByteCount());
        std::memcpy(own.get(), bits_.get(), ByteCount());
        bits_ = std::move(own);
    }
    return {bits_.get(), ByteCount()};
}

std::span<std::uint8_t> Bitmap::BitsForOverwrite() {
    if (blank_pixel_) {
        blank_pixel_.reset();  // every byte is about to be written: no fill
        Allocate();
    }
    if (!bits_) return {};
    if (bits_.use_count() > 1) bits_ = NewBits(ByteCount());
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
