#pragma once
// The stage of the scaled strength: both eyes' views, then the anaglyph or the chosen
// layout of them.
#include "core/stage_context.h"

namespace stereo {

// Makes the views (picLeft and picResult) and joins them into picOriginal's picture.
// When the caller takes no view back and the join is the classic one, on 32-bit
// images, the anaglyph is joined row by row as the views are warped, and the views
// are never written out whole.
void MakeScaledStereoPicture(core::StageContext& context);

}  // namespace stereo
