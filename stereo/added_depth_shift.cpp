#include "stereo/added_depth_shift.h"

#include <algorithm>
#include <cstring>

#include "core/ddb_helper.h"
#include "core/pixel_grid.h"

namespace stereo {

namespace {

using core::PixelGrid;
using core::PixelTriple;

// Every copied pixel comes from the unshifted source row, so the move never smears.
// Destinations lie strictly between column 0 and column scale_width - 1; both the
// source and the destination column must also lie inside the grids (held_width).
void ShiftRow(const PixelTriple* source, PixelTriple* result, int scale_width, int held_width,
              int s) {
    const int first = std::max(0, 1 - s);
    const int last =
        std::min({scale_width - 1, held_width - 1, scale_width - 2 - s, held_width - 1 - s});
    if (last < first) return;
    std::memcpy(result + first + s, source + first,
                static_cast<std::size_t>(last - first + 1) * sizeof(PixelTriple));
}

}  // namespace

void ShiftPicture(core::StageContext& context, platform::PictureSurface& source,
                  platform::PictureSurface& destination, std::int16_t s) {
    PixelGrid picture;
    PixelGrid result;
    std::int16_t picture_bits = 0;
    std::int16_t result_bits = 0;
    DDBHelper::GetBitmapPixels(source, picture, picture_bits);
    DDBHelper::GetBitmapPixels(source, result, result_bits);

    const int rows = source.ScaleHeight();
    for (int y = 0; y < rows; ++y) {
        const int held_width = std::min(picture.Width(), result.Width());
        if (y < picture.Height() && y < result.Height())
            ShiftRow(picture.Row(y).data(), result.Row(y).data(), source.ScaleWidth(), held_width,
                     s);
        context.progress.Yield();
    }

    DDBHelper::SetBitmapPixels(destination, result_bits, result);
    destination.AssignImageToPicture();
}

}  // namespace stereo
