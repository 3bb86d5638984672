#pragma once
// Colours travel as the old toolkit's 32-bit values: red in the low byte, green in
// the middle byte, blue in the high byte (0x00BBGGRR). -1 means "no colour" (a pixel
// read outside a surface). Bit 25 (0x02000000) marks a palette-relative colour.
#include <cstdint>

namespace platform {

using Rgb = std::int32_t;

inline constexpr Rgb kNoColor = -1;
inline constexpr std::uint32_t kPaletteRelative = 0x02000000u;

constexpr Rgb RGB(int red, int green, int blue) {
    return static_cast<Rgb>((static_cast<std::uint32_t>(blue & 0xFF) << 16) |
                            (static_cast<std::uint32_t>(green & 0xFF) << 8) |
                            static_cast<std::uint32_t>(red & 0xFF));
}
constexpr int RedOf(Rgb c) {
    return c & 0xFF;
}
constexpr int GreenOf(Rgb c) {
    return (c >> 8) & 0xFF;
}
constexpr int BlueOf(Rgb c) {
    return (c >> 16) & 0xFF;
}

}  // namespace platform
