// Random display format, bitmap size and bytes, picture palette and grid through the
// bridge: reading and writing must stay inside every buffer, and a second round trip
// must change nothing (the first may clamp over-range fields).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "core/ddb_helper.h"

namespace {

constexpr int kDepths[] = {8, 15, 16, 24, 32};
constexpr int kForeignDepths[] = {1, 4, 8, 16, 24, 32};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    platform::Display display(in.PickValueInArray(kDepths));
    platform::PictureSurface surface(display);
    const int width = in.ConsumeIntegralInRange(0, 40);
    const int height = in.ConsumeIntegralInRange(0, 40);
    // Either an image in the display's format or one of a depth the bridge may not take.
    const int bits_pixel =
        in.ConsumeBool() ? display.HeaderBitsPixel() : in.PickValueInArray(kForeignDepths);
    platform::Bitmap bitmap(width, height, bits_pixel);
    for (auto& b : bitmap.MutableBits()) b = in.ConsumeIntegral<std::uint8_t>();
    platform::Picture picture{bitmap, std::nullopt};
    if (in.ConsumeBool()) {
        platform::Palette palette;
        palette.ResizePalette(in.ConsumeIntegralInRange(1, 256));
        for (int i = 0; i < palette.EntryCount(); ++i) {
            const platform::PaletteEntry e{in.ConsumeIntegral<std::uint8_t>(),
                                           in.ConsumeIntegral<std::uint8_t>(),
                                           in.ConsumeIntegral<std::uint8_t>(), 0};
            palette.SetPaletteEntries(i, 1, std::span(&e, 1));
        }
        picture.palette = palette;
    }
    if (in.ConsumeBool()) surface.SetPicture(picture);
    surface.ReplaceImage(bitmap);

    core::PixelGrid grid;
    std::int16_t bits = 0;
    DDBHelper::GetBitmapPixels(surface, grid, bits);
    if (grid.Width() != width || grid.Height() != height) std::abort();
    if (in.ConsumeBool()) {
        // A grid of another size or depth than the surface's: the write must stay in bounds.
        core::PixelGrid other(in.ConsumeIntegralInRange(0, 50), in.ConsumeIntegralInRange(0, 50));
        for (auto& p : other.Pixels()) p = {in.ConsumeIntegral<std::uint8_t>(), 0, 255};
        DDBHelper::SetBitmapPixels(surface, in.ConsumeIntegral<std::int16_t>(), other);
        return 0;
    }
    DDBHelper::SetBitmapPixels(surface, bits, grid);
    core::PixelGrid once;
    DDBHelper::GetBitmapPixels(surface, once, bits);
    DDBHelper::SetBitmapPixels(surface, bits, once);
    core::PixelGrid twice;
    DDBHelper::GetBitmapPixels(surface, twice, bits);
    if (!(once == twice)) std::abort();
    return 0;
}
