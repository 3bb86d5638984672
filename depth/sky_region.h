#pragma once
// The sky of an outdoor picture: bright, smooth, blue-to-grey reduced pixels joined to
// the top edge through pixels of their own kind.
#include <cstdint>
#include <vector>

#include "depth/reduced_picture.h"

namespace depth {

struct SkyRegion {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> mask;  // 1 for sky, one per reduced pixel, row after row
    double share = 0.0;              // of all reduced pixels
    // The first row below which the sky no longer spans a good part of the width;
    // 0 when there is no sky.
    int horizon = 0;

    // Unchecked inside a region that has a mask; an empty region has no sky.
    bool IsSky(int x, int y) const {
        return !mask.empty() && mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                     static_cast<std::size_t>(x)] != 0;
    }
};

// An empty region (every mask value 0) when the sky-like pixels joined to the top
// edge are too few to be a sky.
SkyRegion FindSky(const ReducedPicture& picture);

}  // namespace depth
