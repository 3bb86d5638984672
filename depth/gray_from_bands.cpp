#include <algorithm>
#include <array>

#include "depth/cue_frame.h"
#include "depth/cue_greys.h"
#include "depth/gray_scale.h"
#include "depth/rounded_quotients.h"

namespace GrayScale {

namespace {

struct Covered {
    int rows = 0;
    int columns = 0;
};

}  // namespace

// Band i sets the cells whose mean lies in [BandLevels(i), BandLevels(i + 1)); a cell it
// sets then has the mean BandLevels(i) and matches no later band, and a cell it leaves
// keeps its mean. So each cell ends at the level of its own band if that band's pass
// reached it, whatever the other passes did, and all eleven passes come down to one
// walk over the grid after the last poll. What each pass would have covered (the
// original's size at the time, as far as the grid reaches) is noted as the passes go,
// since the surface may take another picture during a yield; the grid itself cannot
// be seen before it is written, so the one walk gives the same map.
void GrayFromBands(core::StageContext& context, platform::PictureSurface& original,
                   platform::PictureSurface& depth) {
    detail::CueGrid cue = detail::BeginCue(original, depth);
    core::PixelGrid& grid = cue.grid;
    std::array<Covered, detail::kBandCount> covered{};
    for (Covered& pass : covered) {
        pass.rows = std::clamp(original.ScaleHeight(), 0, grid.Height());
        pass.columns = pass.rows > 0 ? ::depth::ColumnsInRow(original, grid, 0) : 0;
        if (!core::PollAfterRow(context)) return;
    }

    const auto& band_of_mean = detail::BandOfMean();
    std::array<int, detail::kBandCount + 1> columns_of_band{};  // the last: no band, 0
    for (int y = 0; y < grid.Height(); ++y) {
        for (std::size_t i = 0; i < covered.size(); ++i)
            columns_of_band[i] = y < covered[i].rows ? covered[i].columns : 0;
        auto row = grid.Row(y);
        for (std::size_t x = 0; x < row.size(); ++x) {
            core::PixelTriple& p = row[x];
            const std::uint8_t band = band_of_mean[::depth::RoundedThird(
                static_cast<std::uint16_t>(p.Red + p.Green + p.Blue))];
            const std::size_t slot = band == detail::kNoBand ? covered.size() : band;
            if (static_cast<int>(x) < columns_of_band[slot]) {
                const auto level = static_cast<std::uint8_t>(detail::kBandLevels[slot]);
                p = {level, level, level};
            }
        }
    }
    detail::EndCue(depth, cue);
}

}  // namespace GrayScale
