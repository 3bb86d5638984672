#pragma once
// Device-dependent bitmaps as the old graphics interface kept them.
//
// Memory layout: rows from top to bottom, each row `WidthBytes()` bytes long, that
// is width x bits per pixel rounded up to a whole 16-bit word (the old platform
// aligned bitmap rows to words, and a one-block read relies on the same stride).
// Pixel x of a row starts at byte x x bytes per pixel. Multi-byte pixels are little
// endian. The bytes are shared between copies until one of them is written
// (copy on write), so handing a bitmap from a surface's image to its picture costs
// nothing until the image is drawn on again.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace platform {

// Widths and heights are 16-bit signed in the pixel grid; nothing larger is ever made.
inline constexpr int kMaxBitmapSide = 32767;

#pragma pack(push, 2)
// The 24-byte bitmap record; bmBits is a 32-bit handle slot that nothing here uses.
struct BitmapHeader {
    std::int32_t bmType = 0;
    std::int32_t bmWidth = 0;
    std::int32_t bmHeight = 0;
    std::int32_t bmWidthBytes = 0;
    std::int16_t bmPlanes = 1;
    std::int16_t bmBitsPixel = 0;
    std::uint32_t bmBits = 0;
};
#pragma pack(pop)
static_assert(sizeof(BitmapHeader) == 24);

class Bitmap {
  public:
    Bitmap() = default;
    // bits_pixel is what the header reports: 1, 4, 8, 16, 24 or 32. The bytes start zero.
    // Throws std::invalid_argument for a side above kMaxBitmapSide, a negative side or
    // another depth, std::bad_alloc when memory runs out.
    Bitmap(int width, int height, int bits_pixel);

    // As the constructor, but the bytes are left as they come: for a caller that writes
    // every one of them, row padding included, before anything reads them.
    static Bitmap Uncleared(int width, int height, int bits_pixel);
    // A bitmap whose every pixel is `pixel` (its low bytes, little endian) and whose row
    // padding is 0. The bytes are made when something first reads or changes them: a
    // cleared surface is as a rule given another picture or overwritten whole, and
    // then its blank never costs a fill. Copies made before that make their own.
    static Bitmap Blank(int width, int height, int bits_pixel, std::uint32_t pixel);

    static std::int64_t StrideFor(int width, int bits_pixel);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitsPixel() const { return bits_pixel_; }
    std::int64_t WidthBytes() const { return stride_; }
    std::int64_t SizeBytes() const { return stride_ * height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }

    BitmapHeader GetObject() const;
    // Copies up to out.size() bytes from the start of the bits; returns the count copied.
    std::int64_t GetBitmapBits(std::span<std::uint8_t> out) const;
    // Replaces up to in.size() bytes from the start of the bits; returns the count written.
    std::int64_t SetBitmapBits(std::span<const std::uint8_t> in);

    std::span<const std::uint8_t> Bits() const;
    // Unshares the bytes first, so that no other copy sees the change.
    std::span<std::uint8_t> MutableBits();
    // For a caller about to overwrite every byte: unshares without copying, so the
    // bytes are unspecified until written.
    std::span<std::uint8_t> BitsForOverwrite();
    std::span<const std::uint8_t> Row(int y) const { return Bits().subspan(Offset(y), RowSize()); }
    std::span<std::uint8_t> MutableRow(int y) {
        return MutableBits().subspan(Offset(y), RowSize());
    }

    bool SharesBitsWith(const Bitmap& other) const { return bits_ && bits_ == other.bits_; }
    // Another copy holds the same bytes (a blank not yet made holds none).
    bool SharesBits() const { return bits_ && bits_.use_count() > 1; }

  private:
    // Checks and sets the shape; no bytes yet.
    struct Shape {};
    Bitmap(int width, int height, int bits_pixel, Shape);
    void Allocate() const;
    // Makes the bytes of a blank whose bytes are not made yet.
    void MakeBlankBytes() const;

    std::size_t ByteCount() const { return static_cast<std::size_t>(SizeBytes()); }
    std::size_t Offset(int y) const { return static_cast<std::size_t>(stride_ * y); }
    std::size_t RowSize() const { return static_cast<std::size_t>(stride_); }

    int width_ = 0;
    int height_ = 0;
    int bits_pixel_ = 0;
    std::int64_t stride_ = 0;
    // Both change in const accessors only to make a blank's bytes on first use.
    mutable std::shared_ptr<std::uint8_t[]> bits_;
    mutable std::optional<std::uint32_t> blank_pixel_;  // set while a blank has no bytes
};

}  // namespace platform
