#pragma once
// The frame the depth cues share: the depth surface gets the original's size and a
// colour copy of it, the original is read into a grid, the grid is turned grey row
// by row with a poll after each row (rows in parallel, see core/row_blocks.h), and only a cue that
// was not cancelled writes the grid to the depth surface and makes it that surface's picture.
#include <cstdint>

#include "core/pixel_grid.h"
#include "core/row_blocks.h"
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

// A cue whose grey depends on the pixel alone: grey_row(PixelTriple* cells, int count)
// turns the first `count` cells of a row grey.
template <class GreyRow>
void RunPointCue(core::StageContext& context, platform::PictureSurface& original,
                 platform::PictureSurface& depth, GreyRow grey_row) {
    CueGrid cue = BeginCue(original, depth);
    const bool done = core::PolledRows(context, original.ScaleHeight(), [&](int y) {
        const auto cells =
            ::depth::RowCells(cue.grid, y, ::depth::ColumnsInRow(original, cue.grid, y));
        grey_row(cells.data(), static_cast<int>(cells.size()));
    });
    if (done) EndCue(depth, cue);
}

// Sets every one of `count` cells to grey_of(cell) in all three channels. Inlined into
// each cue's own row function, so that the loop is compiled, and vectorised, for it.
template <class GreyOf>
[[gnu::always_inline]] inline void GreyRow(core::PixelTriple* cells, int count, GreyOf grey_of) {
    for (int x = 0; x < count; ++x) {
        const std::uint8_t g = grey_of(cells[x]);
        cells[x] = {g, g, g};
    }
}

}  // namespace GrayScale::detail
