#include "depth/filter_frame.h"

#include <algorithm>

#include "core/ddb_helper.h"
#include "depth/rounded_quotients.h"

namespace Blurs::detail {

FilterGrids BeginFilter(platform::PictureSurface& source, platform::PictureSurface& destination) {
    destination.SetHeight(source.Height());
    destination.SetWidth(source.Width());
    destination.SetPicture(source.ImageAsPicture());
    FilterGrids grids;
    std::int16_t input_bits = 0;
    DDBHelper::GetBitmapPixels(source, grids.input, input_bits);
    DDBHelper::GetBitmapPixels(source, grids.output, grids.bits_per_pixel);
    // Reading an 8-bit picture lets the window system run, so the two reads need not
    // find the same picture; only what both hold is filtered.
    grids.rows = std::min({source.ScaleHeight(), grids.input.Height(), grids.output.Height()});
    grids.columns = std::min({source.ScaleWidth(), grids.input.Width(), grids.output.Width()});
    return grids;
}

void EndFilter(platform::PictureSurface& destination, FilterGrids& grids) {
    DDBHelper::SetBitmapPixels(destination, grids.bits_per_pixel, grids.output);
    destination.AssignImageToPicture();
}

GreyRows::GreyRows(const core::PixelGrid& input, int columns) : input_(&input) {
    for (auto& row : rows_) row.resize(static_cast<std::size_t>(std::max(columns, 0)));
}

void GreyRows::Fill(std::vector<std::uint8_t>& greys, int y) const {
    const core::PixelTriple* cells = input_->Row(y).data();
    std::uint8_t* out = greys.data();
    for (std::size_t x = 0; x < greys.size(); ++x)
        out[x] = static_cast<std::uint8_t>(depth::RoundedThird(
            static_cast<std::uint16_t>(cells[x].Red + cells[x].Green + cells[x].Blue)));
}

void GreyRows::MoveTo(int y) {
    if (at_ >= 0 && y == at_ + 1) {
        centre_ = (centre_ + 1) % 3;
        Fill(rows_[(centre_ + 1) % 3], y + 1);
    } else {
        centre_ = 1;
        Fill(rows_[0], y - 1);
        Fill(rows_[1], y);
        Fill(rows_[2], y + 1);
    }
    at_ = y;
}

}  // namespace Blurs::detail
