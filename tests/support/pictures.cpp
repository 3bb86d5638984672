#include "tests/support/pictures.h"

#include "core/ddb_helper.h"

namespace testing_support {

platform::Picture MakePicture(const platform::Display& display, int width, int height,
                              const ColorAt& color) {
    platform::Bitmap bitmap(width, height, display.HeaderBitsPixel());
    const int bpp = display.BytesPerPixel();
    for (int y = 0; y < height; ++y) {
        auto row = bitmap.MutableRow(y);
        for (int x = 0; x < width; ++x)
            platform::Display::StorePixel(row.data() + x * bpp, bpp,
                                          display.ColorToPixel(color(x, y)));
    }
    platform::Picture picture{std::move(bitmap), std::nullopt};
    if (display.Layout() == platform::PixelLayout::Indexed8)
        picture.palette = platform::Palette(display.SystemPalette());
    return picture;
}

void LoadSurface(platform::PictureSurface& surface, int width, int height, const ColorAt& color) {
    surface.SetPicture(MakePicture(surface.GetDisplay(), width, height, color));
}

core::PixelGrid ReadGrid(platform::PictureSurface& surface) {
    core::PixelGrid grid;
    std::int16_t bits = 0;
    DDBHelper::GetBitmapPixels(surface, grid, bits);
    return grid;
}

std::vector<platform::Rgb> SurfaceColors(const platform::PictureSurface& surface) {
    std::vector<platform::Rgb> colors;
    for (int y = 0; y < surface.ScaleHeight(); ++y)
        for (int x = 0; x < surface.ScaleWidth(); ++x) colors.push_back(surface.Point(x, y));
    return colors;
}

}  // namespace testing_support
