#pragma once
// The menus' choices that a conversion reads, with their defaults. The values the
// dialogs set live in tavs_mod.h; the keys they are stored under, in settings_table.h.
#include <cstdint>

namespace core {

struct ConversionSettings {
    std::int16_t DepthCue = 0;    // 0..5 pick a cue; anything else runs none
    std::int16_t CueColor = 0;    // colour cue variant 0..5; anything else: channel mean
    std::int16_t BlurChoice = 0;  // 0 none, 1..5 a filter; anything else: none
    std::int16_t Cue = 0;         // the checked Cues entry, 0..9
    std::int16_t Lens = 0;        // 0 "Red - Blue", 1 "Blue - Red"
    std::int16_t FrameColor = 0;  // 1 white; anything else black
    std::int16_t ShowFrame = 0;   // 1 draws the frame
    std::int16_t FrameType = 0;   // 0 sides only; anything else all four sides
    bool DoWarp = false;
    bool DoShift = false;

    friend bool operator==(const ConversionSettings&, const ConversionSettings&) = default;
};

}  // namespace core
