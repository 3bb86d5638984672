#pragma once
// The forward warp's steps and colours eight at a time, on processors with AVX2; the
// same cells as the one-at-a-time warp, to the bit.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/pixel_grid.h"
#include "stereo/warp_cells.h"

namespace stereo::warp {

bool WideAvailable();

// Steps from x on, as far as eight can be read at once; returns where it stopped.
int StepsWide(const ViewCells& row, WarpState& state, int x);

// CopyColours from the first pixel, eight at a time.
void CopyColoursWide(std::span<const Cell> cells, std::span<core::PixelTriple> view);

// The first pixels of stereo::JoinCellsRow, eight at a time: how many were joined (none
// without AVX2).
int JoinCellsWide(const Cell* red_from, const Cell* cyan_from, std::uint8_t* out, int width);

// The words of whole runs of 64 cells, bit k of word w set where cell 64 w + k is
// empty: how many were made (none without AVX2).
std::size_t EmptyWordsWide(std::span<const Cell> cells, std::uint64_t* words);

}  // namespace stereo::warp
