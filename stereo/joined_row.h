#pragma once
// One row of the classic red/cyan anaglyph made straight from the two views' rows: the
// bytes that masking each view and ORing the masks give, in one pass over rows that
// are still in the cache.
#include "core/pixel_grid.h"

namespace stereo {

// Red from `red_from`, blue and green from `cyan_from`, each dimmed as a mask dims it.
void JoinRow(const core::PixelTriple* red_from, const core::PixelTriple* cyan_from,
             core::PixelTriple* out, int width);

}  // namespace stereo
