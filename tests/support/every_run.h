#pragma once
// Checks a routine that writes a run of bytes, for every length up to a few vector
// blocks and every alignment of its output, against a byte-by-byte statement.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace byte_runs {

// For every count of units (`unit` bytes each) that `expected` holds, and every offset
// of `out` into room filled with a marker, `write(out, count)` must write the first
// count units of `expected` and leave the marker around them.
inline void CheckEveryRun(const std::vector<std::uint8_t>& expected, std::size_t unit,
                          const std::function<void(std::uint8_t* out, std::size_t count)>& write) {
    constexpr std::size_t kSlack = 64;
    constexpr std::uint8_t kMarker = 0xA5;
    for (std::size_t count = 0; count <= expected.size() / unit; ++count)
        for (std::size_t offset = 0; offset < 16; ++offset) {
            std::vector<std::uint8_t> out(unit * count + 2 * kSlack, kMarker);
            write(out.data() + kSlack + offset, count);
            for (std::size_t i = 0; i < out.size(); ++i) {
                const std::size_t at = i - kSlack - offset;
                const bool inside = i >= kSlack + offset && at < unit * count;
                ASSERT_EQ(out[i], inside ? expected[at] : kMarker)
                    << count << " units, offset " << offset << ", byte " << i;
            }
        }
}

}  // namespace byte_runs
