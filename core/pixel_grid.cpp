#include "core/pixel_grid.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/huge_pages.h"

namespace core {

namespace {

constexpr int kMaxSide = 32767;

void CheckSides(int width, int height) {
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide)
        throw std::invalid_argument("pixel grid sides must lie in 0..32767");
}

}  // namespace

PixelGrid::PixelGrid(const PixelGrid& other) {
    *this = other;
}

PixelGrid& PixelGrid::operator=(const PixelGrid& other) {
    if (this == &other) return *this;
    ResizeForOverwrite(other.width_, other.height_);
    const auto pixels = other.Pixels();
    if (!pixels.empty()) std::memcpy(data_.get(), pixels.data(), pixels.size_bytes());
    return *this;
}

void PixelGrid::Resize(int width, int height) {
    ResizeForOverwrite(width, height);
    const auto pixels = Pixels();
    if (!pixels.empty()) std::memset(pixels.data(), 0, pixels.size_bytes());
}

void PixelGrid::ResizeForOverwrite(int width, int height) {
    CheckSides(width, height);
    const std::size_t count = Size(width) * Size(height);
    if (count != Size(width_) * Size(height_) || !data_) {
        data_ = std::make_unique_for_overwrite<PixelTriple[]>(std::max<std::size_t>(count, 1));
        platform::AdviseHugePages(data_.get(), count * sizeof(PixelTriple));
    }
    width_ = width;
    height_ = height;
}

bool operator==(const PixelGrid& a, const PixelGrid& b) {
    if (a.width_ != b.width_ || a.height_ != b.height_) return false;
    const auto pa = a.Pixels();
    const auto pb = b.Pixels();
    return pa.empty() || std::memcmp(pa.data(), pb.data(), pa.size_bytes()) == 0;
}

}  // namespace core
