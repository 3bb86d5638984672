#pragma once
// One row of the classic red/cyan anaglyph made straight from the two views' working
// cells: the bytes that masking each view and ORing the masks give, in one pass over
// rows that are still in the cache, with no view row written in between.
#include <cstdint>

namespace stereo {

// Red from `red_from`'s cells, blue and green from `cyan_from`'s, each dimmed as a mask
// dims it, into `width` 32-bit pixels (Blue, Green, Red, 0) from `out` on.
void JoinCellsRow(const std::uint64_t* red_from, const std::uint64_t* cyan_from, std::uint8_t* out,
                  int width);

}  // namespace stereo
