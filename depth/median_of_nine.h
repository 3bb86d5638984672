#pragma once
// The median of a 3 x 3 window of bytes from its three columns, each sorted once and
// shared by the three windows that hold it: the median of the nine is the median of
// the largest column low, the median column middle and the smallest column high.
// Only minima and maxima are taken, so the result is the fifth smallest of the nine,
// the value GetMedian returns, whatever the order of equal values.
#include <algorithm>
#include <cstdint>

namespace Blurs::detail {

inline std::uint8_t LowOfThree(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    return std::min(std::min(a, b), c);
}
inline std::uint8_t HighOfThree(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    return std::max(std::max(a, b), c);
}
inline std::uint8_t MedianOfThree(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

struct SortedColumn {
    std::uint8_t low;
    std::uint8_t middle;
    std::uint8_t high;
};

inline SortedColumn SortColumn(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    return {LowOfThree(a, b, c), MedianOfThree(a, b, c), HighOfThree(a, b, c)};
}

inline std::uint8_t MedianOfNine(const SortedColumn& left, const SortedColumn& centre,
                                 const SortedColumn& right) {
    return MedianOfThree(HighOfThree(left.low, centre.low, right.low),
                         MedianOfThree(left.middle, centre.middle, right.middle),
                         LowOfThree(left.high, centre.high, right.high));
}

}  // namespace Blurs::detail
