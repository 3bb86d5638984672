#include "stereo/frame.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/ddb_helper.h"
#include "core/pixel_grid.h"

namespace stereo {

namespace {

using core::PixelGrid;
using core::PixelTriple;

// The columns (or rows) of a side of `extent` cells that a band of width w covers:
// the near band is every index below w; the far band every index above extent - w,
// tested in single precision (exact here: every value lies far below 2^24).
struct BandLimits {
    std::int32_t near_end;   // indices 0 .. near_end - 1
    std::int32_t far_begin;  // indices far_begin .. (end of the side)
};

BandLimits LimitsFor(int extent, std::int32_t w) {
    const float far_limit = static_cast<float>(extent) - static_cast<float>(w);
    const auto far_begin = static_cast<std::int32_t>(std::floor(far_limit)) + 1;
    return {std::max<std::int32_t>(w, 0), std::max<std::int32_t>(far_begin, 0)};
}

// Rounds a single-precision limit half to even, as the loop limits are taken.
int LoopLimit(int scale_extent) {
    return static_cast<int>(std::nearbyint(static_cast<float>(scale_extent) - 1.0f));
}

// Cells first..last of a row, both included; empty when first > last.
struct Run {
    int first;
    int last;
};

void PaintRun(PixelTriple* row, Run run, PixelTriple paint) {
    if (run.first <= run.last) std::fill(row + run.first, row + run.last + 1, paint);
}

// One row. False when a painted cell would fall outside the grid, which happens only
// if the surface grew during a yield: that ends the frame as a failed cell access
// would, with nothing written.
bool PaintRow(PixelGrid& grid, int y, int last_column, bool whole_row, BandLimits columns,
              PixelTriple paint) {
    const Run left{0, whole_row ? last_column : std::min(columns.near_end - 1, last_column)};
    const Run right{std::max(columns.far_begin, left.last + 1), last_column};
    const int reach = right.first <= right.last ? right.last : left.last;
    if (reach < 0) return true;
    if (y >= grid.Height() || reach >= grid.Width()) return false;
    PixelTriple* row = grid.Row(y).data();
    PaintRun(row, left, paint);
    PaintRun(row, right, paint);
    return true;
}

}  // namespace

void DrawFrame(core::StageContext& context, platform::PictureSurface& surface) {
    const std::uint8_t c = context.settings.FrameColor == 1 ? 255 : 0;
    const PixelTriple paint{c, c, c};
    // Wider than the 16-bit setting, so that |-32768| is 32768 (a frame over every cell).
    const std::int32_t w = std::abs(static_cast<std::int32_t>(context.globals.glbShift));
    const bool full = context.settings.FrameType != 0;

    PixelGrid grid;
    std::int16_t bits = 0;
    DDBHelper::GetBitmapPixels(surface, grid, bits);

    const int last_row = LoopLimit(surface.ScaleHeight());
    for (int y = 0; y <= last_row; ++y) {
        const int last_column = LoopLimit(surface.ScaleWidth());
        const BandLimits rows = LimitsFor(surface.ScaleHeight(), w);
        const bool whole_row = full && (y < rows.near_end || y >= rows.far_begin);
        if (!PaintRow(grid, y, last_column, whole_row, LimitsFor(surface.ScaleWidth(), w), paint))
            return;
        context.progress.Yield();
    }

    DDBHelper::SetBitmapPixels(surface, bits, grid);
    surface.AssignImageToPicture();
}

}  // namespace stereo
