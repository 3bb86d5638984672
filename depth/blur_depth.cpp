#include "depth/blurs.h"
#include "depth/channel_windows.h"
#include "depth/rounded_quotients.h"

namespace Blurs {

// Weights   1 1 1
//           1 1 1   over 9.
//           1 1 1
void BlurDepth(core::StageContext& /*context*/, platform::PictureSurface& source,
               platform::PictureSurface& destination) {
    detail::FilterGrids grids = detail::BeginFilter(source, destination);
    detail::FilterChannels(grids, [](std::uint16_t nine, std::uint8_t /*centre*/) {
        return depth::RoundedNinth(nine);
    });
    detail::EndFilter(destination, grids);
}

}  // namespace Blurs
