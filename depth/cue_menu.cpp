#include <array>

#include "depth/gray_scale.h"

namespace GrayScale {

namespace {

struct CueEntry {
    std::int16_t depth_cue;
    std::int16_t cue_color;  // kKeep: the entry leaves CueColor alone
};

inline constexpr std::int16_t kKeep = -1;

// By entry: "RGB", "UTI", "Red", "Green", "Blue", "Yellow", "Magenta", "Cyan",
// "Luminance", "Saturation". "UTI" runs the same cue as "Green"; only the checked
// entry tells them apart.
constexpr std::array<CueEntry, 10> kEntries = {
    {{0, kKeep}, {2, 1}, {2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}, {3, kKeep}, {4, kKeep}}};

}  // namespace

void SelectCue(core::ConversionSettings& settings, std::int16_t index) {
    if (index < 0 || index >= static_cast<std::int16_t>(kEntries.size())) return;
    const CueEntry& entry = kEntries[static_cast<std::size_t>(index)];
    settings.DepthCue = entry.depth_cue;
    if (entry.cue_color != kKeep) settings.CueColor = entry.cue_color;
    settings.Cue = index;
}

}  // namespace GrayScale
