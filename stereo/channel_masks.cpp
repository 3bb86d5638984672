#include "stereo/channel_masks.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/ddb_helper.h"
#include "core/kept_bytes.h"
#include "core/pixel_grid.h"
#include "core/plain32_rows.h"
#include "core/row_blocks.h"
#include "core/vector_clones.h"
#include "stereo/channel_bytes.h"

namespace stereo {

namespace {

using core::PixelGrid;
using core::PixelTriple;

// Every byte dimmed, then the dropped channels cleared, 32 pixels at a time.
[[gnu::always_inline]] inline void MaskBytes(PixelTriple* row, int width, const KeptBytes& kept) {
    auto* bytes = reinterpret_cast<std::uint8_t*>(row);
    core::MapKeptBytes(bytes, bytes, static_cast<std::size_t>(width) * sizeof(PixelTriple), kept,
                       DimByte);
}

// Compiled for wider vectors too (see core/vector_clones.h).
ZARVIK_VECTOR_CLONES void RedOnlyRow(PixelTriple* row, int width) {
    MaskBytes(row, width, kRedKept);
}
ZARVIK_VECTOR_CLONES void CyanOnlyRow(PixelTriple* row, int width) {
    MaskBytes(row, width, kCyanKept);
}

// The same on 32-bit rows, the fourth byte 0 as the bridge writes it.
ZARVIK_VECTOR_CLONES void RedOnlyRow32(const std::uint8_t* in, std::uint8_t* out,
                                       std::size_t width) {
    core::MapBytes32(in, out, width, core::Kept32(false, false, true), DimByte);
}
ZARVIK_VECTOR_CLONES void CyanOnlyRow32(const std::uint8_t* in, std::uint8_t* out,
                                        std::size_t width) {
    core::MapBytes32(in, out, width, core::Kept32(true, true, false), DimByte);
}

using MaskRow = void (*)(PixelTriple*, int);
using MaskRow32 = void (*)(const std::uint8_t*, std::uint8_t*, std::size_t);

// The mask of a 32-bit view written onto a 32-bit surface of its size, image to image.
// False: the run was cancelled.
bool MakeMaskPlain32(core::StageContext& context, platform::PictureSurface& source,
                     platform::PictureSurface& destination, MaskRow32 mask_row) {
    const platform::Bitmap image = source.Image();
    if (&source != &context.surfaces.picOriginal) core::LetGoUnlessKept(context, source);
    auto mask = core::MapPlain32Rows(context, image, mask_row);
    if (!mask) return false;
    core::ShowMadeImage(destination, std::move(*mask));
    destination.AssignImageToPicture();
    return true;
}

void MakeMask(core::StageContext& context, platform::PictureSurface& source,
              platform::PictureSurface& destination, MaskRow mask_row, MaskRow32 mask_row32) {
    const platform::Bitmap& shown = source.Image();
    if (core::Plain32(shown) && core::Plain32(destination.Image(), shown.Width(), shown.Height())) {
        MakeMaskPlain32(context, source, destination, mask_row32);
        return;
    }
    PixelGrid grid;
    std::int16_t bits = 0;
    DDBHelper::GetBitmapPixels(source, grid, bits);
    // A view nobody takes back is let go once read; the picture itself stays, as it
    // becomes the anaglyph's surface.
    if (&source != &context.surfaces.picOriginal) core::LetGoUnlessKept(context, source);

    const bool done = core::PolledRows(context, source.ScaleHeight(), [&](int y) {
        if (y < grid.Height())
            mask_row(grid.Row(y).data(), std::min(source.ScaleWidth(), grid.Width()));
    });
    if (!done) return;

    DDBHelper::SetBitmapPixels(destination, bits, grid);
    destination.AssignImageToPicture();
}

}  // namespace

std::uint8_t DimChannel(std::uint8_t c) {
    const float f = -1.0f / 100.0f;
    const float gain = 1.0f + f;
    // The gain is the single-precision 0.99000001; the product is formed exactly (a
    // byte times a 24-bit mantissa fits a double). Rounding the product to single
    // precision first would turn 150 x gain = 148.5000014 into 148.5 and then 148.
    const double product = static_cast<double>(c) * static_cast<double>(gain);
    return static_cast<std::uint8_t>(std::nearbyint(product));
}

void MakeRedOnly(core::StageContext& context, platform::PictureSurface& source,
                 platform::PictureSurface& destination) {
    MakeMask(context, source, destination, RedOnlyRow, RedOnlyRow32);
}

void MakeCyanOnly(core::StageContext& context, platform::PictureSurface& source,
                  platform::PictureSurface& destination) {
    MakeMask(context, source, destination, CyanOnlyRow, CyanOnlyRow32);
}

}  // namespace stereo
