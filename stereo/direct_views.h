#pragma once
// The scaled views on an ordinary desktop, where the picture and the depth map are
// 32-bit images of the same size: each row is read from the images, warped and
// written into the views' images while it is in the cache, instead of the whole
// picture passing through four grids of its own size (the picture, the depth map and
// the two views), each allocated, filled and read back once.
#include <optional>

#include "core/stage_context.h"
#include "stereo/forward_warp_row.h"

namespace stereo {

// Whether the surfaces are in the form WarpImagesDirectly reads.
bool CanWarpImagesDirectly(const core::Workspace& surfaces);

// What MakeScaledViews does, for surfaces CanWarpImagesDirectly accepts; the same bytes.
void WarpImagesDirectly(core::StageContext& context, const LevelShifts& left_shifts,
                        const LevelShifts& right_shifts);

// The classic red/cyan anaglyph of the two views, joined row by row as they are warped,
// for a caller that takes neither view back: the bytes the masks and their join give.
// None when the run was cancelled.
std::optional<platform::Bitmap> WarpIntoAnaglyph(core::StageContext& context,
                                                 const LevelShifts& left_shifts,
                                                 const LevelShifts& right_shifts);

}  // namespace stereo
