#pragma once
// The depth of every picture pixel from guided-filter coefficients fitted on a reduced
// copy of the picture: the coefficients are carried up between the centres of the
// reduced pixels and applied to the brightness of the guide (the rows the reduction
// read, at full width), so the picture's detail shapes the depth at edges without
// costing a full-size filter, and without reading the picture again.
#include <cstdint>

#include "depth/guided_filter.h"
#include "depth/reduced_picture.h"
#include "platform/picture_surface.h"

namespace depth {

// `c` was fitted on the picture reduced by `factor`, with brightness from 0 to 1; the
// guide holds the same brightness from 0 to 255. The depth, from 0 to 1, is clamped
// to that range and written as grey (guide width x height) into the depth surface's
// image at `depth_bits`, 0 to the largest Red value of that format.
void WriteUpsampledDepth(const GuideRows& guide, int height, const GuidedCoefficients& c,
                         int factor, platform::PictureSurface& depth, std::int16_t depth_bits);

}  // namespace depth
