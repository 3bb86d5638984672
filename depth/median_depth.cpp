#include <vector>

#include "depth/blurs.h"
#include "depth/filter_frame.h"
#include "depth/median_of_nine.h"

namespace Blurs {

namespace {

using detail::HighOfThree;
using detail::LowOfThree;
using detail::MedianOfThree;

// The sorted columns of one row of windows, one array per rank, so that the loops
// over them vectorise.
class SortedColumns {
  public:
    explicit SortedColumns(int columns)
        : low_(static_cast<std::size_t>(columns)),
          middle_(low_.size()),
          high_(low_.size()),
          medians_(low_.size()) {}

    // Medians of the windows of the interior columns, from three rows of greys.
    const std::vector<std::uint8_t>& Medians(const std::uint8_t* above, const std::uint8_t* centre,
                                             const std::uint8_t* below) {
        const std::size_t n = low_.size();
        std::uint8_t* low = low_.data();
        std::uint8_t* middle = middle_.data();
        std::uint8_t* high = high_.data();
        for (std::size_t x = 0; x < n; ++x) {
            low[x] = LowOfThree(above[x], centre[x], below[x]);
            middle[x] = MedianOfThree(above[x], centre[x], below[x]);
            high[x] = HighOfThree(above[x], centre[x], below[x]);
        }
        std::uint8_t* medians = medians_.data();
        for (std::size_t x = 1; x + 1 < n; ++x)
            medians[x] = MedianOfThree(HighOfThree(low[x - 1], low[x], low[x + 1]),
                                       MedianOfThree(middle[x - 1], middle[x], middle[x + 1]),
                                       LowOfThree(high[x - 1], high[x], high[x + 1]));
        return medians_;
    }

  private:
    std::vector<std::uint8_t> low_, middle_, high_, medians_;
};

}  // namespace

void MedianDepth(core::StageContext& /*context*/, platform::PictureSurface& source,
                 platform::PictureSurface& destination) {
    detail::FilterGrids grids = detail::BeginFilter(source, destination);
    const int columns = grids.columns;
    if (grids.rows >= 3 && columns >= 3) {
        detail::GreyRows greys(grids.input, columns);
        SortedColumns sorted(columns);
        for (int y = 1; y + 1 < grids.rows; ++y) {
            greys.MoveTo(y);
            const auto& medians =
                sorted.Medians(greys.Above().data(), greys.Centre().data(), greys.Below().data());
            core::PixelTriple* out = grids.output.Row(y).data();
            for (int x = 1; x + 1 < columns; ++x) {
                const std::uint8_t m = medians[static_cast<std::size_t>(x)];
                out[x] = {m, m, m};
            }
        }
    }
    detail::EndFilter(destination, grids);
}

}  // namespace Blurs
