#pragma once
// The picture and its classic depth map brought down to a few hundred pixels a side,
// each reduced pixel the mean of a square block (see Reduce). The scene's layout, its sky and the
// edge-aware fit are worked out on this copy; only the last step touches every pixel.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "core/pixel_grid.h"
#include "depth/float_plane.h"
#include "depth/pixel_rows.h"

namespace depth {

// The largest value of each channel in a grid read from a surface of that many bits
// per pixel: 15- and 16-bit grids hold the raw 5- and 6-bit fields.
struct ChannelRange {
    float blue = 255.0f;
    float green = 255.0f;
    float red = 255.0f;
};
ChannelRange ChannelRangeOf(std::int16_t bits_per_pixel);

inline constexpr float kLumaRed = 0.299f;
inline constexpr float kLumaGreen = 0.587f;
inline constexpr float kLumaBlue = 0.114f;

// Brightness from 0 to 1 of a cell whose channels run up to the range it was made
// for: one weight per channel, the range folded in.
struct LumaWeights {
    explicit LumaWeights(const ChannelRange& range)
        : red(kLumaRed / range.red),
          green(kLumaGreen / range.green),
          blue(kLumaBlue / range.blue) {}
    float operator()(const core::PixelTriple& cell) const {
        return red * cell.Red + green * cell.Green + blue * cell.Blue;
    }
    float red, green, blue;
};

// The picture's brightness, one byte per pixel from 0 to 255, on the rows the
// reduction read (see Reduce): the guide the depth is fitted to at full width. Each
// picture row takes its brightness from the nearest of them.
class GuideRows {
  public:
    GuideRows() = default;
    // `rows`: the picture row of each guide row, from the top down.
    GuideRows(int width, int height, std::vector<int> rows);

    int Width() const { return width_; }
    std::size_t Count() const { return rows_.size(); }
    int PictureRow(std::size_t i) const { return rows_[i]; }
    std::span<std::uint8_t> Row(std::size_t i) {
        return {values_.get() + i * Size(width_), Size(width_)};
    }
    // The guide row nearest picture row y.
    std::span<const std::uint8_t> Nearest(int y) const {
        return {values_.get() + nearest_[Size(y)] * Size(width_), Size(width_)};
    }

  private:
    static std::size_t Size(int n) { return static_cast<std::size_t>(std::max(n, 0)); }

    int width_ = 0;
    std::vector<int> rows_;
    std::vector<std::size_t> nearest_;  // per picture row
    std::unique_ptr<std::uint8_t[]> values_;
};

struct ReducedPicture {
    int factor = 1;                     // picture pixels per reduced pixel, each way
    FloatPlane red, green, blue, luma;  // from 0 to 1
    FloatPlane cue;  // the classic depth from its Red byte, from 0 to 1, larger nearer
    GuideRows guide;
};

// The reduction factor that brings the longer side to at most `longest` pixels.
int ReductionFactor(int width, int height, int longest);

// `picture` and `depth` are of one size; the blocks at the right and bottom edges may
// be cut short. A block's colour is the mean over all its columns and every
// (factor / 4)-th of its rows: all rows of blocks under eight rows tall, four rows of
// a block of eight; these rows become the guide. The cue, the depth's Red byte, is
// the mean over the block's middle row.
ReducedPicture Reduce(const PixelRows& picture, const PixelRows& depth, const ChannelRange& range,
                      int factor);

}  // namespace depth
