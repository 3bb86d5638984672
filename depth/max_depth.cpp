#include <array>
#include <vector>

#include "depth/blurs.h"
#include "depth/filter_frame.h"
#include "depth/median_of_nine.h"

namespace Blurs {

namespace {

// dx, dy of the nine window cells in raster order: top-left first, bottom-right last.
constexpr std::array<std::int16_t, 18> kOffsets = {-1, -1, 0, -1, 1, -1, -1, 0, 0,
                                                   0,  1,  0, -1, 1, 0,  1,  1, 1};

// Which window cell each interior column copies: the first in raster order whose grey
// is the greatest, as a walk that moves on only for a strictly greater grey finds it.
class BrightestCells {
  public:
    explicit BrightestCells(int columns)
        : column_highs_(static_cast<std::size_t>(columns)), chosen_(column_highs_.size()) {}

    const std::vector<std::uint8_t>& Choose(const std::uint8_t* above, const std::uint8_t* centre,
                                            const std::uint8_t* below) {
        const std::size_t n = column_highs_.size();
        std::uint8_t* highs = column_highs_.data();
        for (std::size_t x = 0; x < n; ++x)
            highs[x] = detail::HighOfThree(above[x], centre[x], below[x]);
        std::uint8_t* chosen = chosen_.data();
        for (std::size_t x = 1; x + 1 < n; ++x) {
            const std::uint8_t best = detail::HighOfThree(highs[x - 1], highs[x], highs[x + 1]);
            // Walking back from the last cell leaves the first that holds `best`; the
            // last cell holds it when no other does.
            std::uint8_t k = 8;
            k = below[x] == best ? 7 : k;
            k = below[x - 1] == best ? 6 : k;
            k = centre[x + 1] == best ? 5 : k;
            k = centre[x] == best ? 4 : k;
            k = centre[x - 1] == best ? 3 : k;
            k = above[x + 1] == best ? 2 : k;
            k = above[x] == best ? 1 : k;
            k = above[x - 1] == best ? 0 : k;
            chosen[x] = k;
        }
        return chosen_;
    }

  private:
    std::vector<std::uint8_t> column_highs_;
    std::vector<std::uint8_t> chosen_;
};

}  // namespace

void MaxDepth(core::StageContext& context, platform::PictureSurface& source,
              platform::PictureSurface& destination) {
    context.progress.Yield();
    detail::FilterGrids grids = detail::BeginFilter(source, destination);
    const int columns = grids.columns;
    if (grids.rows >= 3 && columns >= 3) {
        detail::GreyRows greys(grids.input, columns);
        BrightestCells brightest(columns);
        for (int y = 1; y + 1 < grids.rows; ++y) {
            greys.MoveTo(y);
            const auto& chosen =
                brightest.Choose(greys.Above().data(), greys.Centre().data(), greys.Below().data());
            const std::array<const core::PixelTriple*, 3> window_rows = {
                grids.input.Row(y - 1).data(), grids.input.Row(y).data(),
                grids.input.Row(y + 1).data()};
            core::PixelTriple* out = grids.output.Row(y).data();
            for (int x = 1; x + 1 < columns; ++x) {
                const std::size_t k = chosen[static_cast<std::size_t>(x)];
                out[x] = window_rows[static_cast<std::size_t>(kOffsets[2 * k + 1] + 1)]
                                    [x + kOffsets[2 * k]];
            }
        }
    }
    detail::EndFilter(destination, grids);
}

}  // namespace Blurs
