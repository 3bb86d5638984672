#pragma once
#include "core/stage_context.h"
#include "platform/picture_surface.h"

namespace depth {

// Draws every pixel of `surface` out into a vertical streak of its own colour, grey /
// glbWarp rows long: upward for a positive glbWarp, downward for a negative one, and
// not at all for 0. The streaks land as if drawn one by one with Point and Line, rows
// top down and columns left to right, but the cost does not grow with their length.
// Repaints the surface once per row, then repaints it, makes its image its picture
// and repaints it again. Does not poll and does not yield.
void WarpDepthMap(core::StageContext& context, platform::PictureSurface& surface);

}  // namespace depth
