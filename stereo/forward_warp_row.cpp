#include "stereo/forward_warp_row.h"

#include <algorithm>
#include <bit>
#include <cstddef>

#include "stereo/subpixel_weights.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define ZARVIK_WARP_EIGHT 1
#endif

namespace stereo {

namespace {

using core::PixelTriple;

constexpr std::int32_t kEmpty = -1;
constexpr std::int32_t kHalf = kSubpixel / 2;
// Neighbouring source pixels that land further apart than this were split by a depth
// edge: the space between them opened behind a nearer object and is a hole, not a
// slanted surface to stretch over.
constexpr std::int32_t kMaxStretch = 2 * kSubpixel;
static_assert(kMaxStretch <= kMaxWeightSpan);
// How much nearer than the hole's own side a pixel may be and still count as the same
// background when the hole takes its texture (a slanted background included).
constexpr std::int32_t kBackgroundSlack = 16 * kSubpixel;

// The first pixel whose centre lies at or after `position` (1/256 pixel).
constexpr int FirstCentreFrom(std::int32_t position) {
    return (position + kSubpixel - 1) >> 8;  // C++20: arithmetic shift, a floor
}

// A source pixel as the warp sees it: where it lands, its colour and depth (x 256).
struct Landing {
    std::int32_t at;
    PixelTriple colour;
    std::int32_t depth;
};

// The three channels of a pixel in 16-bit lanes of one word (Blue, Red, Green from the
// lowest), so that one multiply mixes all three. Every lane of a mix stays below 2^16,
// and the word's arithmetic is exact whatever the sign of a difference between lanes.
using Spread = std::uint64_t;
constexpr Spread kLaneHalves = 0x0000'0080'0080'0080u;

constexpr Spread SpreadOf(PixelTriple p) {
    return Spread{p.Blue} | Spread{p.Red} << 16 | Spread{p.Green} << 32;
}

// a + ((b - a) x weight + 128) >> 8 in every channel, as Mix below gives it, from
// `from` = (a << 8) + halves and `difference` = b - a (both spread).
inline PixelTriple MixOf(Spread from, Spread difference, std::uint32_t weight) {
    const Spread lanes = (from + difference * weight) >> 8;
    return {static_cast<std::uint8_t>(lanes), static_cast<std::uint8_t>(lanes >> 32),
            static_cast<std::uint8_t>(lanes >> 16)};
}

constexpr std::uint8_t Mix(std::uint8_t a, std::uint8_t b, std::int32_t weight) {
    return static_cast<std::uint8_t>(a + (((b - a) * weight + kHalf) >> 8));
}

class RowWriter {
  public:
    RowWriter(std::span<PixelTriple> view, std::span<std::int32_t> depth)
        : view_(view.data()), depth_(depth.data()), width_(static_cast<int>(view.size())) {}

    // Nearer covers farther; between equals the first one stays.
    void Put(int i, PixelTriple colour, std::int32_t depth) {
        if (depth > depth_[i]) {
            depth_[i] = depth;
            view_[i] = colour;
        }
    }

    // Pixels whose centres lie in [from, to) take the colour and depth of `landing`.
    // Returns one past the last pixel written, or `from`'s first when none was.
    int Box(std::int32_t from, std::int32_t to, const Landing& landing) {
        const int last = std::min(FirstCentreFrom(to), width_);
        int i = std::max(FirstCentreFrom(from), 0);
        for (; i < last; ++i) Put(i, landing.colour, landing.depth);
        return i;
    }

    // Pixels whose centres lie between two neighbours' landings take the colour and
    // depth in between, weighted by where they lie.
    int Span(const Landing& a, const Landing& b) {
        const int last = std::min(FirstCentreFrom(b.at), width_);
        const std::uint32_t reciprocal = WeightReciprocal(b.at - a.at);
        int i = std::max(FirstCentreFrom(a.at), 0);
        for (; i < last; ++i) {
            const auto weight =
                static_cast<std::int32_t>(SpanWeight(i * kSubpixel - a.at, reciprocal));
            const PixelTriple colour{Mix(a.colour.Blue, b.colour.Blue, weight),
                                     Mix(a.colour.Green, b.colour.Green, weight),
                                     Mix(a.colour.Red, b.colour.Red, weight)};
            Put(i, colour, a.depth + (((b.depth - a.depth) * weight) >> 8));
        }
        return i;
    }

  private:
    PixelTriple* view_;
    std::int32_t* depth_;
    int width_;
};

// The two neighbouring source pixels of one step, as the quick path mixes them.
struct SourcePair {
    Spread from;                    // the first's colour << 8, with the halves that round
    Spread difference;              // the second's colour - the first's
    std::int32_t depth;             // the first's (x 256)
    std::int32_t depth_difference;  // in levels
};

// One eye's view of a row, step by step. Where the row is a stretched or squeezed
// surface (neighbours land less than two pixels apart, in order) and lands on pixels
// nothing wrote yet, each step writes its one or two pixels without the depth test
// and without asking which of them its span covers: a pixel the span does not cover
// is written anyway and the next step, which starts there, writes it again. Only
// where that chain breaks (a fold, a hole, the row's ends) does the pixel that no
// span covered get its "nothing written" back. Everything else takes the general path,
// with the depth test, which gives the same pixels one by one.
struct ViewRow {
    const std::int32_t* shifts;
    PixelTriple* view;
    std::int32_t* depth;
    int width;
};

// Where a view's warp stands; small, so that the row's loop keeps it in registers.
struct WarpState {
    std::int32_t at = 0;    // where the previous source pixel landed
    int written_end = 0;    // no pixel from here on holds a depth yet
    int unspanned_end = 0;  // pixels up to here the quick steps wrote beyond their spans
};

Landing Unmoved(std::span<const PixelTriple> source, std::span<const std::uint8_t> levels, int x) {
    const auto i = static_cast<std::size_t>(x);
    return {x * kSubpixel, source[i], levels[i] * kSubpixel};
}

// The pixels the last quick steps wrote that no span of theirs covered.
void ClearUnspanned(const ViewRow& row, WarpState& state) {
    for (int i = state.written_end; i < state.unspanned_end; ++i) row.depth[i] = kEmpty;
    state.unspanned_end = 0;
}

WarpState StartView(const ViewRow& row, Landing first) {
    first.at += row.shifts[first.depth >> 8];
    RowWriter writer({row.view, static_cast<std::size_t>(row.width)},
                     {row.depth, static_cast<std::size_t>(row.width)});
    WarpState state;
    state.at = first.at;
    state.written_end = writer.Box(first.at - kHalf, first.at, first);
    return state;
}

// A step the quick path does not take, with the depth test.
[[gnu::noinline]] void GeneralStep(const ViewRow& row, WarpState& state, std::int32_t at,
                                   std::span<const PixelTriple> source,
                                   std::span<const std::uint8_t> levels, int x) {
    Landing a = Unmoved(source, levels, x - 1);
    Landing b = Unmoved(source, levels, x);
    ClearUnspanned(row, state);
    RowWriter writer({row.view, static_cast<std::size_t>(row.width)},
                     {row.depth, static_cast<std::size_t>(row.width)});
    a.at = state.at;
    b.at = at;
    int end = 0;
    if (const std::int32_t span = b.at - a.at; span > 0 && span <= kMaxStretch) {
        end = writer.Span(a, b);
    } else {
        // A hole opens, or the nearer of the two folds over the farther: each keeps its
        // own pixel's width, and the depth test sorts out the rest.
        end = std::max(writer.Box(a.at, a.at + kHalf, a), writer.Box(b.at - kHalf, b.at, b));
    }
    state.written_end = std::max(state.written_end, end);
    state.at = at;
}

// Source pixel x, its level and its pair with the pixel before it (made only when the
// quick path needs it: `pair_of()`).
template <class PairOf>
[[gnu::always_inline]] inline void Step(const ViewRow& row, WarpState& state,
                                        std::span<const PixelTriple> source,
                                        std::span<const std::uint8_t> levels, int x,
                                        std::uint8_t level, const PairOf& pair_of) {
    const std::int32_t at = x * kSubpixel + row.shifts[level];
    const std::int32_t span = at - state.at;
    const int first = FirstCentreFrom(state.at);
    if (static_cast<std::uint32_t>(span - 1) >= static_cast<std::uint32_t>(kMaxStretch) ||
        first < state.written_end ||
        static_cast<std::uint32_t>(first) >= static_cast<std::uint32_t>(row.width - 1)) {
        GeneralStep(row, state, at, source, levels, x);
        return;
    }
    const SourcePair pair = pair_of();
    const std::uint32_t reciprocal = WeightReciprocal(span);
    const auto offset = static_cast<std::uint32_t>(first * kSubpixel - state.at);
    const std::uint32_t w0 = SpanWeight(offset, reciprocal);
    const std::uint32_t w1 = SpanWeight(offset + kSubpixel, reciprocal);
    row.view[first] = MixOf(pair.from, pair.difference, w0);
    row.view[first + 1] = MixOf(pair.from, pair.difference, w1);
    row.depth[first] = pair.depth + pair.depth_difference * static_cast<std::int32_t>(w0);
    row.depth[first + 1] = pair.depth + pair.depth_difference * static_cast<std::int32_t>(w1);
    state.written_end = FirstCentreFrom(at);
    state.unspanned_end = std::max(state.unspanned_end, first + 2);
    state.at = at;
}

// Step x with its pair made here, for a view that the eight-step path left behind.
[[gnu::always_inline]] inline void StepAlone(const ViewRow& row, WarpState& state,
                                             std::span<const PixelTriple> source,
                                             std::span<const std::uint8_t> levels, int x) {
    const auto i = static_cast<std::size_t>(x);
    Step(row, state, source, levels, x, levels[i], [&] {
        const Spread before = SpreadOf(source[i - 1]);
        return SourcePair{(before << 8) + kLaneHalves, SpreadOf(source[i]) - before,
                          levels[i - 1] * kSubpixel, levels[i] - levels[i - 1]};
    });
}

// Steps x to stop - 1 the general way, for a stretch the quick paths left: with the
// depth test throughout, as in a row that folds and opens holes all along, one call
// for the whole stretch.
[[gnu::noinline]] void GeneralSteps(const ViewRow& row, WarpState& state,
                                    std::span<const PixelTriple> source,
                                    std::span<const std::uint8_t> levels, int x, int stop) {
    ClearUnspanned(row, state);
    RowWriter writer({row.view, static_cast<std::size_t>(row.width)},
                     {row.depth, static_cast<std::size_t>(row.width)});
    Landing a = Unmoved(source, levels, x - 1);
    a.at = state.at;
    int end = state.written_end;
    for (; x < stop; ++x) {
        Landing b = Unmoved(source, levels, x);
        b.at += row.shifts[levels[static_cast<std::size_t>(x)]];
        if (const std::int32_t span = b.at - a.at; span > 0 && span <= kMaxStretch) {
            end = std::max(end, writer.Span(a, b));
        } else {
            end = std::max(
                {end, writer.Box(a.at, a.at + kHalf, a), writer.Box(b.at - kHalf, b.at, b)});
        }
        a = b;
    }
    state.at = a.at;
    state.written_end = end;
}

#ifdef ZARVIK_WARP_EIGHT
// Eight steps at once, for a view whose next eight source pixels all stretch or
// squeeze (no fold, no hole) onto pixels nothing wrote yet. Turned round: for each
// pixel the eight spans cover, which span holds its centre, then the weight, colour
// and depth as the quick path gives them. The weight's quotient is taken in single
// precision, exact here: both operands are below 2^24, and a quotient that is not a
// whole number lies at least 1/512 from the next one, far more than the rounding.
// Up to sixteen pixels are written, as two runs of eight; those past the last span's
// end are left to the next steps, as the quick path leaves its second pixel.

// Pixels the eight steps may write or touch past the first one, and the source
// pixels they read from x on.
inline constexpr int kEightCells = 16 + 4;
inline constexpr int kEightReach = 11;

// Eight three-byte pixels from `bytes` on, one to a 32-bit lane (the top byte 0).
[[gnu::target("avx2")]] inline __m256i EightColours(const std::uint8_t* bytes) {
    const __m256i raw =
        _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes)),
                                    _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6));
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0,
                                            1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    return _mm256_shuffle_epi8(raw, spread);
}

[[gnu::target("avx2")]] inline __m256i EightLevels(const std::uint8_t* levels) {
    return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(levels)));
}

// (a (256 - w) + b w + 128) >> 8 in 16-bit lanes: no lane passes 255 x 256 + 128.
[[gnu::target("avx2")]] inline __m256i MixLanes(__m256i a, __m256i b, __m256i weight) {
    const __m256i rest = _mm256_sub_epi16(_mm256_set1_epi16(256), weight);
    const __m256i sum =
        _mm256_add_epi16(_mm256_mullo_epi16(a, rest), _mm256_mullo_epi16(b, weight));
    return _mm256_srli_epi16(_mm256_add_epi16(sum, _mm256_set1_epi16(128)), 8);
}

// The same in every channel: a, b and the result four bytes to a lane, w one to a lane.
[[gnu::target("avx2")]] inline __m256i MixEight(__m256i a, __m256i b, __m256i weight) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i doubled = _mm256_or_si256(weight, _mm256_slli_epi32(weight, 16));
    const __m256i low = MixLanes(_mm256_unpacklo_epi8(a, zero), _mm256_unpacklo_epi8(b, zero),
                                 _mm256_unpacklo_epi32(doubled, doubled));
    const __m256i high = MixLanes(_mm256_unpackhi_epi8(a, zero), _mm256_unpackhi_epi8(b, zero),
                                  _mm256_unpackhi_epi32(doubled, doubled));
    return _mm256_packus_epi16(low, high);
}

// Writes eight pixels, four bytes to a lane, as three-byte pixels from `out` on; the
// four bytes after them are overwritten too.
[[gnu::target("avx2")]] inline void StoreEightColours(__m256i colours, PixelTriple* out) {
    const __m256i packed = _mm256_shuffle_epi8(
        colours, _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2,
                                  4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1));
    auto* bytes = reinterpret_cast<std::uint8_t*>(out);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), _mm256_castsi256_si128(packed));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + 12), _mm256_extracti128_si256(packed, 1));
}

// Steps x to x + 7: 8, or with nothing written where the quick path does not hold,
// minus the number of steps to take one at a time before trying again.
[[gnu::target("avx2"), gnu::always_inline]] inline int StepEight(
    const ViewRow& row, WarpState& state, std::span<const PixelTriple> source,
    std::span<const std::uint8_t> levels, int x) {
    const int first = FirstCentreFrom(state.at);
    if (first < state.written_end || first < 0 || first + kEightCells > row.width) return -1;
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i level = EightLevels(levels.data() + x);
    const __m256i at =
        _mm256_add_epi32(_mm256_slli_epi32(_mm256_add_epi32(_mm256_set1_epi32(x), lanes), 8),
                         _mm256_i32gather_epi32(row.shifts, level, 4));
    const __m256i at_before = _mm256_blend_epi32(
        _mm256_permutevar8x32_epi32(at, _mm256_setr_epi32(7, 0, 1, 2, 3, 4, 5, 6)),
        _mm256_set1_epi32(state.at), 1);
    const __m256i beyond = _mm256_andnot_si256(
        _mm256_set1_epi32(kMaxStretch - 1),
        _mm256_sub_epi32(_mm256_sub_epi32(at, at_before), _mm256_set1_epi32(1)));
    if (!_mm256_testz_si256(beyond, beyond)) {
        // The first step that folds or opens a hole, and the one before it.
        const auto lanes_within = static_cast<unsigned>(_mm256_movemask_ps(
            _mm256_castsi256_ps(_mm256_cmpeq_epi32(beyond, _mm256_setzero_si256()))));
        return -(std::countr_zero(~lanes_within) + 1);
    }

    const int last = _mm256_extract_epi32(at, 7);
    const int end = FirstCentreFrom(last);
    const int runs = end - first > 8 ? 2 : 1;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(source.data());
    const __m256i colour_before = EightColours(bytes + 3 * static_cast<std::size_t>(x - 1));
    const __m256i colour = EightColours(bytes + 3 * static_cast<std::size_t>(x));
    const __m256i level_before = EightLevels(levels.data() + x - 1);
    for (int run = 0; run < runs; ++run) {
        const int cell = first + 8 * run;
        const __m256i centre =
            _mm256_slli_epi32(_mm256_add_epi32(_mm256_set1_epi32(cell), lanes), 8);
        // The span holding each centre: the number of landings at or before it, found by
        // halving (the landings rise); a centre past the last lands nowhere valid.
        __m256i span = _mm256_setzero_si256();
        for (const int half : {4, 2, 1}) {
            const __m256i probe = _mm256_permutevar8x32_epi32(
                at, _mm256_add_epi32(span, _mm256_set1_epi32(half - 1)));
            span = _mm256_add_epi32(span, _mm256_andnot_si256(_mm256_cmpgt_epi32(probe, centre),
                                                              _mm256_set1_epi32(half)));
        }
        const __m256i from = _mm256_permutevar8x32_epi32(at_before, span);
        const __m256i to = _mm256_permutevar8x32_epi32(at, span);
        const __m256i weight = _mm256_cvttps_epi32(
            _mm256_div_ps(_mm256_cvtepi32_ps(_mm256_slli_epi32(_mm256_sub_epi32(centre, from), 8)),
                          _mm256_cvtepi32_ps(_mm256_sub_epi32(to, from))));
        StoreEightColours(MixEight(_mm256_permutevar8x32_epi32(colour_before, span),
                                   _mm256_permutevar8x32_epi32(colour, span), weight),
                          row.view + cell);
        const __m256i near = _mm256_permutevar8x32_epi32(level_before, span);
        const __m256i far = _mm256_permutevar8x32_epi32(level, span);
        const __m256i depth = _mm256_add_epi32(
            _mm256_slli_epi32(near, 8), _mm256_mullo_epi32(_mm256_sub_epi32(far, near), weight));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(row.depth + cell), depth);
    }
    state.at = last;
    state.written_end = end;
    state.unspanned_end = std::max(state.unspanned_end, first + 8 * runs);
    return 8;
}
#endif

void FinishView(const ViewRow& row, WarpState& state, Landing last) {
    ClearUnspanned(row, state);
    last.at = state.at;
    RowWriter writer({row.view, static_cast<std::size_t>(row.width)},
                     {row.depth, static_cast<std::size_t>(row.width)});
    writer.Box(last.at, last.at + kHalf, last);
}

// How many written pixels from `from` on, stepping by `step`, still belong to the
// background that `from` shows.
int BackgroundRun(std::span<const std::int32_t> depth, int from, int step, int most) {
    const std::int32_t limit = depth[static_cast<std::size_t>(from)] + kBackgroundSlack;
    int run = 0;
    for (int i = from; run < most && i >= 0 && i < static_cast<int>(depth.size()); i += step) {
        const std::int32_t d = depth[static_cast<std::size_t>(i)];
        if (d == kEmpty || d > limit) break;
        ++run;
    }
    return std::max(run, 1);
}

// The hole [begin, end) mirrors the background beside it: texture from the farther
// side, so that neither the nearer object nor one flat colour is drawn into it.
void FillHole(std::span<PixelTriple> view, std::span<std::int32_t> depth, int begin, int end) {
    const int width = static_cast<int>(view.size());
    const auto at = [](int i) { return static_cast<std::size_t>(i); };
    bool from_left = begin > 0;
    if (begin > 0 && end < width) from_left = depth[at(begin - 1)] <= depth[at(end)];
    const int edge = from_left ? begin - 1 : end;
    const int step = from_left ? -1 : 1;
    const int length = end - begin;
    const int run = BackgroundRun(depth, edge, step, length);
    for (int k = 0; k < length; ++k) {
        // Back and forth over the background run, as a mirror would show it.
        const int bounce = k % (2 * run);
        const int source = edge + step * (bounce < run ? bounce : 2 * run - 1 - bounce);
        const int target = from_left ? begin + k : end - 1 - k;
        view[at(target)] = view[at(source)];
        depth[at(target)] = depth[at(edge)];
    }
}

void FillHoles(std::span<PixelTriple> view, std::span<std::int32_t> depth,
               std::span<const PixelTriple> source) {
    const int width = static_cast<int>(view.size());
    int i = 0;
    while (true) {
        // Past written pixels, eight at a time where none of the eight is empty (only
        // kEmpty is negative), then one at a time up to the hole.
        const auto written_eight = [&](int from) {
            std::int32_t any = 0;
            for (int k = 0; k < 8; ++k) any |= depth[static_cast<std::size_t>(from + k)];
            return any >= 0;
        };
        while (i + 8 <= width && written_eight(i)) i += 8;
        while (i < width && depth[static_cast<std::size_t>(i)] != kEmpty) ++i;
        if (i >= width) break;
        int end = i;
        while (end < width && depth[static_cast<std::size_t>(end)] == kEmpty) ++end;
        if (i == 0 && end == width) {
            // Nothing landed in the row (a width no shift can empty; kept for safety).
            std::copy(source.begin(), source.end(), view.begin());
            return;
        }
        FillHole(view, depth, i, end);
        i = end;
    }
}

// Each view's start, with its depths cleared.
template <std::size_t kViews>
[[gnu::always_inline]] inline std::array<WarpState, kViews> StartViews(
    std::span<const PixelTriple> source, std::span<const std::uint8_t> levels,
    const std::array<ViewRow, kViews>& rows) {
    std::array<WarpState, kViews> states;
    for (std::size_t v = 0; v < kViews; ++v) {
        std::fill(rows[v].depth, rows[v].depth + rows[v].width, kEmpty);
        states[v] = StartView(rows[v], Unmoved(source, levels, 0));
    }
    return states;
}

// Steps x to the row's end, one at a time, and each view's last half pixel.
template <std::size_t kViews>
[[gnu::always_inline]] inline void StepToEnd(std::span<const PixelTriple> source,
                                             std::span<const std::uint8_t> levels,
                                             const std::array<ViewRow, kViews>& rows,
                                             std::array<WarpState, kViews>& states, int x) {
    const int width = static_cast<int>(source.size());
    Spread spread = SpreadOf(source[static_cast<std::size_t>(x - 1)]);
    std::int32_t level_before = levels[static_cast<std::size_t>(x - 1)];
    for (; x < width; ++x) {
        const auto i = static_cast<std::size_t>(x);
        const Spread next = SpreadOf(source[i]);
        const std::uint8_t level = levels[i];
        const SourcePair pair{(spread << 8) + kLaneHalves, next - spread, level_before * kSubpixel,
                              level - level_before};
        spread = next;
        level_before = level;
        for (std::size_t v = 0; v < kViews; ++v)
            Step(rows[v], states[v], source, levels, x, level, [&] { return pair; });
    }
    for (std::size_t v = 0; v < kViews; ++v)
        FinishView(rows[v], states[v], Unmoved(source, levels, width - 1));
}

// Every view of `rows` from the same row, in one pass over it.
template <std::size_t kViews>
void WarpViewsPlain(std::span<const PixelTriple> source, std::span<const std::uint8_t> levels,
                    const std::array<ViewRow, kViews>& rows) {
    std::array<WarpState, kViews> states = StartViews(source, levels, rows);
    StepToEnd(source, levels, rows, states, 1);
}

#ifdef ZARVIK_WARP_EIGHT
// The same, eight steps at a time where it can.
template <std::size_t kViews>
[[gnu::target("avx2")]] void WarpViewsWide(std::span<const PixelTriple> source,
                                           std::span<const std::uint8_t> levels,
                                           const std::array<ViewRow, kViews>& rows) {
    std::array<WarpState, kViews> states = StartViews(source, levels, rows);
    const int width = static_cast<int>(source.size());
    const int x_end = width - kEightReach + 1;
    for (std::size_t v = 0; v < kViews; ++v) {
        int x = 1;
        int misses = 0;  // eights refused in a row
        while (x < x_end) {
            const int taken = StepEight(rows[v], states[v], source, levels, x);
            if (taken > 0) {
                x += taken;
                misses = 0;
                continue;
            }
            // Up to the step that stopped the eight, one at a time; further where the
            // row folds so often that trying eight again would mostly be wasted.
            const int alone = -taken + std::min(8 * misses, 64);
            ++misses;
            const int stop = std::min(x + alone, x_end);
            GeneralSteps(rows[v], states[v], source, levels, x, stop);
            x = stop;
        }
        for (; x < width; ++x) StepAlone(rows[v], states[v], source, levels, x);
        FinishView(rows[v], states[v], Unmoved(source, levels, width - 1));
    }
}
#endif

template <std::size_t kViews>
void WarpViews(std::span<const PixelTriple> source, std::span<const std::uint8_t> levels,
               const std::array<ViewRow, kViews>& rows) {
#ifdef ZARVIK_WARP_EIGHT
    static const bool wide = __builtin_cpu_supports("avx2");
    if (wide) return WarpViewsWide<kViews>(source, levels, rows);
#endif
    WarpViewsPlain<kViews>(source, levels, rows);
}

ViewRow RowOf(const LevelShifts& shifts, std::span<PixelTriple> view,
              std::span<std::int32_t> depth) {
    return {shifts.data(), view.data(), depth.data(), static_cast<int>(view.size())};
}

}  // namespace

void ForwardWarpRow(std::span<const PixelTriple> source, std::span<const std::uint8_t> levels,
                    const LevelShifts& shifts, std::span<PixelTriple> view, WarpScratch scratch) {
    if (view.empty()) return;
    const std::span<std::int32_t> depth = scratch.depth.first(view.size());
    WarpViews<1>(source.first(view.size()), levels, {RowOf(shifts, view, depth)});
    FillHoles(view, depth, source);
}

void ForwardWarpViews(std::span<const PixelTriple> source, std::span<const std::uint8_t> levels,
                      const EyeView& left, const EyeView& right) {
    if (left.view.empty()) return;
    const std::size_t width = left.view.size();
    const std::span<std::int32_t> left_depth = left.depth.first(width);
    const std::span<std::int32_t> right_depth = right.depth.first(width);
    WarpViews<2>(
        source.first(width), levels,
        {RowOf(left.shifts, left.view, left_depth), RowOf(right.shifts, right.view, right_depth)});
    FillHoles(left.view, left_depth, source);
    FillHoles(right.view, right_depth, source);
}

}  // namespace stereo
