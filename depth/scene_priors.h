#pragma once
// The layouts a scene may follow, larger values nearer, from 0 to 1, and how each is
// laid over the colour cue.
#include "core/scene_choices.h"
#include "depth/float_plane.h"
#include "depth/sky_region.h"

namespace depth {

// The ground recedes upward from the bottom edge to the horizon row; what stands
// above the horizon is near the far end of the ground. Without a horizon (0) the
// ground runs to the top edge.
FloatPlane LandscapeLayout(int width, int height, int horizon);
// A subject a little above the middle, nearest at its centre, before a far surround.
FloatPlane PortraitLayout(int width, int height);

// The cue laid over the scene's layout (landscape, portrait or flat; any other scene
// counts as flat), with the sky farthest under the two layouts that have one. `cue`
// is already smoothed to the size of regions.
FloatPlane CombineWithLayout(const FloatPlane& cue, core::Scene scene, const SkyRegion& sky);

}  // namespace depth
