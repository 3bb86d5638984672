#pragma once
// The two ways the warp lays its streaks down on the image bytes. Both give the image
// that drawing the streaks one by one gives (rows top down, columns left to right,
// each pixel read with Point and its streak drawn with Line), and both repaint the
// surface once per row. The image must be in the display's format and not be empty.
#include "platform/color.h"
#include "platform/picture_surface.h"

namespace depth {

// warp > 0: streaks run up over rows already read, so every pixel is read with its
// own colour from before the warp.
void DrawUpwardStreaks(platform::PictureSurface& surface, int warp);

// warp < 0: streaks run down over rows still to be read, which then read the colour
// of the streak drawn over them. Returns the colour read last, at the bottom right.
platform::Rgb DrawDownwardStreaks(platform::PictureSurface& surface, int warp);

}  // namespace depth
