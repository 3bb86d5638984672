#include "stereo/area_squeeze.h"

#include <algorithm>
#include <stdexcept>

namespace stereo {

// Old pixel j covers [j x to, (j + 1) x to) and new pixel i covers [i x from,
// (i + 1) x from) of one line; their overlap is the weight.
AreaSqueeze::AreaSqueeze(int from, int to) : from_(from), to_(to) {
    if (to < 0 || from < to) throw std::invalid_argument("an area squeeze cannot widen");
    const auto f = static_cast<std::int64_t>(from);
    const auto t = static_cast<std::int64_t>(to);
    first_.reserve(static_cast<std::size_t>(to));
    begin_.reserve(static_cast<std::size_t>(to) + 1);
    for (std::int64_t i = 0; i < t; ++i) {
        const std::int64_t start = i * f;
        const std::int64_t end = start + f;
        first_.push_back(static_cast<int>(start / t));
        begin_.push_back(weights_.size());
        for (std::int64_t j = start / t; j * t < end; ++j) {
            const std::int64_t overlap = std::min(end, (j + 1) * t) - std::max(start, j * t);
            weights_.push_back(static_cast<std::int32_t>(overlap));
        }
    }
    begin_.push_back(weights_.size());
}

AreaSqueeze::Cover AreaSqueeze::CoverOf(int i) const {
    const auto n = static_cast<std::size_t>(i);
    return {first_[n],
            std::span<const std::int32_t>(weights_).subspan(begin_[n], begin_[n + 1] - begin_[n])};
}

std::uint8_t AreaMean(std::int64_t sum, int from) {
    return static_cast<std::uint8_t>((sum + from / 2) / from);
}

void AreaSqueeze::Row(std::span<const core::PixelTriple> in,
                      std::span<core::PixelTriple> out) const {
    for (int i = 0; i < to_; ++i) {
        const Cover cover = CoverOf(i);
        std::int64_t blue = 0;
        std::int64_t green = 0;
        std::int64_t red = 0;
        const core::PixelTriple* p = in.data() + cover.first;
        for (std::size_t k = 0; k < cover.weights.size(); ++k) {
            blue += cover.weights[k] * p[k].Blue;
            green += cover.weights[k] * p[k].Green;
            red += cover.weights[k] * p[k].Red;
        }
        out[static_cast<std::size_t>(i)] = {AreaMean(blue, from_), AreaMean(green, from_),
                                            AreaMean(red, from_)};
    }
}

}  // namespace stereo
