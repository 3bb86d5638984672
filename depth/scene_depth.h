#pragma once
// The depth map that follows the scene: the classic depth map on picDepth (the colour
// cue, inverted and centred) smoothed to the size of regions, laid over the layout of
// the scene with the sky farthest, and fitted to the picture's edges by a guided
// filter, so that depth is smooth inside objects and changes at their borders.
#include "core/scene_choices.h"
#include "core/stage_context.h"

namespace depth {

// Reads picOriginal and picDepth and writes the new map to picDepth, spread over the
// whole range of values, larger nearer. For kAuto it picks the layout itself. Returns
// the layout it followed; kClassic when it wrote nothing: a cancel, a classic scene,
// or a depth map that is not the picture's size. Polls no rows; between its steps it
// checks for a cancel and yields.
core::Scene SceneDepth(core::StageContext& context, core::Scene scene);

}  // namespace depth
