#pragma once
// round(s / divisor) for the sums the stages form, rounded to the nearest integer
// with ties to the even one (1/2 gives 0, 3/2 gives 2, 255/2 gives 128), in integer
// arithmetic that row loops can vectorise. Each agrees with std::nearbyint(s /
// divisor) for every sum up to the largest its stage can form, which the tests check
// one by one.
namespace depth {

// s = 0..510. A half carries only onto an odd quotient.
constexpr unsigned RoundedHalf(unsigned s) {
    return (s + ((s >> 1) & 1)) >> 1;
}

// s = 0..765. A third never falls on a half, so this is (s + 1) / 3, and dividing by 3
// is multiplying by 43691 / 2^17 for every s in range.
constexpr unsigned RoundedThird(unsigned s) {
    return ((s + 1) * 43691u) >> 17;
}

// s = 0..2295. A ninth never falls on a half: (s + 4) / 9, by 7282 / 2^16.
constexpr unsigned RoundedNinth(unsigned s) {
    return ((s + 4) * 7282u) >> 16;
}

// s = 0..4080. Adds just under a half, and the last bit of the quotient, so that only a
// sixteenth above a half, or a half onto an odd quotient, carries.
constexpr unsigned RoundedSixteenth(unsigned s) {
    return (s + 7 + ((s >> 4) & 1)) >> 4;
}

}  // namespace depth
