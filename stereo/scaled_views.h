#pragma once
// Both eyes' views for the scaled strength: parallax in proportion to the picture's
// width, following every depth level, with the screen plane where the choices put it.
#include "core/parallax_choices.h"
#include "core/stage_context.h"
#include "stereo/forward_warp_row.h"

namespace stereo {

// The parallax of each depth level in pixels, left view minus right view: positive
// (crossed) in front of the screen plane, negative behind it.
double ParallaxOfLevel(const core::ParallaxChoices& choices, int width, int level);

// The shifts of one eye's view: half the parallax, to the right for the left eye and
// to the left for the right eye.
LevelShifts ShiftsOfView(const core::ParallaxChoices& choices, int width, bool left_eye);

// Reads picOriginal and picDepth; writes the left view to picLeft and the right view
// to picResult, as their pictures. Polls after every row; a cancelled run writes neither.
void MakeScaledViews(core::StageContext& context);

}  // namespace stereo
