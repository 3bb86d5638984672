#pragma once
// The values the main window shares with both dialogs and the stages: the warp
// divisor, the added depth, the depth levels and the channel gains. A conversion
// reads its own copy, so a dialog that changes them meanwhile cannot reach a run.
#include <array>
#include <cstdint>

namespace TavsMod {

inline constexpr std::array<std::int16_t, 5> kDefaultDepth = {50, 100, 150, 200, 255};

struct Values {
    std::int16_t glbWarp = 24;
    std::int16_t glbShift = 6;
    std::array<std::int16_t, 5> Depth = kDefaultDepth;
    std::array<std::int16_t, 3> glbFactors = {1, 1, 1};  // red, green, blue gains

    friend bool operator==(const Values&, const Values&) = default;
};

}  // namespace TavsMod
