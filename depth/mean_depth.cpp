#include <vector>

#include "depth/blurs.h"
#include "depth/filter_frame.h"
#include "depth/rounded_quotients.h"

namespace Blurs {

void MeanDepth(core::StageContext& /*context*/, platform::PictureSurface& source,
               platform::PictureSurface& destination) {
    detail::FilterGrids grids = detail::BeginFilter(source, destination);
    const int columns = grids.columns;
    if (grids.rows >= 3 && columns >= 3) {
        detail::GreyRows greys(grids.input, columns);
        std::vector<std::uint16_t> column_sums(static_cast<std::size_t>(columns));
        for (int y = 1; y + 1 < grids.rows; ++y) {
            greys.MoveTo(y);
            const auto above = greys.Above();
            const auto centre = greys.Centre();
            const auto below = greys.Below();
            for (std::size_t x = 0; x < column_sums.size(); ++x)
                column_sums[x] = static_cast<std::uint16_t>(above[x] + centre[x] + below[x]);
            const auto out = grids.output.Row(y);
            for (std::size_t x = 1; x + 1 < column_sums.size(); ++x) {
                const auto m = static_cast<std::uint8_t>(
                    depth::RoundedNinth(column_sums[x - 1] + column_sums[x] + column_sums[x + 1]));
                out[x] = {m, m, m};
            }
        }
    }
    detail::EndFilter(destination, grids);
}

}  // namespace Blurs
