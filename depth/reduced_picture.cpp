#include "depth/reduced_picture.h"

#include <algorithm>
#include <array>
#include <vector>

namespace depth {

namespace {

// The sums of one band of picture rows, per reduced column.
struct BandSums {
    explicit BandSums(int width) : sums{} {
        for (auto& s : sums) s.assign(static_cast<std::size_t>(width), 0.0f);
    }
    std::array<std::vector<float>, 5> sums;  // red, green, blue, luma, cue
};

void AddRow(BandSums& band, std::span<const core::PixelTriple> cells,
            std::span<const core::PixelTriple> depth, const ChannelRange& range, int factor) {
    const int width = static_cast<int>(cells.size());
    for (int x0 = 0, column = 0; x0 < width; x0 += factor, ++column) {
        const int x1 = std::min(x0 + factor, width);
        float r = 0, g = 0, b = 0, l = 0, c = 0;
        for (int x = x0; x < x1; ++x) {
            const core::PixelTriple& cell = cells[static_cast<std::size_t>(x)];
            r += cell.Red;
            g += cell.Green;
            b += cell.Blue;
            l += LumaOf(cell, range);
            c += depth[static_cast<std::size_t>(x)].Red;
        }
        const auto i = static_cast<std::size_t>(column);
        band.sums[0][i] += r / range.red;
        band.sums[1][i] += g / range.green;
        band.sums[2][i] += b / range.blue;
        band.sums[3][i] += l;
        band.sums[4][i] += c / range.red;
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
    std::array<FloatPlane*, 5> planes = {&reduced.red, &reduced.green, &reduced.blue, &reduced.luma,
                                         &reduced.cue};
    for (FloatPlane* plane : planes) *plane = FloatPlane(reduced_width, reduced_height);

    for (int row = 0; row < reduced_height; ++row) {
        BandSums band(reduced_width);
        const int y0 = row * factor;
        const int y1 = std::min(y0 + factor, height);
        for (int y = y0; y < y1; ++y) AddRow(band, picture.Row(y), depth.Row(y), range, factor);
        for (int column = 0; column < reduced_width; ++column) {
            const int x0 = column * factor;
            const auto count = static_cast<float>((std::min(x0 + factor, width) - x0) * (y1 - y0));
            for (std::size_t p = 0; p < planes.size(); ++p)
                (*planes[p])(column, row) = band.sums[p][static_cast<std::size_t>(column)] / count;
        }
    }
    return reduced;
}

}  // namespace depth
