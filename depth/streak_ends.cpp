#include "depth/streak_ends.h"

#include <cmath>
#include <cstdlib>

namespace depth {

StreakEnds::StreakEnds(int warp) {
    for (int grey = 0; grey < 256; ++grey)
        quotients_[static_cast<std::size_t>(grey)] = static_cast<double>(grey) / warp;
}

void StreakEnds::MoveToRow(int y) {
    for (std::size_t grey = 0; grey < last_.size(); ++grey) {
        const auto end = static_cast<float>(y - quotients_[grey]);
        last_[grey] = static_cast<int>(std::nearbyint(static_cast<double>(end)));
    }
}

int StreakEnds::MaxLength(int warp) {
    return 255 / std::abs(warp) + 1;
}

}  // namespace depth
