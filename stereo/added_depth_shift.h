#pragma once
// "Added Depth": moves a whole picture sideways by a fixed number of pixels.
#include <cstdint>

#include "core/stage_context.h"
#include "platform/picture_surface.h"

namespace stereo {

// Copies every source pixel x to x + s where 0 < x + s < W - 1; other columns keep
// their own pixels. Source and destination may be the same surface. Does not look
// at the run flag.
void ShiftPicture(core::StageContext& context, platform::PictureSurface& source,
                  platform::PictureSurface& destination, std::int16_t s);

}  // namespace stereo
