#pragma once
// A plane of single-precision values, row after row with no padding: the working
// surface of the scene-depth steps, which compute on a reduced copy of the picture.
#include <cstddef>
#include <span>
#include <vector>

namespace depth {

class FloatPlane {
  public:
    FloatPlane() = default;
    FloatPlane(int width, int height, float fill = 0.0f)
        : width_(width), height_(height), values_(Size(width) * Size(height), fill) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return values_.empty(); }

    std::span<float> Row(int y) { return {values_.data() + Size(y) * Size(width_), Size(width_)}; }
    std::span<const float> Row(int y) const {
        return {values_.data() + Size(y) * Size(width_), Size(width_)};
    }
    std::span<float> Values() { return values_; }
    std::span<const float> Values() const { return values_; }
    // Unchecked: (x, y) must lie inside the plane.
    float& operator()(int x, int y) { return values_[Size(y) * Size(width_) + Size(x)]; }
    float operator()(int x, int y) const { return values_[Size(y) * Size(width_) + Size(x)]; }

  private:
    static std::size_t Size(int n) { return n > 0 ? static_cast<std::size_t>(n) : 0; }

    int width_ = 0;
    int height_ = 0;
    std::vector<float> values_;
};

}  // namespace depth
