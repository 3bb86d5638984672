#include "app/depth_histogram.h"

#include <algorithm>

namespace depthhistogram {

Counts CountRedValues(const core::PixelGrid& grid) {
    Counts counts{};
    for (int y = 0; y < grid.Height(); ++y)
        for (const core::PixelTriple& cell : grid.Row(y)) ++counts[cell.Red];
    return counts;
}

std::int32_t PeakOf(const Counts& counts) {
    return *std::max_element(counts.begin() + 1, counts.end());
}

}  // namespace depthhistogram
