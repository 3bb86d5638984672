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
        // Sums and means in arrays of their own, so that those loops vectorise.
        std::vector<std::uint16_t> column_sums(static_cast<std::size_t>(columns));
        std::vector<std::uint8_t> means(column_sums.size());
        for (int y = 1; y + 1 < grids.rows; ++y) {
            greys.MoveTo(y);
            const std::uint8_t* above = greys.Above().data();
            const std::uint8_t* centre = greys.Centre().data();
            const std::uint8_t* below = greys.Below().data();
            std::uint16_t* sums = column_sums.data();
            for (std::size_t x = 0; x < column_sums.size(); ++x)
                sums[x] = static_cast<std::uint16_t>(above[x] + centre[x] + below[x]);
            for (std::size_t x = 1; x + 1 < means.size(); ++x)
                means[x] = static_cast<std::uint8_t>(depth::RoundedNinth(
                    static_cast<std::uint16_t>(sums[x - 1] + sums[x] + sums[x + 1])));
            core::PixelTriple* out = grids.output.Row(y).data();
            for (std::size_t x = 1; x + 1 < means.size(); ++x)
                out[x] = {means[x], means[x], means[x]};
        }
    }
    detail::EndFilter(destination, grids);
}

}  // namespace Blurs
