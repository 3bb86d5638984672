#include <vector>

#include "depth/blurs.h"

namespace Blurs {

// An insertion sort whose inner walk always runs down to the front; equal values are
// never swapped.
std::int16_t GetMedian(std::span<const std::int16_t> values) {
    if (values.empty()) return 0;
    std::vector<std::int16_t> sorted(values.begin(), values.end());
    for (std::size_t i = 1; i < sorted.size(); ++i)
        for (std::size_t j = i; j >= 1; --j)
            if (sorted[j] < sorted[j - 1]) std::swap(sorted[j], sorted[j - 1]);
    return sorted[(sorted.size() - 1) / 2];
}

}  // namespace Blurs
