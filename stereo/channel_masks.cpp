#include "stereo/channel_masks.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/ddb_helper.h"
#include "core/pixel_grid.h"

namespace stereo {

namespace {

using core::PixelGrid;
using core::PixelTriple;

using DimTable = std::array<std::uint8_t, 256>;

const DimTable& Dimmed() {
    static const DimTable table = [] {
        DimTable t{};
        for (int c = 0; c < 256; ++c)
            t[static_cast<std::size_t>(c)] = DimChannel(static_cast<std::uint8_t>(c));
        return t;
    }();
    return table;
}

void RedOnlyRow(PixelTriple* row, int width, const DimTable& dim) {
    for (int x = 0; x < width; ++x) row[x] = {0, 0, dim[row[x].Red]};
}

void CyanOnlyRow(PixelTriple* row, int width, const DimTable& dim) {
    for (int x = 0; x < width; ++x) row[x] = {dim[row[x].Blue], dim[row[x].Green], 0};
}

using MaskRow = void (*)(PixelTriple*, int, const DimTable&);

void MakeMask(core::StageContext& context, platform::PictureSurface& source,
              platform::PictureSurface& destination, MaskRow mask_row) {
    PixelGrid grid;
    std::int16_t bits = 0;
    DDBHelper::GetBitmapPixels(source, grid, bits);
    const DimTable& dim = Dimmed();

    const int rows = source.ScaleHeight();
    for (int y = 0; y < rows; ++y) {
        if (y < grid.Height())
            mask_row(grid.Row(y).data(), std::min(source.ScaleWidth(), grid.Width()), dim);
        if (!core::PollAfterRow(context)) return;
    }

    DDBHelper::SetBitmapPixels(destination, bits, grid);
    destination.AssignImageToPicture();
}

}  // namespace

std::uint8_t DimChannel(std::uint8_t c) {
    const float f = -1.0f / 100.0f;
    const float gain = 1.0f + f;
    // The gain is the single-precision 0.99000001; the product is formed exactly (a
    // byte times a 24-bit mantissa fits a double). Rounding the product to single
    // precision first would turn 150 x gain = 148.5000014 into 148.5 and then 148.
    const double product = static_cast<double>(c) * static_cast<double>(gain);
    return static_cast<std::uint8_t>(std::nearbyint(product));
}

void MakeRedOnly(core::StageContext& context, platform::PictureSurface& source,
                 platform::PictureSurface& destination) {
    MakeMask(context, source, destination, RedOnlyRow);
}

void MakeCyanOnly(core::StageContext& context, platform::PictureSurface& source,
                  platform::PictureSurface& destination) {
    MakeMask(context, source, destination, CyanOnlyRow);
}

}  // namespace stereo
