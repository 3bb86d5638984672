#pragma once
// A depth map from elsewhere, drawn onto picDepth as the depth cue would leave one.
#include "core/depth_levels.h"
#include "platform/picture_surface.h"

namespace conversion {

// Grey levels in the display's own format. Throws std::invalid_argument when the map's
// size is not the surface's.
void DrawImportedDepth(const core::DepthLevels& levels, platform::PictureSurface& depth_surface);

}  // namespace conversion
