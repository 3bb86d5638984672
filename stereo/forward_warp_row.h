#pragma once
// One row of an eye's view, made from the picture's row by a forward warp: each source
// pixel moves by the shift of its depth level, nearer pixels cover farther ones, and
// the gaps that open behind near objects are filled with the farther side's texture.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/pixel_grid.h"

namespace stereo {

// Positions are in 1/256 of a pixel, so that a slanted depth moves its pixels by
// fractions and the view shows no staircase.
inline constexpr int kSubpixel = 256;

// The shift of each depth level, in 1/256 pixel; positive moves to the right.
using LevelShifts = std::array<std::int32_t, 256>;

// The warp's working row, one cell per pixel of the view and a few more; a caller
// keeps it between rows, so that a view allocates once.
inline constexpr std::size_t kWarpSpareCells = 16;
constexpr std::size_t WarpCellsFor(std::size_t width) {
    return width + kWarpSpareCells;
}

struct WarpScratch {
    std::span<std::uint64_t> cells;  // WarpCellsFor(the view's width)
};

// Writes every pixel of `view` (the row's width). `levels` are the source row's depth
// levels, 0 far to 255 near.
void ForwardWarpRow(std::span<const core::PixelTriple> source, std::span<const std::uint8_t> levels,
                    const LevelShifts& shifts, std::span<core::PixelTriple> view,
                    WarpScratch scratch);

// The same into `scratch` alone, for a caller that reads the view from the cells (see
// stereo/warp_cells.h) and writes no view row.
void ForwardWarpCells(std::span<const core::PixelTriple> source,
                      std::span<const std::uint8_t> levels, const LevelShifts& shifts,
                      WarpScratch scratch);

// The same, taking the steps one at a time whatever the processor can do: the warp's
// tests hold the two ways to each other.
void ForwardWarpRowOneAtATime(std::span<const core::PixelTriple> source,
                              std::span<const std::uint8_t> levels, const LevelShifts& shifts,
                              std::span<core::PixelTriple> view, WarpScratch scratch);

// One eye's view in the making: its shifts, its row and working cells of its own.
struct EyeView {
    const LevelShifts& shifts;
    std::span<core::PixelTriple> view;
    std::span<std::uint64_t> cells;  // WarpCellsFor(the view's width)
};

// Both eyes' views of one row, the same as two ForwardWarpRow calls. The views have
// the same width.
void ForwardWarpViews(std::span<const core::PixelTriple> source,
                      std::span<const std::uint8_t> levels, const EyeView& left,
                      const EyeView& right);

}  // namespace stereo
