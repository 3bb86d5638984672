#pragma once
// The byte rules of the channel masks, shared by the masks made surface by surface and
// the anaglyph joined row by row while the scaled views are warped.
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/kept_bytes.h"

namespace stereo {

// DimChannel in 16-bit lanes: (99 c + 50) / 100, the division a multiply by
// 41944 / 2^22, exact for every sum up to 99 x 255 + 50. Equal to DimChannel for
// every byte, which the tests check one by one.
inline constexpr std::uint8_t DimByte(std::uint8_t c) {
    const auto sum = static_cast<std::uint16_t>(99 * c + 50);
    const auto high = static_cast<std::uint16_t>((static_cast<std::uint32_t>(sum) * 41944u) >> 16);
    return static_cast<std::uint8_t>(high >> 6);
}

// Byte j of a run of 32 pixels is kept (0xFF) or cleared (0) by a mask.
using KeptBytes = core::KeptRun<32, 3>;

inline constexpr KeptBytes Kept(bool blue, bool green, bool red) {
    return core::KeptRunOf<32, 3>(blue, green, red);
}

inline constexpr KeptBytes kRedKept = Kept(false, false, true);
inline constexpr KeptBytes kCyanKept = Kept(true, true, false);

}  // namespace stereo
