#include "stereo/warp_cells.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <limits>

#include "stereo/forward_warp_wide.h"
#include "stereo/subpixel_weights.h"

namespace stereo::warp {

namespace {

using core::PixelTriple;

static_assert(kMaxStretch <= kMaxWeightSpan);

constexpr Cell kRankPart = 0xFFFF'FFFF'0000'0000u;

// The depth a hole sees past the row's end: the nearest, so the other side is taken.
constexpr std::int32_t kOffRow = std::numeric_limits<std::int32_t>::max();

// The three channels of a pixel in 16-bit lanes of one word (Blue, Red, Green from the
// lowest), so that one multiply mixes all three. Every lane of a mix stays below 2^16,
// and the word's arithmetic is exact whatever the sign of a difference between lanes.
using Spread = std::uint64_t;
constexpr Spread kLaneHalves = 0x0000'0080'0080'0080u;

constexpr Spread SpreadOf(PixelTriple p) {
    return Spread{p.Blue} | Spread{p.Red} << 16 | Spread{p.Green} << 32;
}

// a + ((b - a) x weight + 128) >> 8 in every channel.
inline PixelTriple Mix(PixelTriple a, PixelTriple b, std::uint32_t weight) {
    const Spread from = SpreadOf(a);
    const Spread lanes = ((from << 8) + kLaneHalves + (SpreadOf(b) - from) * weight) >> 8;
    return {static_cast<std::uint8_t>(lanes), static_cast<std::uint8_t>(lanes >> 32),
            static_cast<std::uint8_t>(lanes >> 16)};
}

std::int32_t Landing(const ViewCells& row, int x) {
    return x * kSubpixel + row.shifts[row.levels[x]];
}

// Cells whose centres lie in [from, to) take `cell` where it is nearer. Returns one
// past the last cell reached, or `from`'s first when none was.
int Box(const ViewCells& row, std::int32_t from, std::int32_t to, Cell cell) {
    const int last = std::min(FirstCentreFrom(to), row.width);
    int i = std::max(FirstCentreFrom(from), 0);
    for (; i < last; ++i) KeepNearer(row.cells[i], cell);
    return i;
}

// Cells whose centres lie between the landings of source pixels `source` and
// `source` + 1 take the mix in between, weighted by where they lie.
int Span(const ViewCells& row, std::int32_t from, std::int32_t to, int source) {
    const int last = std::min(FirstCentreFrom(to), row.width);
    const std::uint32_t reciprocal = WeightReciprocal(to - from);
    const std::int32_t near = row.levels[source];
    const std::int32_t far = row.levels[source + 1];
    const PixelTriple a = row.source[source];
    const PixelTriple b = row.source[source + 1];
    int i = std::max(FirstCentreFrom(from), 0);
    for (; i < last; ++i) {
        const std::uint32_t weight =
            SpanWeight(static_cast<std::uint32_t>(i * kSubpixel - from), reciprocal);
        const std::int32_t depth =
            near * kSubpixel + (far - near) * static_cast<std::int32_t>(weight);
        KeepNearer(row.cells[i], CellOf(depth, source, Mix(a, b, weight)));
    }
    return i;
}

// One bit for each cell, set where the cell is empty, 64 cells to a word: the holes
// are then found a word at a time, where a test per cell guessed wrong at every edge
// of fine texture.
class EmptyCells {
  public:
    explicit EmptyCells(std::span<const Cell> cells) : width_(static_cast<int>(cells.size())) {
        for (std::size_t w = EmptyWordsWide(cells, words_.data()); w * 64 < cells.size(); ++w) {
            const std::size_t count = std::min<std::size_t>(64, cells.size() - w * 64);
            std::uint64_t bits = 0;
            for (std::size_t k = 0; k < count; ++k)
                bits |= static_cast<std::uint64_t>(cells[w * 64 + k] == kEmptyCell) << k;
            words_[w] = bits;
        }
        std::copy_n(words_.begin(), Count(), original_.begin());
    }

    // The first cell at or after `from` that is empty (`empty`) or written; the width
    // when there is none.
    int Next(int from, bool empty) const {
        if (from >= width_) return width_;
        std::size_t w = static_cast<std::size_t>(from) / 64;
        const std::uint64_t flip = empty ? 0 : ~std::uint64_t{0};
        std::uint64_t bits = (words_[w] ^ flip) & (~std::uint64_t{0} << (from % 64));
        while (bits == 0) {
            if (++w * 64 >= static_cast<std::size_t>(width_)) return width_;
            bits = words_[w] ^ flip;
        }
        return std::min(static_cast<int>(w * 64) + std::countr_zero(bits), width_);
    }

    // Whether cell i (on the row) was empty when the words were made.
    bool WasEmpty(int i) const {
        return (original_[static_cast<std::size_t>(i) / 64] >> (i % 64)) & 1;
    }

    // The one-cell holes: they come off the words (Next no longer finds them) and are
    // returned, word by word, to be filled apart from the others.
    std::span<const std::uint64_t> TakeSingles() {
        const std::size_t count = Count();
        for (std::size_t w = 0; w < count; ++w) {
            const std::uint64_t before = w > 0 ? original_[w - 1] >> 63 : 0;
            const std::uint64_t after = w + 1 < count ? original_[w + 1] << 63 : 0;
            const std::uint64_t e = original_[w];
            singles_[w] = e & ~(e << 1 | before) & ~(e >> 1 | after);
            words_[w] = e & ~singles_[w];
        }
        return {singles_.data(), count};
    }

  private:
    std::size_t Count() const { return (static_cast<std::size_t>(width_) + 63) / 64; }

    static constexpr std::size_t kWords = (kLastSource + 64) / 64;
    std::array<std::uint64_t, kWords> words_;
    std::array<std::uint64_t, kWords> original_;
    std::array<std::uint64_t, kWords> singles_;
    int width_;
};

// How many written cells from `from` on, stepping by `step`, still belong to the
// background that `from` shows. Holes are filled from left to right, so the cells
// left of a hole are all written by then; to its right, a hole not filled yet ends
// the run, whether or not a one-cell hole there was filled ahead of the others.
int BackgroundRun(std::span<const Cell> cells, int from, int step, int most,
                  const EmptyCells& empty) {
    const std::int32_t limit = DepthOf(cells[static_cast<std::size_t>(from)]) + kBackgroundSlack;
    int run = 0;
    for (int i = from; run < most && i >= 0 && i < static_cast<int>(cells.size()); i += step) {
        const std::int32_t d = DepthOf(cells[static_cast<std::size_t>(i)]);
        if (d < 0 || d > limit || (step > 0 && empty.WasEmpty(i))) break;
        ++run;
    }
    return std::max(run, 1);
}

// The hole [begin, end) mirrors the background beside it: texture from the farther
// side, so that neither the nearer object nor one flat colour is drawn into it.
void FillHole(std::span<Cell> cells, int begin, int end, const EmptyCells& empty) {
    const int width = static_cast<int>(cells.size());
    const auto at = [](int i) { return static_cast<std::size_t>(i); };
    // The farther side. Chosen without a branch: which side is farther is as good as
    // random on fine texture.
    const std::int32_t left = begin > 0 ? DepthOf(cells[at(begin - 1)]) : kOffRow;
    const std::int32_t right = end < width ? DepthOf(cells[at(end)]) : kOffRow;
    const bool from_left = left <= right;
    const int edge = from_left ? begin - 1 : end;
    const int step = from_left ? -1 : 1;
    const int length = end - begin;
    const Cell depth = cells[at(edge)] & kRankPart;
    const int run = BackgroundRun(cells, edge, step, length, empty);
    // Back and forth over the background run, as a mirror would show it.
    for (int k = 0, bounce = 0; k < length; ++k) {
        const int source = edge + step * (bounce < run ? bounce : 2 * run - 1 - bounce);
        const int target = from_left ? begin + k : end - 1 - k;
        cells[at(target)] = depth | (cells[at(source)] & kColourPart);
        if (++bounce == 2 * run) bounce = 0;
    }
}

// Each one-cell hole takes its farther neighbour, which is what its mirror shows
// whatever the run. Their
// neighbours are written cells, so they are filled in any order, and without a
// branch: on fine texture they are most of the holes, and which side is farther is as
// good as random.
void FillSingles(std::span<Cell> cells, std::span<const std::uint64_t> singles) {
    const int width = static_cast<int>(cells.size());
    for (std::size_t w = 0; w < singles.size(); ++w)
        for (std::uint64_t bits = singles[w]; bits != 0; bits &= bits - 1) {
            const int i = static_cast<int>(w * 64) + std::countr_zero(bits);
            const std::int32_t left =
                i > 0 ? DepthOf(cells[static_cast<std::size_t>(i - 1)]) : kOffRow;
            const std::int32_t right =
                i + 1 < width ? DepthOf(cells[static_cast<std::size_t>(i + 1)]) : kOffRow;
            const int edge = i + 1 - 2 * static_cast<int>(left <= right);
            cells[static_cast<std::size_t>(i)] = cells[static_cast<std::size_t>(edge)];
        }
}

void FillHoles(std::span<Cell> cells, const PixelTriple* source) {
    const int width = static_cast<int>(cells.size());
    EmptyCells empty(cells);
    if (empty.Next(0, true) == 0 && empty.Next(0, false) == width) {
        // Nothing landed in the row (a width no shift can empty; kept for safety).
        for (int x = 0; x < width; ++x)
            cells[static_cast<std::size_t>(x)] = CellOf(0, x, source[x]);
        return;
    }
    FillSingles(cells, empty.TakeSingles());
    for (int begin = empty.Next(0, true); begin < width;) {
        const int end = empty.Next(begin, false);
        FillHole(cells, begin, end, empty);
        begin = empty.Next(end, true);
    }
}

}  // namespace

WarpState StartView(const ViewCells& row) {
    std::fill(row.cells, row.cells + row.width, kEmptyCell);
    WarpState state;
    state.at = Landing(row, 0);
    state.written_end =
        Box(row, state.at - kHalf, state.at, CellOf(row.levels[0] * kSubpixel, 0, row.source[0]));
    return state;
}

void ClearUnspanned(const ViewCells& row, WarpState& state) {
    for (int i = state.written_end; i < state.unspanned_end; ++i) row.cells[i] = kEmptyCell;
    state.unspanned_end = 0;
}

void GeneralSteps(const ViewCells& row, WarpState& state, int x, int stop) {
    ClearUnspanned(row, state);
    std::int32_t from = state.at;
    int end = state.written_end;
    for (; x < stop; ++x) {
        const std::int32_t to = Landing(row, x);
        if (const std::int32_t span = to - from; span > 0 && span <= kMaxStretch) {
            end = std::max(end, Span(row, from, to, x - 1));
        } else {
            // A hole opens, or the nearer of the two folds over the farther: each keeps
            // its own pixel's width, and the depths sort out the rest.
            const Cell before = CellOf(row.levels[x - 1] * kSubpixel, x - 1, row.source[x - 1]);
            const Cell after = CellOf(row.levels[x] * kSubpixel, x - 1, row.source[x]);
            end = std::max(
                {end, Box(row, from, from + kHalf, before), Box(row, to - kHalf, to, after)});
        }
        from = to;
    }
    state.at = from;
    state.written_end = end;
}

void FinishView(const ViewCells& row, WarpState& state) {
    ClearUnspanned(row, state);
    const int last = row.width - 1;
    Box(row, state.at, state.at + kHalf,
        CellOf(row.levels[last] * kSubpixel, last, row.source[last]));
    FillHoles({row.cells, static_cast<std::size_t>(row.width)}, row.source);
}

void CopyColours(std::span<const Cell> cells, std::span<PixelTriple> view, int from) {
    for (std::size_t i = static_cast<std::size_t>(from); i < view.size(); ++i)
        view[i] = ColourOf(cells[i]);
}

}  // namespace stereo::warp
