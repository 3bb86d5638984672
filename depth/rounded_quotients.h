#pragma once
// round(s / divisor) for the sums the stages form, rounded to the nearest integer
// with ties to the even one (1/2 gives 0, 3/2 gives 2, 255/2 gives 128), in 16-bit
// integer arithmetic that row loops can vectorise (a multiply and a shift by 16 is one
// high-half multiply). Each agrees with std::nearbyint(s / divisor) for every sum up to
// the largest its stage can form, which the tests check one by one.
#include <cstdint>

namespace depth {

// s = 0..510. A half carries only onto an odd quotient.
constexpr std::uint16_t RoundedHalf(std::uint16_t s) {
    return static_cast<std::uint16_t>((s + ((s >> 1) & 1)) >> 1);
}

// s = 0..765. A third never falls on a half, so this is (s + 1) / 3, and dividing by 3
// is multiplying by 43691 / 2^17 for every s in range.
constexpr std::uint16_t RoundedThird(std::uint16_t s) {
    const auto n = static_cast<std::uint16_t>(s + 1);
    return static_cast<std::uint16_t>(((static_cast<std::uint32_t>(n) * 43691u) >> 16) >> 1);
}

// s = 0..2295. A ninth never falls on a half: (s + 4) / 9, by 7282 / 2^16.
constexpr std::uint16_t RoundedNinth(std::uint16_t s) {
    const auto n = static_cast<std::uint16_t>(s + 4);
    return static_cast<std::uint16_t>((static_cast<std::uint32_t>(n) * 7282u) >> 16);
}

// s = 0..4080. Adds just under a half, and the last bit of the quotient, so that only a
// sixteenth above a half, or a half onto an odd quotient, carries.
constexpr std::uint16_t RoundedSixteenth(std::uint16_t s) {
    return static_cast<std::uint16_t>((s + 7 + ((s >> 4) & 1)) >> 4);
}

}  // namespace depth
