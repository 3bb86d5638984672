#include "depth/reduced_picture.h"

#include <algorithm>
#include <array>
#include <vector>

namespace depth {

namespace {

// The channel sums of one band of picture rows, per reduced column, in whole
// numbers: the brightness of a block is that of its mean colour, so no pixel needs
// more than four additions.
struct BandSums {
    explicit BandSums(int width) : sums{} {
        for (auto& s : sums) s.assign(static_cast<std::size_t>(width), 0u);
    }
    std::array<std::vector<std::uint32_t>, 4> sums;  // red, green, blue, cue
};

void AddRow(BandSums& band, std::span<const core::PixelTriple> cells,
            std::span<const core::PixelTriple> depth, int factor) {
    const int width = static_cast<int>(cells.size());
    for (int x0 = 0, column = 0; x0 < width; x0 += factor, ++column) {
        const int x1 = std::min(x0 + factor, width);
        std::uint32_t r = 0, g = 0, b = 0, c = 0;
        for (int x = x0; x < x1; ++x) {
            const core::PixelTriple& cell = cells[static_cast<std::size_t>(x)];
            r += cell.Red;
            g += cell.Green;
            b += cell.Blue;
            c += depth[static_cast<std::size_t>(x)].Red;
        }
        const auto i = static_cast<std::size_t>(column);
        band.sums[0][i] += r;
        band.sums[1][i] += g;
        band.sums[2][i] += b;
        band.sums[3][i] += c;
    }
}

}  // namespace

ChannelRange ChannelRangeOf(std::int16_t bits_per_pixel) {
    if (bits_per_pixel == 15) return {31.0f, 31.0f, 31.0f};
    if (bits_per_pixel == 16) return {31.0f, 63.0f, 31.0f};
    return {};
}

int ReductionFactor(int width, int height, int longest) {
    const int side = std::max(width, height);
    return std::max(1, (side + longest - 1) / longest);
}

ReducedPicture Reduce(const core::PixelGrid& picture, const core::PixelGrid& depth,
                      const ChannelRange& range, int factor) {
    const int width = picture.Width();
    const int height = picture.Height();
    const int reduced_width = (width + factor - 1) / factor;
    const int reduced_height = (height + factor - 1) / factor;
    ReducedPicture reduced;
    reduced.factor = factor;
    for (FloatPlane* plane :
         {&reduced.red, &reduced.green, &reduced.blue, &reduced.luma, &reduced.cue})
        *plane = FloatPlane(reduced_width, reduced_height);

    for (int row = 0; row < reduced_height; ++row) {
        BandSums band(reduced_width);
        const int y0 = row * factor;
        const int y1 = std::min(y0 + factor, height);
        for (int y = y0; y < y1; ++y) AddRow(band, picture.Row(y), depth.Row(y), factor);
        for (int column = 0; column < reduced_width; ++column) {
            const int x0 = column * factor;
            const auto count = static_cast<float>((std::min(x0 + factor, width) - x0) * (y1 - y0));
            const auto i = static_cast<std::size_t>(column);
            const float r = static_cast<float>(band.sums[0][i]) / count / range.red;
            const float g = static_cast<float>(band.sums[1][i]) / count / range.green;
            const float b = static_cast<float>(band.sums[2][i]) / count / range.blue;
            reduced.red(column, row) = r;
            reduced.green(column, row) = g;
            reduced.blue(column, row) = b;
            reduced.luma(column, row) = kLumaRed * r + kLumaGreen * g + kLumaBlue * b;
            reduced.cue(column, row) = static_cast<float>(band.sums[3][i]) / count / range.red;
        }
    }
    return reduced;
}

}  // namespace depth
