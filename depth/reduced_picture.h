#pragma once
// The picture and its classic depth map brought down to a few hundred pixels a side,
// each reduced pixel the mean of a square block. The scene's layout, its sky and the
// edge-aware fit are worked out on this copy; only the last step touches every pixel.
#include <cstdint>

#include "core/pixel_grid.h"
#include "depth/float_plane.h"

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

struct ReducedPicture {
    int factor = 1;                     // picture pixels per reduced pixel, each way
    FloatPlane red, green, blue, luma;  // from 0 to 1
    FloatPlane cue;  // the classic depth from its Red byte, from 0 to 1, larger nearer
};

// The reduction factor that brings the longer side to at most `longest` pixels.
int ReductionFactor(int width, int height, int longest);

// `picture` and `depth` are of one size; the blocks at the right and bottom edges may
// be cut short, and are the means of what they hold.
ReducedPicture Reduce(const core::PixelGrid& picture, const core::PixelGrid& depth,
                      const ChannelRange& range, int factor);

}  // namespace depth
