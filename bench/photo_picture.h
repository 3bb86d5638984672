#pragma once
// A photo-like picture for the benchmarks: smooth gradients with some texture, so
// that every depth band and filter branch is taken and the depth map has edges.
#include "platform/display.h"
#include "platform/picture_surface.h"

inline platform::Picture MakePhoto(const platform::Display& display, int width, int height) {
    platform::Bitmap bitmap(width, height, display.HeaderBitsPixel());
    const int bytes = display.BytesPerPixel();
    for (int y = 0; y < height; ++y) {
        auto row = bitmap.MutableRow(y);
        for (int x = 0; x < width; ++x) {
            const int r = (x * 255 / width + ((x * 7 + y * 13) % 17)) & 0xFF;
            const int g = (y * 255 / height + ((x * 3) % 11)) & 0xFF;
            const int b = ((x + y) * 255 / (width + height) + ((y * 5) % 23)) & 0xFF;
            platform::Display::StorePixel(row.data() + x * bytes, bytes,
                                          display.ColorToPixel(platform::RGB(r, g, b)));
        }
    }
    return {std::move(bitmap), std::nullopt};
}
