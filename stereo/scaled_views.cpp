#include "stereo/scaled_views.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/ddb_helper.h"
#include "core/pixel_grid.h"
#include "core/row_blocks.h"
#include "stereo/direct_views.h"

namespace stereo {

namespace {

using core::PixelGrid;
using core::PixelTriple;

// On 15- and 16-bit displays the depth map's Blue holds a 5-bit field.
int DeepestLevel(std::int16_t bits) {
    return bits == 15 || bits == 16 ? 31 : 255;
}

// Depth bytes as levels from 0 to 255, whatever field size the display gives them.
std::array<std::uint8_t, 256> LevelsOfBytes(int deepest) {
    std::array<std::uint8_t, 256> levels{};
    for (int b = 0; b < 256; ++b)
        levels[static_cast<std::size_t>(b)] =
            static_cast<std::uint8_t>((std::min(b, deepest) * 255 + deepest / 2) / deepest);
    return levels;
}

// The depth levels of row y; columns the map lacks are as far as can be.
void LevelsOfRow(const PixelGrid& depth, int y, const std::array<std::uint8_t, 256>& of_byte,
                 std::span<std::uint8_t> out) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    if (y >= depth.Height()) return;
    const auto row = depth.Row(y);
    const std::size_t count = std::min(out.size(), row.size());
    for (std::size_t x = 0; x < count; ++x) out[x] = of_byte[row[x].Blue];
}

}  // namespace

double ParallaxOfLevel(const core::ParallaxChoices& choices, int width, int level) {
    const double percent =
        std::clamp(choices.parallax_percent, core::kMinParallaxPercent, core::kMaxParallaxPercent);
    const double plane = std::clamp(choices.screen_plane, 0.0, 100.0);
    return percent / 100.0 * width * (level / 255.0 - plane / 100.0);
}

LevelShifts ShiftsOfView(const core::ParallaxChoices& choices, int width, bool left_eye) {
    LevelShifts shifts{};
    const double sign = left_eye ? 0.5 : -0.5;
    for (int level = 0; level < 256; ++level)
        shifts[static_cast<std::size_t>(level)] = static_cast<std::int32_t>(
            std::lround(sign * ParallaxOfLevel(choices, width, level) * kSubpixel));
    return shifts;
}

void MakeScaledViews(core::StageContext& context) {
    core::Workspace& surfaces = context.surfaces;
    if (CanWarpImagesDirectly(surfaces)) {
        const int width = surfaces.picOriginal.ScaleWidth();
        WarpImagesDirectly(context, ShiftsOfView(context.parallax, width, true),
                           ShiftsOfView(context.parallax, width, false));
        return;
    }
    PixelGrid picture;
    PixelGrid depth;
    std::int16_t picture_bits = 0;
    std::int16_t depth_bits = 0;
    DDBHelper::GetBitmapPixels(surfaces.picOriginal, picture, picture_bits);
    DDBHelper::GetBitmapPixels(surfaces.picDepth, depth, depth_bits);

    const int width = picture.Width();
    const LevelShifts left_shifts = ShiftsOfView(context.parallax, width, true);
    const LevelShifts right_shifts = ShiftsOfView(context.parallax, width, false);
    const auto of_byte = LevelsOfBytes(DeepestLevel(depth_bits));
    PixelGrid left;
    PixelGrid right;
    left.ResizeForOverwrite(width, picture.Height());
    right.ResizeForOverwrite(width, picture.Height());
    // One row of levels and two of cells for each thread, made before the rows start.
    const auto row_size = static_cast<std::size_t>(width);
    const auto threads = static_cast<std::size_t>(core::ThreadCount());
    const std::size_t cells_size = WarpCellsFor(row_size);
    std::vector<std::uint8_t> levels(row_size * threads);
    std::vector<std::uint64_t> cells(2 * cells_size * threads);

    const bool done = core::PolledRows(context, picture.Height(), [&](int y) {
        const auto thread = static_cast<std::size_t>(core::ThreadIndex());
        const std::span<std::uint8_t> row_levels{levels.data() + thread * row_size, row_size};
        std::uint64_t* row_cells = cells.data() + 2 * thread * cells_size;
        LevelsOfRow(depth, y, of_byte, row_levels);
        ForwardWarpViews(picture.Row(y), row_levels,
                         {left_shifts, left.Row(y), {row_cells, cells_size}},
                         {right_shifts, right.Row(y), {row_cells + cells_size, cells_size}});
    });
    if (!done) return;

    surfaces.picLeft.SetPicture(surfaces.picOriginal.ImageAsPicture());
    DDBHelper::SetBitmapPixels(surfaces.picLeft, picture_bits, left);
    surfaces.picLeft.AssignImageToPicture();
    surfaces.picResult.SetPicture(surfaces.picOriginal.ImageAsPicture());
    DDBHelper::SetBitmapPixels(surfaces.picResult, picture_bits, right);
    surfaces.picResult.AssignImageToPicture();
}

}  // namespace stereo
