#include "stereo/joined_row.h"

#include <cstddef>

#include "stereo/channel_bytes.h"
#include "stereo/forward_warp_wide.h"
#include "stereo/warp_cells.h"

namespace stereo {

void JoinCellsRow(const std::uint64_t* red_from, const std::uint64_t* cyan_from, std::uint8_t* out,
                  int width) {
    const int joined = warp::JoinCellsWide(red_from, cyan_from, out, width);
    for (auto i = static_cast<std::size_t>(joined); i < static_cast<std::size_t>(width); ++i) {
        const core::PixelTriple red = warp::ColourOf(red_from[i]);
        const core::PixelTriple cyan = warp::ColourOf(cyan_from[i]);
        out[4 * i] = DimByte(cyan.Blue);
        out[4 * i + 1] = DimByte(cyan.Green);
        out[4 * i + 2] = DimByte(red.Red);
        out[4 * i + 3] = 0;
    }
}

}  // namespace stereo
