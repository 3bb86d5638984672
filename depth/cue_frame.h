#pragma once
// The frame the depth cues share: the depth surface gets the original's size and a
// colour copy of it, the original is read into a grid, the grid is turned grey row
// by row with a poll after each row, and only a cue that was not cancelled writes
// the grid to the depth surface and makes it that surface's picture.
#include <cstdint>

#include "core/pixel_grid.h"
#include "core/stage_context.h"
#include "depth/grid_rows.h"
#include "platform/picture_surface.h"

namespace GrayScale::detail {

struct CueGrid {
    core::PixelGrid grid;
    std::int16_t bits_per_pixel = 0;
};

// Sizes `depth` like `original`, gives it a copy of the original's picture, and reads
// the original.
CueGrid BeginCue(platform::PictureSurface& original, platform::PictureSurface& depth);
// Writes the grey grid to `depth` and keeps it as that surface's picture.
void EndCue(platform::PictureSurface& depth, CueGrid& cue);

// A cue whose grey depends on the pixel alone: grey_of(const PixelTriple&) -> byte.
template <class GreyOf>
void RunPointCue(core::StageContext& context, platform::PictureSurface& original,
                 platform::PictureSurface& depth, GreyOf grey_of) {
    CueGrid cue = BeginCue(original, depth);
    const int rows = original.ScaleHeight();
    for (int y = 0; y < rows; ++y) {
        const int columns = ::depth::ColumnsInRow(original, cue.grid, y);
        for (core::PixelTriple& p : ::depth::RowCells(cue.grid, y, columns)) {
            const std::uint8_t g = grey_of(p);
            p = {g, g, g};
        }
        if (!core::PollAfterRow(context)) return;
    }
    EndCue(depth, cue);
}

}  // namespace GrayScale::detail
