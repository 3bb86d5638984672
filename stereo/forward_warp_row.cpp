#include "stereo/forward_warp_row.h"

#include "stereo/forward_warp_wide.h"
#include "stereo/warp_cells.h"

namespace stereo {

namespace {

// Every cell of the view's width written; whether eight steps at a time.
void WarpCells(std::span<const core::PixelTriple> source, std::span<const std::uint8_t> levels,
               const LevelShifts& shifts, std::span<std::uint64_t> cells, int width, bool wide) {
    using namespace warp;
    const ViewCells row{source.data(), levels.data(), shifts.data(), cells.data(), width};
    WarpState state = StartView(row);
    const int x = wide ? StepsWide(row, state, 1) : 1;
    GeneralSteps(row, state, x, width);
    FinishView(row, state);
}

void WarpView(std::span<const core::PixelTriple> source, std::span<const std::uint8_t> levels,
              const LevelShifts& shifts, std::span<core::PixelTriple> view,
              std::span<std::uint64_t> cells, bool wide) {
    WarpCells(source, levels, shifts, cells, static_cast<int>(view.size()), wide);
    const std::span<const warp::Cell> written = cells.first(view.size());
    if (wide)
        warp::CopyColoursWide(written, view);
    else
        warp::CopyColours(written, view, 0);
}

}  // namespace

void ForwardWarpRow(std::span<const core::PixelTriple> source, std::span<const std::uint8_t> levels,
                    const LevelShifts& shifts, std::span<core::PixelTriple> view,
                    WarpScratch scratch) {
    if (view.empty()) return;
    WarpView(source.first(view.size()), levels, shifts, view, scratch.cells, warp::WideAvailable());
}

void ForwardWarpCells(std::span<const core::PixelTriple> source,
                      std::span<const std::uint8_t> levels, const LevelShifts& shifts,
                      WarpScratch scratch) {
    if (source.empty()) return;
    WarpCells(source, levels, shifts, scratch.cells, static_cast<int>(source.size()),
              warp::WideAvailable());
}

void ForwardWarpRowOneAtATime(std::span<const core::PixelTriple> source,
                              std::span<const std::uint8_t> levels, const LevelShifts& shifts,
                              std::span<core::PixelTriple> view, WarpScratch scratch) {
    if (view.empty()) return;
    WarpView(source.first(view.size()), levels, shifts, view, scratch.cells, false);
}

void ForwardWarpViews(std::span<const core::PixelTriple> source,
                      std::span<const std::uint8_t> levels, const EyeView& left,
                      const EyeView& right) {
    ForwardWarpRow(source, levels, left.shifts, left.view, {left.cells});
    ForwardWarpRow(source, levels, right.shifts, right.view, {right.cells});
}

}  // namespace stereo
