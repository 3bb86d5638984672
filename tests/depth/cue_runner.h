#pragma once
// Runs depth cue `cue` (with `cue_color` for the colour cue) from picOriginal to picDepth.
#include <cstdint>

#include "depth/gray_scale.h"
#include "tests/depth/stage_rig.h"

namespace depth_tests {

inline void RunCue(StageRig& rig, int cue, std::int16_t cue_color = 0) {
    auto& original = rig.surfaces.picOriginal;
    auto& depth = rig.surfaces.picDepth;
    switch (cue) {
        case 0:
            GrayScale::GrayFromMean(rig.context, original, depth);
            break;
        case 1:
            GrayScale::GrayFromWeights(rig.context, original, depth);
            break;
        case 2:
            GrayScale::GrayFromColor(rig.context, original, depth, cue_color);
            break;
        case 3:
            GrayScale::GrayFromLightness(rig.context, original, depth);
            break;
        case 4:
            GrayScale::GrayFromMaximum(rig.context, original, depth);
            break;
        default:
            GrayScale::GrayFromBands(rig.context, original, depth);
            break;
    }
}

}  // namespace depth_tests
