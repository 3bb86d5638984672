#pragma once
// The two channel masks that the anaglyph joins: a red-only and a cyan-only copy
// of a view, each kept channel dimmed to 99 %.
#include <cstdint>

#include "core/stage_context.h"
#include "platform/picture_surface.h"

namespace stereo {

// A kept channel's new value: c x (1 + f) with f = -1/100 held in single precision,
// rounded half to even. Equals 99 c / 100 with halves rounded up.
std::uint8_t DimChannel(std::uint8_t c);

// Red kept, green and blue 0. Polls after every row; a cancelled run writes nothing.
void MakeRedOnly(core::StageContext& context, platform::PictureSurface& source,
                 platform::PictureSurface& destination);
// Green and blue kept, red 0. Polls after every row; a cancelled run writes nothing.
void MakeCyanOnly(core::StageContext& context, platform::PictureSurface& source,
                  platform::PictureSurface& destination);

}  // namespace stereo
