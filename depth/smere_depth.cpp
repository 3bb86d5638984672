#include "depth/blurs.h"
#include "depth/channel_windows.h"
#include "depth/rounded_quotients.h"

namespace Blurs {

// Weights   1 1 1
//           1 8 1   over 16; 8 x centre + the others is the nine cells + 7 x centre.
//           1 1 1   A sum of 8, 24, 40 or 2040 is a half: 0, 2, 2 and 128.
void SmereDepth(core::StageContext& /*context*/, platform::PictureSurface& surface) {
    detail::FilterGrids grids = detail::BeginFilter(surface, surface);
    detail::FilterChannels(grids, [](std::uint16_t nine, std::uint8_t centre) {
        return depth::RoundedSixteenth(static_cast<std::uint16_t>(nine + 7 * centre));
    });
    detail::EndFilter(surface, grids);
}

}  // namespace Blurs
