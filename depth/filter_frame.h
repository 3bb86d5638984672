#pragma once
// The frame the smoothing filters share, and the row views their kernels work on.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/pixel_grid.h"
#include "platform/picture_surface.h"

namespace Blurs::detail {

struct FilterGrids {
    core::PixelGrid input;
    core::PixelGrid output;
    std::int16_t bits_per_pixel = 0;  // as the second read reported it
    // The picture's size as far as both grids hold it: the interior is rows
    // 1 .. rows - 2 and columns 1 .. columns - 2.
    int rows = 0;
    int columns = 0;
};

// Gives `destination` the source's size and picture, and reads the source twice.
FilterGrids BeginFilter(platform::PictureSurface& source, platform::PictureSurface& destination);
// Writes the output grid to `destination` and makes it that surface's picture.
void EndFilter(platform::PictureSurface& destination, FilterGrids& grids);

// The cell greys of three input rows around the row being filtered, moved down one
// row at a time.
class GreyRows {
  public:
    GreyRows(const core::PixelGrid& input, int columns);
    // Makes rows y - 1, y and y + 1 available (y from 1, one row further each call).
    void MoveTo(int y);
    std::span<const std::uint8_t> Above() const { return rows_[(centre_ + 2) % 3]; }
    std::span<const std::uint8_t> Centre() const { return rows_[centre_]; }
    std::span<const std::uint8_t> Below() const { return rows_[(centre_ + 1) % 3]; }

  private:
    void Fill(std::vector<std::uint8_t>& greys, int y) const;

    const core::PixelGrid* input_;
    int at_ = -1;
    std::size_t centre_ = 1;
    std::array<std::vector<std::uint8_t>, 3> rows_;
};

}  // namespace Blurs::detail
