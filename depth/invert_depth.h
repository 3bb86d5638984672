#pragma once
#include "core/stage_context.h"

namespace depth {

// Turns the depth map on picDepth into its negative, every channel c into 255 - c on
// its own. Polls after every row; a cancelled inversion leaves the map as it was. On
// 15- and 16-bit displays the negatives lie above the field ranges and are clamped on
// writing, so the map comes out flat.
void InvertDepth(core::StageContext& context);

}  // namespace depth
