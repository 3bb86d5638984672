#pragma once
// The second eye's view: a copy of the picture in which the pixels of the three
// upper depth bands move 1, 2 or 3 columns to the left.
#include "core/stage_context.h"

namespace stereo {

// Reads picOriginal (twice) and picDepth, writes the second view to picResult and
// makes it picResult's picture. Polls after every row of each of its three passes;
// a cancelled run leaves picResult as it was.
void MakeSecondView(core::StageContext& context);

}  // namespace stereo
