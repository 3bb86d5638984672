#include "depth/reduced_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "core/row_blocks.h"
#include "core/vector_clones.h"
#include "platform/huge_pages.h"

namespace depth {

namespace {

// A band of picture rows summed down each byte column, in whole numbers: every byte
// of a row is added where it stands, a loop the compiler turns into vector additions,
// and the blocks are summed across once per band instead of once per row. Sixteen
// bits hold the sums of this many rows, and move half the bytes that 32 would.
constexpr int kRowsPerPartialSum = 257;

// `next` (nullptr: none) is the row that will be added after this one: rows are read a
// step apart, which the processor does not foresee, so its lines are asked for early.
ZARVIK_VECTOR_CLONES
void AddBytes(const std::uint8_t* row, const std::uint8_t* next, std::uint16_t* sums,
              std::size_t count) {
    constexpr std::size_t kLine = 64;
    std::size_t i = 0;
    for (; i + kLine <= count; i += kLine) {
        if (next) __builtin_prefetch(next + i);
        for (std::size_t j = i; j < i + kLine; ++j)
            sums[j] = static_cast<std::uint16_t>(sums[j] + row[j]);
    }
    for (; i < count; ++i) sums[i] = static_cast<std::uint16_t>(sums[i] + row[i]);
}

// The rows of a band that its means are taken over: every step-th, starting half a
// step in (at the bottom edge, within the rows there are). The block means hardly
// change, and the pass that reads the whole picture reads a fraction of it. The
// picture's colours are taken from kPictureRows rows of a block; the classic cue,
// which is then smoothed over windows many blocks wide, from one.
constexpr int kPictureRows = 4;

int PictureStep(int factor) {
    return std::max(factor / kPictureRows, 1);
}

struct SampledRows {
    SampledRows(int y0, int y1, int step)
        : first(std::min(y0 + step / 2, y1 - 1)), step(step), end(y1) {}
    int Count() const { return (end - first + step - 1) / step; }
    int Row(int i) const { return first + i * step; }

    int first, step, end;
};

struct BandSums {
    std::vector<std::uint16_t> partial;
    std::vector<std::uint32_t> total;  // for bands longer than one partial sum

    explicit BandSums(std::size_t length) : partial(length), total(length) {}

    // Sums the given rows of a band; returns how many it summed.
    int Sum(const PixelRows& rows, const SampledRows& band) {
        const int count = band.Count();
        long_band = count > kRowsPerPartialSum;
        if (long_band) std::fill(total.begin(), total.end(), 0u);
        for (int start = 0; start < count; start += kRowsPerPartialSum) {
            std::fill(partial.begin(), partial.end(), std::uint16_t{0});
            for (int i = start; i < std::min(count, start + kRowsPerPartialSum); ++i) {
                const auto row = rows.Row(band.Row(i));
                const std::uint8_t* next =
                    i + 1 < count ? rows.Row(band.Row(i + 1)).data() : nullptr;
                AddBytes(row.data(), next, partial.data(), row.size());
            }
            if (long_band)
                for (std::size_t i = 0; i < total.size(); ++i) total[i] += partial[i];
        }
        return count;
    }

    // The sums of the first `channels` channels (Blue, Green, Red) over the pixels x0..x1.
    template <int kChannels>
    std::array<std::uint32_t, 3> Block(int pixel_bytes, int x0, int x1) const {
        return long_band ? Block<kChannels>(total, pixel_bytes, x0, x1)
                         : Block<kChannels>(partial, pixel_bytes, x0, x1);
    }

  private:
    template <int kChannels, class Sum>
    static std::array<std::uint32_t, 3> Block(const std::vector<Sum>& sums, int pixel_bytes, int x0,
                                              int x1) {
        std::array<std::uint32_t, 3> block{};
        const auto bytes = static_cast<std::size_t>(pixel_bytes);
        for (auto i = static_cast<std::size_t>(x0) * bytes;
             i < static_cast<std::size_t>(x1) * bytes; i += bytes)
            for (std::size_t c = 3 - kChannels; c < 3; ++c) block[c] += sums[i + c];
        return block;
    }

    bool long_band = false;
};

// A weight per channel, in 256ths, that makes brightness from 0 to 255 out of channels
// running up to the range.
struct ByteLuma {
    explicit ByteLuma(const ChannelRange& range)
        : red(Weight(kLumaRed, range.red)),
          green(Weight(kLumaGreen, range.green)),
          blue(Weight(kLumaBlue, range.blue)) {}
    static std::uint32_t Weight(float share, float top) {
        return static_cast<std::uint32_t>(std::lround(share * 255.0f / top * 256.0f));
    }
    std::uint32_t red, green, blue;
};

// Brightness bytes of a row of cells. Whole numbers: every copy gives the same bytes.
template <int kPixelBytes>
[[gnu::always_inline]] inline void LumaBytes(const std::uint8_t* cells, ByteLuma luma,
                                             std::uint8_t* out, std::size_t count) {
    const std::uint32_t red = luma.red, green = luma.green, blue = luma.blue;
    for (std::size_t x = 0; x < count; ++x) {
        const std::uint8_t* cell = cells + kPixelBytes * x;
        const std::uint32_t y = (red * cell[2] + green * cell[1] + blue * cell[0] + 128) >> 8;
        out[x] = static_cast<std::uint8_t>(std::min(y, 255u));  // a 5-5-5 Red may reach 63
    }
}

ZARVIK_VECTOR_CLONES
void LumaBytesOfTriples(const std::uint8_t* cells, ByteLuma luma, std::uint8_t* out,
                        std::size_t count) {
    LumaBytes<3>(cells, luma, out, count);
}

ZARVIK_VECTOR_CLONES
void LumaBytesOfWords(const std::uint8_t* cells, ByteLuma luma, std::uint8_t* out,
                      std::size_t count) {
    LumaBytes<4>(cells, luma, out, count);
}

// The picture rows each band reads, and so the guide's rows, from the top down.
std::vector<int> RowsRead(int height, int factor) {
    std::vector<int> rows;
    for (int y0 = 0; y0 < height; y0 += factor) {
        const SampledRows band(y0, std::min(y0 + factor, height), PictureStep(factor));
        for (int i = 0; i < band.Count(); ++i) rows.push_back(band.Row(i));
    }
    return rows;
}

// Each thread's band sums, made before the rows start.
struct BandScratch {
    BandSums picture;
    BandSums depth;
};

}  // namespace

GuideRows::GuideRows(int width, int height, std::vector<int> rows)
    : width_(width), rows_(std::move(rows)), nearest_(Size(height)) {
    const std::size_t bytes = Size(width) * rows_.size();
    values_ = std::make_unique_for_overwrite<std::uint8_t[]>(std::max<std::size_t>(bytes, 1));
    platform::AdviseHugePages(values_.get(), bytes);
    std::size_t i = 0;
    for (int y = 0; y < height; ++y) {
        while (i + 1 < rows_.size() && rows_[i + 1] - y < y - rows_[i]) ++i;
        nearest_[Size(y)] = i;
    }
}

ChannelRange ChannelRangeOf(std::int16_t bits_per_pixel) {
    if (bits_per_pixel == 15) return {31.0f, 31.0f, 31.0f};
    if (bits_per_pixel == 16) return {31.0f, 63.0f, 31.0f};
    return {};
}

int ReductionFactor(int width, int height, int longest) {
    const int side = std::max(width, height);
    return std::max(1, (side + longest - 1) / longest);
}

ReducedPicture Reduce(const PixelRows& picture, const PixelRows& depth, const ChannelRange& range,
                      int factor) {
    const int width = picture.Width();
    const int height = picture.Height();
    const int reduced_width = (width + factor - 1) / factor;
    const int reduced_height = (height + factor - 1) / factor;
    ReducedPicture reduced;
    reduced.factor = factor;
    for (FloatPlane* plane :
         {&reduced.red, &reduced.green, &reduced.blue, &reduced.luma, &reduced.cue})
        *plane = FloatPlane(reduced_width, reduced_height);

    const auto length = [width](const PixelRows& rows) {
        return static_cast<std::size_t>(width) * static_cast<std::size_t>(rows.PixelBytes());
    };
    // Every band's first guide row.
    std::vector<std::size_t> first_guide_row;
    std::vector<int> rows_read = RowsRead(height, factor);
    for (std::size_t i = 0; i < rows_read.size(); ++i)
        if (i == 0 || rows_read[i] / factor != rows_read[i - 1] / factor)
            first_guide_row.push_back(i);
    reduced.guide = GuideRows(width, height, std::move(rows_read));
    const ByteLuma luma(range);
    const auto luma_bytes = picture.PixelBytes() == 4 ? LumaBytesOfWords : LumaBytesOfTriples;

    std::vector<BandScratch> scratch(static_cast<std::size_t>(core::ThreadCount()),
                                     {BandSums(length(picture)), BandSums(length(depth))});
    core::ParallelRows(0, reduced_height, [&](int row) {
        BandScratch& band = scratch[static_cast<std::size_t>(core::ThreadIndex())];
        const int y0 = row * factor;
        const int y1 = std::min(y0 + factor, height);
        const SampledRows rows(y0, y1, PictureStep(factor));
        const int rows_summed = band.picture.Sum(picture, rows);
        const int cue_rows = band.depth.Sum(depth, SampledRows(y0, y1, factor));
        for (int i = 0; i < rows_summed; ++i) {
            const std::size_t at =
                first_guide_row[static_cast<std::size_t>(row)] + static_cast<std::size_t>(i);
            luma_bytes(picture.Row(rows.Row(i)).data(), luma, reduced.guide.Row(at).data(),
                       static_cast<std::size_t>(width));
        }
        const int bytes = picture.PixelBytes();
        for (int column = 0; column < reduced_width; ++column) {
            const int x0 = column * factor;
            const int x1 = std::min(x0 + factor, width);
            const auto count = static_cast<float>((x1 - x0) * rows_summed);
            const auto cue_count = static_cast<float>((x1 - x0) * cue_rows);
            const auto [blue, green, red] = band.picture.Block<3>(bytes, x0, x1);
            const float r = static_cast<float>(red) / count / range.red;
            const float g = static_cast<float>(green) / count / range.green;
            const float b = static_cast<float>(blue) / count / range.blue;
            const float c = static_cast<float>(band.depth.Block<1>(depth.PixelBytes(), x0, x1)[2]) /
                            cue_count / range.red;
            reduced.red(column, row) = r;
            reduced.green(column, row) = g;
            reduced.blue(column, row) = b;
            reduced.luma(column, row) = kLumaRed * r + kLumaGreen * g + kLumaBlue * b;
            reduced.cue(column, row) = c;
        }
    });
    return reduced;
}

}  // namespace depth
