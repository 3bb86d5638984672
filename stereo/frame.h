#pragma once
// The frame: a black or white band painted over the edges of a picture.
#include "core/stage_context.h"
#include "platform/picture_surface.h"

namespace stereo {

// Paints the left and right bands ("Sides Only", FrameType 0) or all four (any other
// FrameType), |glbShift| pixels wide, white for FrameColor 1 and black otherwise;
// the right and bottom bands are one pixel narrower than the left and top. Writes
// the surface back and makes it the surface's picture, also when nothing was
// painted. Yields after every row; does not look at the run flag.
void DrawFrame(core::StageContext& context, platform::PictureSurface& surface);

}  // namespace stereo
