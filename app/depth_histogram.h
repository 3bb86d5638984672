#pragma once
// The depth map's histogram for the grain dialog: how many pixels have each red
// value (the depth), and the tallest bar that counts for the scale.
#include <array>
#include <cstdint>

#include "core/pixel_grid.h"

namespace depthhistogram {

using Counts = std::array<std::int32_t, 256>;

Counts CountRedValues(const core::PixelGrid& grid);
// The largest count among values 1 to 255: value 0, the background of many depth
// maps, is left out so that it does not flatten the others.
std::int32_t PeakOf(const Counts& counts);

}  // namespace depthhistogram
