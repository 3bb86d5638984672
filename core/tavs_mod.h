#pragma once
// The process-wide values shared by the main window, both dialogs and the stages:
// the warp divisor, the added depth, the depth levels and the channel gains (all
// settings), and the run flag and progress band state of a conversion.
#include <array>
#include <cstdint>

namespace TavsMod {

inline constexpr std::array<std::int16_t, 5> kDefaultDepth = {50, 100, 150, 200, 255};
inline constexpr std::int16_t kTrue = -1;  // the run flag's "busy"

struct Values {
    std::int16_t glbWarp = 24;
    std::int16_t glbShift = 6;
    std::array<std::int16_t, 5> Depth = kDefaultDepth;
    std::array<std::int16_t, 3> glbFactors = {1, 1, 1};  // red, green, blue gains
    std::int16_t glbBusy = 0;
    float glbBandWidth = 0.0f;
    float glbBandStep = 0.0f;
};

// The one block of the running program. Stages reach it through their context, so
// tests can hand them a block of their own.
Values& Globals();

}  // namespace TavsMod
