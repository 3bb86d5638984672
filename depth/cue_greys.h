#pragma once
// Grey values of the depth cues that need more than a rounded quotient.
#include <array>
#include <cstdint>

#include "core/pixel_grid.h"

namespace GrayScale::detail {

// Cue 1. The weights and the three products are single precision. The products are
// whole multiples of 2^-27 below 256, so their sum, taken in double, is exact: it is
// kept as a whole count of 2^-32 and rounded half to even without a float in the loop.
class WeightedGrey {
  public:
    WeightedGrey();  // computes the weights, as every call of the cue does
    std::uint8_t operator()(const core::PixelTriple& p) const {
        return RoundFixed(red_[p.Red] + green_[p.Green] + blue_[p.Blue]);
    }

  private:
    static constexpr int kFractionBits = 32;
    // Adds just under a half, and the last bit of the whole part, so that only a
    // fraction above a half, or exactly a half on an odd whole, carries; no branch, as
    // the fractions of neighbouring pixels follow no pattern.
    static std::uint8_t RoundFixed(std::int64_t sum) {
        const std::int64_t half = std::int64_t{1} << (kFractionBits - 1);
        const std::int64_t odd = (sum >> kFractionBits) & 1;
        return static_cast<std::uint8_t>((sum + half - 1 + odd) >> kFractionBits);
    }
    using Products = std::array<std::int64_t, 256>;
    static Products ProductsOf(float weight);
    Products red_, green_, blue_;
};

// Cue 5: the index i of the band BandLevels(i) <= mean < BandLevels(i + 1) for each
// mean 0..255, kNoBand for 255, and the level each band sets.
inline constexpr std::uint8_t kNoBand = 0xFF;
inline constexpr std::array<std::int16_t, 12> kBandLevels = {0,   25,  50,  75,  100, 125,
                                                             150, 175, 200, 225, 250, 255};
inline constexpr int kBandCount = static_cast<int>(kBandLevels.size()) - 1;
const std::array<std::uint8_t, 256>& BandOfMean();

}  // namespace GrayScale::detail
