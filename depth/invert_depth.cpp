#include "depth/invert_depth.h"

#include "core/ddb_helper.h"
#include "core/row_blocks.h"
#include "depth/grid_rows.h"

namespace depth {

void InvertDepth(core::StageContext& context) {
    platform::PictureSurface& surface = context.surfaces.picDepth;
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
