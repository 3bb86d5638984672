#pragma once
// Runs smoothing filter `choice` (1 "Smere" to 5 "Max") from `source` to `destination`;
// "Smere" works on `source` alone.
#include "depth/blurs.h"
#include "tests/depth/stage_rig.h"

namespace depth_tests {

inline constexpr int kFilterChoices[] = {1, 2, 3, 4, 5};

inline void RunFilter(StageRig& rig, int choice, platform::PictureSurface& source,
                      platform::PictureSurface& destination) {
    switch (choice) {
        case 1:
            Blurs::SmereDepth(rig.context, source);
            break;
        case 2:
            Blurs::BlurDepth(rig.context, source, destination);
            break;
        case 3:
            Blurs::MeanDepth(rig.context, source, destination);
            break;
        case 4:
            Blurs::MedianDepth(rig.context, source, destination);
            break;
        default:
            Blurs::MaxDepth(rig.context, source, destination);
            break;
    }
}

// On picDepth in place, as the conversion runs them.
inline void RunFilter(StageRig& rig, int choice) {
    RunFilter(rig, choice, rig.surfaces.picDepth, rig.surfaces.picDepth);
}

}  // namespace depth_tests
