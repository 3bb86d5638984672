#include "depth/warp_depth_map.h"

#include "depth/streak_walks.h"

namespace depth {

namespace {

// Point reads every pixel (each read setting the drawing colour) only when the image
// is in the display's format; otherwise every read gives no colour and nothing is
// drawn.
bool Readable(const platform::PictureSurface& surface) {
    return !surface.Image().Empty() &&
           surface.Image().BitsPixel() == surface.GetDisplay().HeaderBitsPixel();
}

}  // namespace

void WarpDepthMap(core::StageContext& context, platform::PictureSurface& surface) {
    const int warp = context.globals.glbWarp;
    const int rows = surface.ScaleHeight();
    if (Readable(surface) && warp != 0) {
        // The drawing colour ends as the colour read last, at the bottom right.
        const platform::Rgb bottom_right = surface.Point(surface.ScaleWidth() - 1, rows - 1);
        if (warp > 0) {
            DrawUpwardStreaks(surface, warp);
            surface.SetForeColor(bottom_right);
        } else {
            surface.SetForeColor(DrawDownwardStreaks(surface, warp));
        }
    } else {
        // With w = 0 every line fails on its division by zero: the pixels are only read.
        if (Readable(surface))
            surface.SetForeColor(surface.Point(surface.ScaleWidth() - 1, rows - 1));
        for (int y = 0; y < rows; ++y) surface.Refresh();
    }
    surface.Refresh();
    surface.AssignImageToPicture();
    surface.Refresh();
}

}  // namespace depth
