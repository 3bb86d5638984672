#pragma once
// Whole pictures read and written row by row without a full-size copy. The scene
// depth reads two pictures and writes one; through grids, the copies made on the way
// cost more than the work itself. At 24 and 32 bits per pixel the image's own rows
// already hold Blue, Green and Red at the start of every pixel, so they are used as
// they are; other formats go through the bridge (core/ddb_helper.h), whose grid
// cells hold the same three bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/ddb_helper.h"
#include "core/pixel_grid.h"
#include "core/row_blocks.h"
#include "platform/picture_surface.h"
#include "platform/streaming.h"

namespace depth {

class PixelRows {
  public:
    // Reads the surface's image; it must not change while the rows are in use.
    explicit PixelRows(platform::PictureSurface& surface);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // As the bridge reports it: 15 and 16 bits are told apart.
    std::int16_t BitsPerPixel() const { return bits_per_pixel_; }
    // 3 or 4: Blue, Green, Red, then at 4 an unused byte.
    int PixelBytes() const { return pixel_bytes_; }
    // Width() x PixelBytes() bytes.
    std::span<const std::uint8_t> Row(int y) const {
        return {first_ + stride_ * static_cast<std::size_t>(y),
                static_cast<std::size_t>(width_) * static_cast<std::size_t>(pixel_bytes_)};
    }

  private:
    core::PixelGrid grid_;  // only for the formats read through the bridge
    const std::uint8_t* first_ = nullptr;
    std::size_t stride_ = 0;
    int width_ = 0;
    int height_ = 0;
    int pixel_bytes_ = 3;
    std::int16_t bits_per_pixel_ = 0;
};

namespace detail {

// Whether the surface's image takes grey rows in place: 24 or 32 bits, width x height.
bool WritesInPlace(const platform::PictureSurface& surface, std::int16_t bits_per_pixel, int width,
                   int height);
// Each grey value as a whole pixel of `pixel_bytes` bytes (3 or 4, the fourth 0),
// at 4 with streaming stores if asked; a thread that streamed calls EndStreaming
// before its bytes are read.
void SpreadGreys(std::span<const std::uint8_t> greys, std::uint8_t* out, int pixel_bytes,
                 bool stream);
void EndStreaming();

}  // namespace detail

// Writes a grey picture of width x height into the surface's image, in the format
// the bridge would write a grid of grey cells at `bits_per_pixel`, and repaints it.
// grey_row(y, greys) fills the row's width values; it is called for every row once,
// on any of the cores, and must touch nothing that another row writes.
template <class GreyRow>
void WriteGreyRows(platform::PictureSurface& surface, std::int16_t bits_per_pixel, int width,
                   int height, const GreyRow& grey_row) {
    const auto size = [](int n) { return static_cast<std::size_t>(std::max(n, 0)); };
    // Each thread's own row of greys, made before the rows start.
    std::vector<std::vector<std::uint8_t>> greys(size(core::ThreadCount()),
                                                 std::vector<std::uint8_t>(size(width)));
    const auto greys_of = [&](int y) {
        std::vector<std::uint8_t>& row = greys[size(core::ThreadIndex())];
        grey_row(y, std::span<std::uint8_t>(row));
        return std::span<const std::uint8_t>(row);
    };
    if (detail::WritesInPlace(surface, bits_per_pixel, width, height)) {
        platform::Bitmap& image = surface.MutableImage();
        const auto stride = static_cast<std::size_t>(image.WidthBytes());
        const int pixel_bytes = bits_per_pixel / 8;
        const std::span<std::uint8_t> bits = image.BitsForOverwrite();
        const bool stream = platform::streaming::Worthwhile(bits.size());
#pragma omp parallel
        {
#pragma omp for schedule(static)
            for (int y = 0; y < height; ++y) {
                std::uint8_t* row = bits.data() + stride * size(y);
                const std::size_t used = size(width) * size(pixel_bytes);
                std::fill(row + used, row + stride, std::uint8_t{0});  // padding, as the bridge
                detail::SpreadGreys(greys_of(y), row, pixel_bytes, stream);
            }
            if (stream) detail::EndStreaming();
        }
        surface.Refresh();
        return;
    }
    core::PixelGrid grid;
    grid.ResizeForOverwrite(width, height);
    core::ParallelRows(0, height, [&](int y) {
        const std::span<const std::uint8_t> row = greys_of(y);
        std::transform(row.begin(), row.end(), grid.Row(y).begin(), [](std::uint8_t v) {
            return core::PixelTriple{v, v, v};
        });
    });
    DDBHelper::SetBitmapPixels(surface, bits_per_pixel, grid);
}

}  // namespace depth
