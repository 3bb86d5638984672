#include "depth/invert_depth.h"

#include "core/ddb_helper.h"
#include "core/plain32_rows.h"
#include "core/row_blocks.h"
#include "core/vector_clones.h"
#include "depth/grid_rows.h"

namespace depth {

namespace {

// A 32-bit row's negative, its fourth byte 0 as the bridge writes it.
ZARVIK_VECTOR_CLONES void InvertRow32(const std::uint8_t* in, std::uint8_t* out,
                                      std::size_t width) {
    core::MapBytes32(in, out, width, core::kColourKept32,
                     [](std::uint8_t b) { return static_cast<std::uint8_t>(255 - b); });
}

}  // namespace

void InvertDepth(core::StageContext& context) {
    platform::PictureSurface& surface = context.surfaces.picDepth;
    if (core::Plain32(surface.Image())) {
        auto inverted = core::MapPlain32Rows(context, surface.Image(), InvertRow32);
        if (!inverted) return;
        core::ShowMadeImage(surface, std::move(*inverted));
        surface.AssignImageToPicture();
        return;
    }
    core::PixelGrid grid;
    std::int16_t bits_per_pixel = 0;
    DDBHelper::GetBitmapPixels(surface, grid, bits_per_pixel);
    const bool done = core::PolledRows(context, surface.ScaleHeight(), [&](int y) {
        for (std::uint8_t& channel : RowBytes(grid, y, ColumnsInRow(surface, grid, y)))
            channel = static_cast<std::uint8_t>(255 - channel);
    });
    if (!done) return;
    DDBHelper::SetBitmapPixels(surface, bits_per_pixel, grid);
    surface.AssignImageToPicture();
}

}  // namespace depth
