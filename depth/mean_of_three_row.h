#pragma once
// The channel-mean cue's row loop: every cell of a row set to the rounded mean of its
// three channels, in all three. The default cue of every conversion, so it has a loop
// of its own for processors with AVX2.
#include "core/pixel_grid.h"

namespace GrayScale::detail {

void MeanOfThreeRow(core::PixelTriple* cells, int count);

}  // namespace GrayScale::detail
