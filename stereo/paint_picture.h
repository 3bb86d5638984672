#pragma once
// Painting one surface's image onto another with the SRCPAINT raster operation.
#include "platform/picture_surface.h"

namespace stereo {

// SRCPAINT (0x00EE0086): every destination pixel becomes destination OR source, bit
// for bit in the display's own pixel format, with the source's top left at (0, 0)
// and clipped to where the two images overlap. At 8 bits per pixel that ORs palette
// indices; at 32 bits the fourth byte takes part too. Row padding is left alone.
// Images of different formats are not painted. The destination is repainted.
void PaintPictureOr(const platform::PictureSurface& source, platform::PictureSurface& destination);

}  // namespace stereo
