#pragma once
// The ways to join a left and a right view into one anaglyph, for each kind of
// glasses. Pure functions of the two views' rows: 8-bit channels in, 8-bit out.
#include <cstdint>
#include <span>

#include "core/pixel_grid.h"
#include "core/stereo_choices.h"

namespace stereo {

// Rec. 601 luma of the encoded channels, (299 R + 587 G + 114 B) / 1000 rounded
// half up: the grey that the half-colour and grey joins put through a lens.
std::uint8_t Luma601(core::PixelTriple p);

// Which channels the left view's lens passes (red for red-cyan, green for
// green-magenta, red and green for amber-blue); the right view's lens passes the rest.
struct LeftChannels {
    bool blue;
    bool green;
    bool red;
};
LeftChannels LeftChannelsOf(core::GlassesType glasses);

// One row of the join. The three rows have one width; `out` may not overlap either view.
//   colour: each channel from the view whose lens passes it, dimmed to 99 % as the
//           classic masks dim it (DimChannel);
//   half-colour: the left view's channels all carry its luma, the right view's keep
//           their colour;
//   grey: both views' channels carry their luma;
//   dubois: the least-squares projection, in linear light (anaglyph_dubois.cpp).
void JoinRow(std::span<const core::PixelTriple> left, std::span<const core::PixelTriple> right,
             std::span<core::PixelTriple> out, core::JoinMethod method, core::GlassesType glasses);

}  // namespace stereo
