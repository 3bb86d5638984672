#include "depth/cue_greys.h"

#include <cmath>
#include <cstddef>

namespace GrayScale::detail {

namespace {

// A quotient of whole numbers, taken in double and kept in single precision.
float Weight(int thousandths) {
    return static_cast<float>(thousandths / 1000.0);
}

}  // namespace

WeightedGrey::Products WeightedGrey::ProductsOf(float weight) {
    Products products{};
    for (int v = 0; v < 256; ++v) {
        const float product = weight * static_cast<float>(v);
        products[static_cast<std::size_t>(v)] =
            static_cast<std::int64_t>(std::ldexp(static_cast<double>(product), kFractionBits));
    }
    return products;
}

WeightedGrey::WeightedGrey()
    : red_(ProductsOf(Weight(222))),
      green_(ProductsOf(Weight(707))),
      blue_(ProductsOf(Weight(71))) {}

const std::array<std::uint8_t, 256>& BandOfMean() {
    static const auto table = [] {
        std::array<std::uint8_t, 256> bands{};
        bands.fill(kNoBand);
        for (int mean = 0; mean < 256; ++mean)
            for (int i = 0; i < kBandCount; ++i)
                if (kBandLevels[static_cast<std::size_t>(i)] <= mean &&
                    mean < kBandLevels[static_cast<std::size_t>(i) + 1])
                    bands[static_cast<std::size_t>(mean)] = static_cast<std::uint8_t>(i);
        return bands;
    }();
    return table;
}

}  // namespace GrayScale::detail
