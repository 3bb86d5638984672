#pragma once
// The window keeps its geometry in twips, 15 to the pixel, as the old forms did.
#include <cmath>

#include "platform/picture_surface.h"

namespace twips {

inline int ToPixels(double twips) {
    return static_cast<int>(std::nearbyint(twips / platform::kTwipsPerPixel));
}
inline int FromPixels(int pixels) {
    return pixels * platform::kTwipsPerPixel;
}

}  // namespace twips
