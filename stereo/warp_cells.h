#pragma once
// The forward warp's working row. Each pixel of the view has a cell that holds the
// colour written there and, above it, how near that write was and which step made it.
// The cells are compared as plain numbers: the depth is on top, so the nearer write
// wins, and below it the source pixel counts down, so that between equal depths the
// earlier step wins, as when the steps write one after another (two writes of one
// step never meet in a cell). So a write is one comparison without a branch, and the
// order of the writes does not matter.
#include <cstdint>
#include <span>

#include "core/pixel_grid.h"
#include "stereo/forward_warp_row.h"

namespace stereo::warp {

using Cell = std::uint64_t;

inline constexpr Cell kEmptyCell = 0;
inline constexpr std::uint32_t kLastSource = 0x7FFF;  // widths stay below 2^15
inline constexpr int kSourceBits = 15;
inline constexpr Cell kColourPart = 0xFF'FFFF;

inline constexpr std::int32_t kHalf = kSubpixel / 2;
// Neighbouring source pixels that land further apart than this were split by a depth
// edge: the space between them opened behind a nearer object and is a hole, not a
// slanted surface to stretch over.
inline constexpr std::int32_t kMaxStretch = 2 * kSubpixel;
// How much nearer than the hole's own side a pixel may be and still count as the same
// background when the hole takes its texture (a slanted background included).
inline constexpr std::int32_t kBackgroundSlack = 16 * kSubpixel;

// The top half of a cell: `depth` x 256 (0 up) and the step's source pixel.
constexpr std::uint32_t RankOf(std::int32_t depth, std::int32_t source) {
    return static_cast<std::uint32_t>(depth + 1) << kSourceBits |
           (kLastSource - static_cast<std::uint32_t>(source));
}

constexpr std::uint32_t ColourBits(core::PixelTriple colour) {
    return std::uint32_t{colour.Blue} | std::uint32_t{colour.Green} << 8 |
           std::uint32_t{colour.Red} << 16;
}

constexpr Cell CellOf(std::int32_t depth, std::int32_t source, core::PixelTriple colour) {
    return Cell{RankOf(depth, source)} << 32 | ColourBits(colour);
}

// -1 for an empty cell.
constexpr std::int32_t DepthOf(Cell cell) {
    return static_cast<std::int32_t>(cell >> (32 + kSourceBits)) - 1;
}

constexpr core::PixelTriple ColourOf(Cell cell) {
    return {static_cast<std::uint8_t>(cell), static_cast<std::uint8_t>(cell >> 8),
            static_cast<std::uint8_t>(cell >> 16)};
}

// Without a branch: on fine texture which write wins is as good as random.
inline void KeepNearer(Cell& cell, Cell candidate) {
    const Cell old = cell;
    const Cell larger = -static_cast<Cell>(candidate > old);
    cell = old ^ ((old ^ candidate) & larger);
}

// The first pixel whose centre lies at or after `position` (1/256 pixel).
constexpr int FirstCentreFrom(std::int32_t position) {
    return (position + kSubpixel - 1) >> 8;  // C++20: arithmetic shift, a floor
}

// One view's row: the source row, its levels, the view's shifts and its cells (the
// view's width and kWarpSpareCells more).
struct ViewCells {
    const core::PixelTriple* source;
    const std::uint8_t* levels;
    const std::int32_t* shifts;
    Cell* cells;
    int width;
};

// Where a view's warp stands; small, so that the row's loop keeps it in registers.
struct WarpState {
    std::int32_t at = 0;    // where the previous source pixel landed
    int written_end = 0;    // no cell from here on holds a write yet
    int unspanned_end = 0;  // cells up to here the quick steps wrote beyond their spans
};

// Empties the cells and lands source pixel 0.
WarpState StartView(const ViewCells& row);

// Steps x to stop - 1, each source pixel landed after the one before it: the span
// between two landings stretched over, or across a fold or a hole each side's own
// half pixel.
void GeneralSteps(const ViewCells& row, WarpState& state, int x, int stop);

// The cells the quick steps wrote past their spans are emptied again.
void ClearUnspanned(const ViewCells& row, WarpState& state);

// The last source pixel's half pixel beyond its landing; then every empty cell takes
// the texture of the farther side of its hole.
void FinishView(const ViewCells& row, WarpState& state);

// The colour of each cell from `from` on.
void CopyColours(std::span<const Cell> cells, std::span<core::PixelTriple> view, int from);

}  // namespace stereo::warp
