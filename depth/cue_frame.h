#pragma once
// The frame the depth cues share: the depth surface gets the original's size and a
// colour copy of it, the original is read into a grid, the grid is turned grey row
// by row with a poll after each row (rows in parallel, see core/row_blocks.h), and only a cue that
// was not cancelled writes the grid to the depth surface and makes it that surface's picture.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/pixel_grid.h"
#include "core/plain32_rows.h"
#include "core/row_blocks.h"
#include "core/rows32.h"
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
// Sizes `depth` like `original` and gives it a copy of the original's picture, as
// BeginCue does, for a cue that reads the original's image itself.
void PrepareDepth(const platform::PictureSurface& original, platform::PictureSurface& depth);

// RunPointCue on a 32-bit picture: each row is read into cells of the thread's own,
// turned grey and written into the new map while it is in the cache, so no grid of
// the whole picture is made. The same bytes. False: the run was cancelled.
template <class GreyRow>
bool RunPointCuePlain32(core::StageContext& context, platform::PictureSurface& original,
                        platform::PictureSurface& depth, GreyRow grey_row) {
    const platform::Bitmap image = original.Image();
    const auto width = static_cast<std::size_t>(image.Width());
    std::vector<std::vector<core::PixelTriple>> cells(static_cast<std::size_t>(core::ThreadCount()),
                                                      std::vector<core::PixelTriple>(width));
    PrepareDepth(original, depth);
    auto grey = core::MapPlain32Rows(
        context, image, [&](const std::uint8_t* in, std::uint8_t* out, std::size_t n) {
            core::PixelTriple* row = cells[static_cast<std::size_t>(core::ThreadIndex())].data();
            core::rows32::Decode(in, row, n, false);
            grey_row(row, static_cast<int>(n));
            core::rows32::Encode(row, out, n, false);
        });
    if (!grey) return false;
    core::ShowMadeImage(depth, std::move(*grey));
    depth.AssignImageToPicture();
    return true;
}

template <class GreyRow>
void RunPointCue(core::StageContext& context, platform::PictureSurface& original,
                 platform::PictureSurface& depth, GreyRow grey_row) {
    if (core::Plain32(original.Image())) {
        RunPointCuePlain32(context, original, depth, grey_row);
        return;
    }
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
