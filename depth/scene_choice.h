#pragma once
// The automatic choice of a scene's layout from simple evidence in the picture.
#include <string_view>

#include "core/scene_choices.h"
#include "depth/reduced_picture.h"
#include "depth/sky_region.h"

namespace depth {

struct SceneEvidence {
    double sky_share = 0.0;          // of the picture, joined to the top edge
    bool horizon = false;            // one row-long brightness step across most of the width
    double subject_foreign = 0.0;    // share of the centre in colours the border lacks
    double subject_focus = 0.0;      // the centre's sharpness over the border's
    double brightness_spread = 0.0;  // the standard deviation of brightness
};

SceneEvidence GatherEvidence(const ReducedPicture& picture, const SkyRegion& sky);

// A sky or a horizon: landscape. Else a centre in colours of its own, sharper than
// its border: portrait. Else a picture with hardly any brightness spread: flat. Else landscape, as
// most pictures have the ground, the floor or the table at their bottom edge.
core::Scene PickScene(const SceneEvidence& evidence);

// "classic", "auto", "landscape", "portrait", "flat": the words of the command line.
std::string_view SceneName(core::Scene scene);

}  // namespace depth
