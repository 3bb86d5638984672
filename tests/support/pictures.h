#pragma once
// Pictures and grids for tests, built from colour functions.
#include <functional>
#include <vector>

#include "core/pixel_grid.h"
#include "platform/display.h"
#include "platform/picture_surface.h"

namespace testing_support {

using ColorAt = std::function<platform::Rgb(int x, int y)>;

// A picture in the display's format whose pixel (x, y) shows color(x, y) as closely
// as the display can.
platform::Picture MakePicture(const platform::Display& display, int width, int height,
                              const ColorAt& color);
// Gives the surface that picture (as loading a file would).
void LoadSurface(platform::PictureSurface& surface, int width, int height, const ColorAt& color);
// The surface's pixels, read through the bridge.
core::PixelGrid ReadGrid(platform::PictureSurface& surface);
// Colours of a whole surface as the display shows them, row after row.
std::vector<platform::Rgb> SurfaceColors(const platform::PictureSurface& surface);

inline platform::Rgb Grey(int v) {
    return platform::RGB(v, v, v);
}

}  // namespace testing_support
