#pragma once
// Eric Dubois's least-squares anaglyph: each output pixel the projection of the
// stereo pair, in linear light, onto what the glasses let each eye see.
#include <span>

#include "core/pixel_grid.h"
#include "core/stereo_choices.h"

namespace stereo {

// One row; sRGB decoded to linear light, the glasses' two matrices applied, each
// channel clamped to [0, 1] and encoded to the nearest sRGB byte.
void DuboisRow(std::span<const core::PixelTriple> left, std::span<const core::PixelTriple> right,
               std::span<core::PixelTriple> out, core::GlassesType glasses);

// sRGB transfer, as the join uses it: byte to linear light, and linear light to the
// byte whose linear value is nearest in the encoded scale (halfway rounded up).
float SrgbToLinear(std::uint8_t byte);
std::uint8_t LinearToSrgb(float linear);

}  // namespace stereo
