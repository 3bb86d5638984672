#pragma once
// A depth map that came from elsewhere (another program's estimate), as levels from
// 0 (far) to 255 (near), one byte per pixel, rows from the top with no padding.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace core {

struct DepthLevels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> levels;  // width x height

    std::uint8_t At(int x, int y) const {
        return levels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

}  // namespace core
