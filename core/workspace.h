#pragma once
// The picture surfaces a conversion reads and writes, owned by the window.
#include "platform/display.h"
#include "platform/picture_surface.h"

namespace core {

struct Workspace {
    explicit Workspace(const platform::Display& display)
        : picOriginal(display),
          picDepth(display),
          picResult(display),
          PicRed(display),
          PicBlue(display),
          PicFinal(display),
          picLeft(display) {}

    platform::PictureSurface picOriginal;  // the loaded picture, then the anaglyph
    platform::PictureSurface picDepth;     // the depth map
    platform::PictureSurface picResult;    // the second eye's view
    platform::PictureSurface PicRed;       // mask of the first view
    platform::PictureSurface PicBlue;      // mask of the second view
    platform::PictureSurface PicFinal;     // the joined anaglyph
    platform::PictureSurface picLeft;      // the first eye's view, when not the picture
};

}  // namespace core
