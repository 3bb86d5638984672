#pragma once
// The stage that ends every conversion's stereo work: the classic anaglyph for the
// classic choices, otherwise the left and right views joined by another method or
// laid out side by side or one over the other.
#include "core/stage_context.h"

namespace stereo {

// Leaves the composed picture as picOriginal's picture and the second view on
// picResult. Which view is which:
//   the left view is the picture and the right view the second view; "Blue - Red"
//   (Lens 1) swaps them, as it swaps which view gives red in the classic join, so
//   with any glasses it puts the second view before the left eye;
//   "Added Depth" shifts the right view by glbShift, as the classic join shifts the
//   view that gives green and blue.
// The choices' defaults (or none in the context) run MakeAnaglyph, unchanged. Polls
// after every composed row; a cancelled run leaves picOriginal as it was. A layout
// wider or taller than a bitmap may be fails the step.
void MakeStereoPicture(core::StageContext& context);

// The composition alone, for views already made: `left_view` and picResult (the
// right view), with the lens swap and the added depth as above. The context's
// stereo choices must be set.
void ComposeStereoPicture(core::StageContext& context, platform::PictureSurface& left_view);

}  // namespace stereo
