#pragma once
// The picture a left and a right view make together: their anaglyph, or the two
// side by side or one over the other, whole or each squeezed to half. A pure
// function of the two views and the choices, worked out row by row so that a stage
// can poll between rows.
#include <span>

#include "core/pixel_grid.h"
#include "core/stereo_choices.h"
#include "stereo/area_squeeze.h"

namespace stereo {

// The composed picture's size for views of width x height.
struct ComposedSize {
    int width;
    int height;
};
ComposedSize ComposedSizeFor(core::StereoLayout layout, int width, int height);

// Holds the two views (8-bit channels, one size; the larger is cut to the smaller)
// by reference: they must outlive it.
//   anaglyph: the join of the choices' method and glasses (anaglyph_methods.h);
//   side-by-side: left view on the left; cross-eye: right view on the left;
//   top-bottom: left view on top;
//   half-side-by-side and half-top-bottom: the same with each view squeezed by area
//     to half the width (height); for an odd side the left (top) view gets the
//     extra pixel, so the result keeps the views' size.
class StereoComposer {
  public:
    StereoComposer(const core::PixelGrid& left, const core::PixelGrid& right,
                   const core::StereoChoices& choices);

    ComposedSize Size() const { return size_; }
    // Row y of the composed picture; `out` holds Size().width pixels.
    void Row(int y, std::span<core::PixelTriple> out) const;

  private:
    void SqueezedRows(const core::PixelGrid& view, int y, std::span<core::PixelTriple> out) const;

    const core::PixelGrid& left_;
    const core::PixelGrid& right_;
    core::StereoChoices choices_;
    int width_;  // of each view as used
    int height_;
    ComposedSize size_;
    AreaSqueeze first_half_;   // to the left (top) half
    AreaSqueeze second_half_;  // to the right (bottom) half
};

// The whole composed picture at once.
core::PixelGrid Compose(const core::PixelGrid& left, const core::PixelGrid& right,
                        const core::StereoChoices& choices);

}  // namespace stereo
