#pragma once
// On 15- and 16-bit displays a grid holds each channel's raw 5- or 6-bit field; the
// joins that weigh channels against each other need the 0 to 255 scale.
#include <cstdint>

#include "core/pixel_grid.h"

namespace stereo {

// Widens each field to a byte by repeating its top bits, as the display shows it
// (bits_per_pixel 15 or 16; any other depth is left alone).
void WidenFields(core::PixelGrid& grid, int bits_per_pixel);
// Back to the nearest field value; a widened field comes back unchanged.
void NarrowFields(core::PixelGrid& grid, int bits_per_pixel);

// One channel: the byte a field of `bits` bits shows, and the nearest field to a byte.
std::uint8_t WidenField(std::uint8_t field, int bits);
std::uint8_t NarrowField(std::uint8_t byte, int bits);

}  // namespace stereo
