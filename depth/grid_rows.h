#pragma once
// Row access shared by the stages that walk a grid read from a surface.
#include <algorithm>
#include <cstdint>
#include <span>

#include "core/pixel_grid.h"
#include "platform/picture_surface.h"

namespace depth {

// The columns of row y that the surface has now and the grid has too: a stage that
// yields between rows may find its surface holding another picture afterwards.
inline int ColumnsInRow(const platform::PictureSurface& surface, const core::PixelGrid& grid,
                        int y) {
    if (y < 0 || y >= grid.Height()) return 0;
    return std::clamp(surface.ScaleWidth(), 0, grid.Width());
}

// The first `columns` cells of row y; `columns` comes from ColumnsInRow, so 0 stands
// for a row the grid does not have.
inline std::span<core::PixelTriple> RowCells(core::PixelGrid& grid, int y, int columns) {
    if (columns <= 0) return {};
    return grid.Row(y).first(static_cast<std::size_t>(columns));
}

inline std::span<const core::PixelTriple> RowCells(const core::PixelGrid& grid, int y,
                                                   int columns) {
    if (columns <= 0) return {};
    return grid.Row(y).first(static_cast<std::size_t>(columns));
}

// The same cells as their channel bytes: Blue, Green, Red, Blue, ...
inline std::span<std::uint8_t> RowBytes(core::PixelGrid& grid, int y, int columns) {
    const auto row = RowCells(grid, y, columns);
    return {reinterpret_cast<std::uint8_t*>(row.data()), row.size_bytes()};
}
inline std::span<const std::uint8_t> RowBytes(const core::PixelGrid& grid, int y, int columns) {
    const auto row = RowCells(grid, y, columns);
    return {reinterpret_cast<const std::uint8_t*>(row.data()), row.size_bytes()};
}

}  // namespace depth
