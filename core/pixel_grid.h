#pragma once
// The pixel grid every image stage works on.
//
// Layout: element (x, y) is column x from 0 and row y from 0 at the top; x varies
// fastest. Each element is three bytes, Blue, Green, Red, in that order (the byte
// order of a 24-bit bitmap pixel). A row is a contiguous run of width x 3 bytes and
// rows follow each other with no padding, so a whole row can be moved as one block.
// On 8-, 24- and 32-bit displays the channels run 0 to 255; on 15- and 16-bit
// displays they hold the raw 5- or 6-bit field values.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <type_traits>

namespace core {

// Trivial on purpose, so that a grid can be sized without touching its bytes.
struct PixelTriple {
    std::uint8_t Blue;
    std::uint8_t Green;
    std::uint8_t Red;
    friend bool operator==(const PixelTriple&, const PixelTriple&) = default;
};
static_assert(sizeof(PixelTriple) == 3 && alignof(PixelTriple) == 1);
static_assert(std::is_trivial_v<PixelTriple>);

class PixelGrid {
  public:
    PixelGrid() = default;
    PixelGrid(int width, int height) { Resize(width, height); }
    PixelGrid(const PixelGrid& other);
    PixelGrid& operator=(const PixelGrid& other);
    PixelGrid(PixelGrid&&) noexcept = default;
    PixelGrid& operator=(PixelGrid&&) noexcept = default;

    // Re-sizes to width x height, every channel 0.
    void Resize(int width, int height);
    // Re-sizes without clearing, for a caller that overwrites every byte at once.
    void ResizeForOverwrite(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // Unchecked: (x, y) must lie inside the grid.
    PixelTriple& operator()(int x, int y) { return data_[Index(x, y)]; }
    const PixelTriple& operator()(int x, int y) const { return data_[Index(x, y)]; }

    std::span<PixelTriple> Row(int y) { return {data_.get() + Index(0, y), Size(width_)}; }
    std::span<const PixelTriple> Row(int y) const {
        return {data_.get() + Index(0, y), Size(width_)};
    }
    std::span<PixelTriple> Pixels() { return {data_.get(), Size(width_) * Size(height_)}; }
    std::span<const PixelTriple> Pixels() const {
        return {data_.get(), Size(width_) * Size(height_)};
    }

    friend bool operator==(const PixelGrid& a, const PixelGrid& b);

  private:
    static std::size_t Size(int n) { return static_cast<std::size_t>(n); }
    std::size_t Index(int x, int y) const { return Size(y) * Size(width_) + Size(x); }

    int width_ = 0;
    int height_ = 0;
    std::unique_ptr<PixelTriple[]> data_;
};

}  // namespace core
