#include "depth/upsampled_depth.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/row_blocks.h"
#include "core/vector_clones.h"

namespace depth {

namespace {

// Where a picture coordinate falls between the centres of two reduced pixels.
struct Between {
    int first;
    int second;
    float weight;  // of the second
};

Between Locate(int coordinate, int factor, int reduced_size) {
    const float at = (static_cast<float>(coordinate) + 0.5f) / static_cast<float>(factor) - 0.5f;
    const int first = std::clamp(static_cast<int>(std::floor(at)), 0, reduced_size - 1);
    const int second = std::min(first + 1, reduced_size - 1);
    return {first, second, std::clamp(at - static_cast<float>(first), 0.0f, 1.0f)};
}

// The picture's columns between the same two reduced ones: a run of `factor` columns
// (shorter at the edges), along which a coefficient is carried across in one loop.
struct ColumnRun {
    std::size_t begin, end;  // picture columns
    std::size_t first, second;
};

struct Columns {
    std::vector<float> weights;  // of the second reduced column, per picture column
    std::vector<ColumnRun> runs;
};

Columns LocateColumns(int width, int factor, int reduced_width) {
    Columns columns;
    for (int x = 0; x < width; ++x) {
        const Between at = Locate(x, factor, reduced_width);
        const auto first = static_cast<std::size_t>(at.first);
        const auto second = static_cast<std::size_t>(at.second);
        if (columns.runs.empty() || columns.runs.back().first != first)
            columns.runs.push_back({static_cast<std::size_t>(x), 0, first, second});
        columns.runs.back().end = static_cast<std::size_t>(x) + 1;
        columns.weights.push_back(at.weight);
    }
    return columns;
}

// A reduced row of coefficients carried across to the picture's width. Picture rows
// come to a thread in order and `factor` of them lie between the same two reduced
// rows, so each thread keeps the last two it widened.
struct WideRow {
    int index = -1;
    std::vector<float> a, b;
};

void Widen(const GuidedCoefficients& c, int index, const Columns& columns, WideRow& row) {
    const float* reduced_a = c.a.Row(index).data();
    const float* reduced_b = c.b.Row(index).data();
    for (const ColumnRun& run : columns.runs) {
        const float a = reduced_a[run.first];
        const float b = reduced_b[run.first];
        const float a_step = reduced_a[run.second] - a;
        const float b_step = reduced_b[run.second] - b;
        for (std::size_t x = run.begin; x < run.end; ++x) {
            row.a[x] = a + columns.weights[x] * a_step;
            row.b[x] = b + columns.weights[x] * b_step;
        }
    }
    row.index = index;
}

struct WideRows {
    WideRow rows[2];

    // The widened reduced row `index`, leaving the one numbered `keep` in place.
    const WideRow& Get(const GuidedCoefficients& c, int index, int keep, const Columns& columns) {
        for (WideRow& row : rows)
            if (row.index == index) return row;
        WideRow& free = rows[0].index == keep ? rows[1] : rows[0];
        Widen(c, index, columns, free);
        return free;
    }
};

// Two widened rows of coefficients and how far a picture row lies from the first
// toward the second.
struct CoefficientRows {
    const float *a0, *a1, *b0, *b1;
    float weight;
};

// Each pixel's brightness (0 to 255) put through its coefficients, as a depth byte
// from 0 to top (the coefficients come scaled to that, with the rounding half added).
// Elementwise in the order the formula is written, so every copy of the function
// gives the same bytes.
ZARVIK_VECTOR_CLONES
void GreysOf(const std::uint8_t* guide, const CoefficientRows& c, float top, std::uint8_t* greys,
             std::size_t count) {
    // Copies, as the bytes written might otherwise be the weights and pointers read.
    const float w = c.weight;
    const float *a0 = c.a0, *a1 = c.a1, *b0 = c.b0, *b1 = c.b1;
    for (std::size_t x = 0; x < count; ++x) {
        const float a = a0[x] + w * (a1[x] - a0[x]);
        const float b = b0[x] + w * (b1[x] - b0[x]);
        const float depth = a * static_cast<float>(guide[x]) + b;
        greys[x] = static_cast<std::uint8_t>(std::min(std::max(depth, 0.0f), top));
    }
}

// Coefficients that take brightness from 0 to 255 and give depth from 0 to top, plus
// the half that rounds it to the nearest byte when it is cut to a whole number.
GuidedCoefficients ScaledToBytes(const GuidedCoefficients& c, float top) {
    GuidedCoefficients scaled = c;
    for (float& a : scaled.a.Values()) a = a * top / 255.0f;
    for (float& b : scaled.b.Values()) b = b * top + 0.5f;
    return scaled;
}

}  // namespace

void WriteUpsampledDepth(const GuideRows& guide, int height, const GuidedCoefficients& c,
                         int factor, platform::PictureSurface& depth, std::int16_t depth_bits) {
    const int width = guide.Width();
    const Columns columns = LocateColumns(width, factor, c.a.Width());
    const auto full_width = static_cast<std::size_t>(width);
    const WideRow blank{-1, std::vector<float>(full_width), std::vector<float>(full_width)};
    std::vector<WideRows> scratch(static_cast<std::size_t>(core::ThreadCount()),
                                  WideRows{{blank, blank}});
    const float top = ChannelRangeOf(depth_bits).red;
    const GuidedCoefficients scaled = ScaledToBytes(c, top);
    WriteGreyRows(
        depth, depth_bits, width, height, [&, &c = scaled](int y, std::span<std::uint8_t> greys) {
            WideRows& wide = scratch[static_cast<std::size_t>(core::ThreadIndex())];
            const Between rows = Locate(y, factor, c.a.Height());
            const WideRow& upper = wide.Get(c, rows.first, rows.second, columns);
            const WideRow& lower = wide.Get(c, rows.second, rows.first, columns);
            const CoefficientRows coefficients{upper.a.data(), lower.a.data(), upper.b.data(),
                                               lower.b.data(), rows.weight};
            GreysOf(guide.Nearest(y).data(), coefficients, top, greys.data(), greys.size());
        });
}

}  // namespace depth
