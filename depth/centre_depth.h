#pragma once
#include "core/stage_context.h"

namespace depth {

// Moves the depth map on picDepth so that the middle of its range of values, taken
// over all three channels, lands on 127, keeping the spread (times the red gain of
// glbFactors). Every pixel comes out grey, from its Red byte. Two polled passes, one
// to find the range and one to map it; a cancelled centring leaves the map as it was.
void CentreDepth(core::StageContext& context);

}  // namespace depth
