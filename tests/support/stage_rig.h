#pragma once
// A display, the window's surfaces, settings, the dialogs' values and a fake
// progress, wired into a stage context, for running one stage at a time; the depth cues and
// filters run through the stage table, as the conversion runs them.
#include <cstdint>
#include <vector>

#include "conversion/standard_stages.h"
#include "core/pixel_grid.h"
#include "core/workspace.h"
#include "platform/display.h"
#include "tests/support/fake_progress.h"
#include "tests/support/pictures.h"

namespace depth_tests {

struct StageRig {
    explicit StageRig(int bits_per_pixel = 24)
        : display(bits_per_pixel), surfaces(display), context{surfaces, settings, globals,
                                                              progress, run,      parallax} {}
    StageRig(const StageRig&) = delete;
    StageRig& operator=(const StageRig&) = delete;

    void CancelAtYield(int n) { progress.CancelAtYield(n); }

    platform::Display display;
    core::Workspace surfaces;
    core::ConversionSettings settings;
    TavsMod::Values globals;
    testing_support::FakeProgress progress;
    core::RunState run;
    core::ParallaxChoices parallax;
    core::StageContext context;
};

inline constexpr int kDisplayDepths[] = {8, 15, 16, 24, 32};

using Rows = std::vector<std::vector<platform::Rgb>>;

// Gives the surface a picture whose rows are the given colours.
inline void LoadRows(platform::PictureSurface& surface, const Rows& rows) {
    const auto at = [&rows](int x, int y) { return rows.at(y).at(x); };
    testing_support::LoadSurface(surface, static_cast<int>(rows.at(0).size()),
                                 static_cast<int>(rows.size()), at);
}

inline std::vector<std::uint8_t> ImageBytes(const platform::PictureSurface& surface) {
    const auto bits = surface.Image().Bits();
    return {bits.begin(), bits.end()};
}

inline const conversion::StageTable& DepthStages() {
    return conversion::StandardStages();
}

// DepthCue `cue` from picOriginal to picDepth, with CueColor `cue_color`.
inline void RunCue(StageRig& rig, int cue, std::int16_t cue_color = 0) {
    rig.settings.CueColor = cue_color;
    DepthStages().cues[static_cast<std::size_t>(cue)](rig.context);
}

// Smoothing filter `choice` (1 "Smere" to 5 "Max") on picDepth in place.
inline void RunFilter(StageRig& rig, int choice) {
    DepthStages().blurs[static_cast<std::size_t>(choice)](rig.context);
}

}  // namespace depth_tests
