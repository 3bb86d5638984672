#pragma once
// Where a pixel's centre lies between the landings of two neighbouring source pixels,
// as a weight in 256ths: (offset << 8) / span. A division per pixel cost more than
// the rest of the warp; the span takes few values, so a multiply by its reciprocal
// from a table gives the same quotient (for every span up to kMaxWeightSpan and every
// offset below the span, which the tests check one by one).
#include <array>
#include <cstddef>
#include <cstdint>

namespace stereo {

inline constexpr std::int32_t kMaxWeightSpan = 512;

// ceil(2^31 / span): its error, times any offset below 512, stays under the 1/512
// that separates two quotients, so the floor of the product is the floor of the
// quotient.
inline constexpr std::array<std::uint32_t, kMaxWeightSpan + 1> kWeightReciprocals = [] {
    std::array<std::uint32_t, kMaxWeightSpan + 1> table{};
    for (std::uint64_t span = 1; span < table.size(); ++span)
        table[span] = static_cast<std::uint32_t>(((std::uint64_t{1} << 31) + span - 1) / span);
    return table;
}();

// For spans 1 to kMaxWeightSpan.
inline std::uint32_t WeightReciprocal(std::int32_t span) {
    return kWeightReciprocals[static_cast<std::size_t>(span)];
}

inline std::uint32_t SpanWeight(std::uint32_t offset, std::uint32_t reciprocal) {
    return static_cast<std::uint32_t>((std::uint64_t{offset} * reciprocal) >> 23);
}

}  // namespace stereo
