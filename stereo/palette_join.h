#pragma once
// The masks' join on a palette display. There a pixel is an index, and the OR of two
// indices names an unrelated entry: a red mask and a cyan mask ORed that way showed
// red, magenta and grey patches where the picture had none. So each pixel is joined
// as the two colours the indices show, the red of one with the green and blue of the
// other, and written as the entry nearest to that colour.
#include "platform/picture_surface.h"

namespace stereo {

// Every destination pixel becomes the entry of the destination's palette nearest to
// the OR of the two pixels' colours, with the source's top left at (0, 0) and clipped
// to where the two images overlap. Only 8-bit images on both sides are joined. The
// destination is repainted.
void JoinPaletteMasks(const platform::PictureSurface& source,
                      platform::PictureSurface& destination);

}  // namespace stereo
