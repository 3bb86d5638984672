#pragma once
// Filters that work on each channel byte by itself: the window of a byte is the same
// channel of the nine cells around it, three bytes apart along a row.
#include <cstdint>
#include <vector>

#include "depth/filter_frame.h"
#include "depth/grid_rows.h"

namespace Blurs::detail {

// Sets every interior channel byte of the output to combine(sum of its nine window
// bytes, its own centre byte).
template <class Combine>
void FilterChannels(FilterGrids& grids, Combine combine) {
    const int columns = grids.columns;
    if (grids.rows < 3 || columns < 3) return;
    const std::size_t bytes = static_cast<std::size_t>(columns) * 3;
    std::vector<std::uint16_t> column_sums(bytes);  // one channel of three cells stacked
    for (int y = 1; y + 1 < grids.rows; ++y) {
        const std::uint8_t* above = depth::RowBytes(grids.input, y - 1, columns).data();
        const std::uint8_t* centre = depth::RowBytes(grids.input, y, columns).data();
        const std::uint8_t* below = depth::RowBytes(grids.input, y + 1, columns).data();
        std::uint16_t* sums = column_sums.data();
        for (std::size_t i = 0; i < bytes; ++i)
            sums[i] = static_cast<std::uint16_t>(above[i] + centre[i] + below[i]);
        std::uint8_t* out = depth::RowBytes(grids.output, y, columns).data();
        for (std::size_t i = 3; i + 3 < bytes; ++i) {
            const auto nine = static_cast<std::uint16_t>(sums[i - 3] + sums[i] + sums[i + 3]);
            out[i] = static_cast<std::uint8_t>(combine(nine, centre[i]));
        }
    }
}

}  // namespace Blurs::detail
