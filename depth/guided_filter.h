#pragma once
// The guided filter: an edge-preserving smoothing of one plane steered by another.
// Within each window the output is a straight-line function of the guide, fitted to
// the input by least squares with a ridge eps; where the guide is flat (its variance
// well below eps) the input is averaged, and where the guide has an edge the output
// follows that edge. Every window mean comes from running sums, so the cost per value
// does not grow with the radius.
#include "depth/float_plane.h"

namespace depth {

// The mean over each value's (2 radius + 1)-square window, taken over the part of the
// window inside the plane.
FloatPlane BoxMean(const FloatPlane& plane, int radius);

// output = a x guide + b, a and b already averaged over the windows that cover each
// value. Kept apart so that they can be carried to a larger copy of the guide.
struct GuidedCoefficients {
    FloatPlane a;
    FloatPlane b;
};

// `guide` and `input` must be of one size.
GuidedCoefficients GuidedFilterCoefficients(const FloatPlane& guide, const FloatPlane& input,
                                            int radius, float eps);
FloatPlane GuidedFilter(const FloatPlane& guide, const FloatPlane& input, int radius, float eps);

}  // namespace depth
