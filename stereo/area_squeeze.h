#pragma once
// Squeezing a run of pixels to fewer by area: each new pixel is the mean of the old
// pixels it covers, weighted by how much of each it covers. No pixel is dropped, and
// the sums are whole numbers, so the result is exact up to one rounding.
#include <cstdint>
#include <span>
#include <vector>

#include "core/pixel_grid.h"

namespace stereo {

class AreaSqueeze {
  public:
    // From `from` pixels to `to` pixels (to <= from; to may be 0).
    AreaSqueeze(int from, int to);

    int From() const { return from_; }
    int To() const { return to_; }

    // What new pixel i covers: old pixels first .. first + weights.size() - 1, each
    // with its weight; the weights add up to From().
    struct Cover {
        int first;
        std::span<const std::int32_t> weights;
    };
    Cover CoverOf(int i) const;

    // One row: `in` has From() pixels, `out` To().
    void Row(std::span<const core::PixelTriple> in, std::span<core::PixelTriple> out) const;

  private:
    int from_;
    int to_;
    std::vector<int> first_;          // by new pixel
    std::vector<std::size_t> begin_;  // by new pixel, into weights_; one more at the end
    std::vector<std::int32_t> weights_;
};

// The weighted mean of whole-number channel sums: (sum + from / 2) / from.
std::uint8_t AreaMean(std::int64_t sum, int from);

}  // namespace stereo
