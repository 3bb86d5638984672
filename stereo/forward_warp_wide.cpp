#include "stereo/forward_warp_wide.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define ZARVIK_WARP_EIGHT 1
#endif

namespace stereo::warp {

#ifndef ZARVIK_WARP_EIGHT

bool WideAvailable() {
    return false;
}

int StepsWide(const ViewCells&, WarpState&, int x) {
    return x;
}

void CopyColoursWide(std::span<const Cell> cells, std::span<core::PixelTriple> view) {
    CopyColours(cells, view, 0);
}

int JoinCellsWide(const Cell*, const Cell*, std::uint8_t*, int) {
    return 0;
}

std::size_t EmptyWordsWide(std::span<const Cell>, std::uint64_t*) {
    return 0;
}

#else

namespace {

using core::PixelTriple;

// Cells the eight quick steps may write or touch past the first one, and the source
// pixels the steps read from x on.
constexpr int kEightCells = 16 + 4;
constexpr int kEightReach = 11;
// General stretches shorter than this are stepped one at a time: a single fold in a
// smooth row costs less so than a whole eight of candidates.
constexpr int kFewSteps = 4;

#define ZARVIK_AVX2 [[gnu::target("avx2")]] inline

ZARVIK_AVX2 __m256i Lanes() {
    return _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
}

ZARVIK_AVX2 __m256i Fill(std::int32_t value) {
    return _mm256_set1_epi32(value);
}

ZARVIK_AVX2 __m256i EightLevels(const std::uint8_t* levels) {
    return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(levels)));
}

ZARVIK_AVX2 __m256i FirstCentres(__m256i position) {
    return _mm256_srai_epi32(_mm256_add_epi32(position, Fill(kSubpixel - 1)), 8);
}

ZARVIK_AVX2 __m256i Below(__m256i a, __m256i b) {
    return _mm256_cmpgt_epi32(b, a);
}

ZARVIK_AVX2 __m256i Choose(__m256i mask, __m256i yes, __m256i no) {
    return _mm256_blendv_epi8(no, yes, mask);
}

// Where steps x to x + 7 land, from their levels. The shifts are looked up one at a
// time: on the AMD processor measured, eight loads took less time than one gather of
// eight, and on Intel processors whose microcode guards against gather data sampling
// a gather is slower still.
ZARVIK_AVX2 __m256i Landings(const ViewCells& row, int x) {
    const std::uint8_t* level = row.levels + x;
    const std::int32_t* shift = row.shifts;
    const __m256i shifts =
        _mm256_setr_epi32(shift[level[0]], shift[level[1]], shift[level[2]], shift[level[3]],
                          shift[level[4]], shift[level[5]], shift[level[6]], shift[level[7]]);
    return _mm256_add_epi32(_mm256_slli_epi32(_mm256_add_epi32(Fill(x), Lanes()), 8), shifts);
}

// The landings before each: `at` moved up a lane, `previous` in the first.
ZARVIK_AVX2 __m256i LandingsBefore(__m256i at, std::int32_t previous) {
    return _mm256_blend_epi32(
        _mm256_permutevar8x32_epi32(at, _mm256_setr_epi32(7, 0, 1, 2, 3, 4, 5, 6)), Fill(previous),
        1);
}

// floor((centre - from) x 256 / span) in single precision, exact here: both operands
// are below 2^24, and a quotient that is not a whole number lies at least 1/512 from
// the next one, far more than the rounding.
ZARVIK_AVX2 __m256i Weights(__m256i centre, __m256i from, __m256i span) {
    return _mm256_cvttps_epi32(
        _mm256_div_ps(_mm256_cvtepi32_ps(_mm256_slli_epi32(_mm256_sub_epi32(centre, from), 8)),
                      _mm256_cvtepi32_ps(span)));
}

// The depth (x 256) `weight` of the way from level `near` to level `far`.
ZARVIK_AVX2 __m256i Depths(__m256i near, __m256i far, __m256i weight) {
    return _mm256_add_epi32(_mm256_slli_epi32(near, 8),
                            _mm256_mullo_epi32(_mm256_sub_epi32(far, near), weight));
}

// The low and high halves of eight cells, as CellOf makes them.
struct EightCells {
    __m256i low;
    __m256i high;
};

// `colour` four bytes to a lane, the top one 0.
ZARVIK_AVX2 EightCells CellsOf(__m256i depth, __m256i source, __m256i colour) {
    return {colour,
            _mm256_or_si256(_mm256_slli_epi32(_mm256_add_epi32(depth, Fill(1)), kSourceBits),
                            _mm256_sub_epi32(Fill(kLastSource), source))};
}

// Eight cells in lane order from `out` on.
ZARVIK_AVX2 void StoreCells(EightCells cells, Cell* out) {
    const __m256i order = _mm256_setr_epi32(0, 1, 4, 5, 2, 3, 6, 7);
    const __m256i low = _mm256_permutevar8x32_epi32(cells.low, order);
    const __m256i high = _mm256_permutevar8x32_epi32(cells.high, order);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_unpacklo_epi32(low, high));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4), _mm256_unpackhi_epi32(low, high));
}

// Eight three-byte pixels from `bytes` on, one to a 32-bit lane (the top byte 0).
ZARVIK_AVX2 __m256i EightColours(const std::uint8_t* bytes) {
    const __m256i raw =
        _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes)),
                                    _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6));
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0,
                                            1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    return _mm256_shuffle_epi8(raw, spread);
}

// (a (256 - w) + b w + 128) >> 8 in 16-bit lanes: no lane passes 255 x 256 + 128.
ZARVIK_AVX2 __m256i MixLanes(__m256i a, __m256i b, __m256i weight) {
    const __m256i rest = _mm256_sub_epi16(_mm256_set1_epi16(256), weight);
    const __m256i sum =
        _mm256_add_epi16(_mm256_mullo_epi16(a, rest), _mm256_mullo_epi16(b, weight));
    return _mm256_srli_epi16(_mm256_add_epi16(sum, _mm256_set1_epi16(128)), 8);
}

// The same in every channel: a, b and the result four bytes to a lane, w one to a lane.
ZARVIK_AVX2 __m256i MixEight(__m256i a, __m256i b, __m256i weight) {
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
ZARVIK_AVX2 void StoreEightColours(__m256i colours, PixelTriple* out) {
    const __m256i packed = _mm256_shuffle_epi8(
        colours, _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2,
                                  4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1));
    auto* bytes = reinterpret_cast<std::uint8_t*>(out);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), _mm256_castsi256_si128(packed));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + 12), _mm256_extracti128_si256(packed, 1));
}

// Steps x to x + 7 for a view whose next eight source pixels all stretch or squeeze
// (no fold, no hole) onto cells nothing wrote yet: for each cell the eight spans
// cover, which span holds its centre, then its weight, depth and colour. Up to sixteen cells
// are written, as two runs of eight; those past the last span's end are left to the
// next steps, which write them again or empty them. Returns 8, or with nothing
// written, minus the number of steps up to and including the first that folds or
// opens a hole (-1 when the cells ahead are taken).
ZARVIK_AVX2 int StepEight(const ViewCells& row, WarpState& state, int x) {
    const std::uint8_t* levels = row.levels;
    const int first = FirstCentreFrom(state.at);
    if (first < state.written_end || first < 0 || first + kEightCells > row.width) return -1;
    const __m256i level = EightLevels(levels + x);
    const __m256i at = Landings(row, x);
    const __m256i at_before = LandingsBefore(at, state.at);
    const __m256i beyond = _mm256_andnot_si256(
        Fill(kMaxStretch - 1), _mm256_sub_epi32(_mm256_sub_epi32(at, at_before), Fill(1)));
    if (!_mm256_testz_si256(beyond, beyond)) {
        const auto lanes_within = static_cast<unsigned>(_mm256_movemask_ps(
            _mm256_castsi256_ps(_mm256_cmpeq_epi32(beyond, _mm256_setzero_si256()))));
        return -(std::countr_zero(~lanes_within) + 1);
    }

    const int last = _mm256_extract_epi32(at, 7);
    const int end = FirstCentreFrom(last);
    const int runs = end - first > 8 ? 2 : 1;
    const __m256i level_before = EightLevels(levels + x - 1);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(row.source);
    const __m256i colour_before = EightColours(bytes + 3 * static_cast<std::size_t>(x - 1));
    const __m256i colour = EightColours(bytes + 3 * static_cast<std::size_t>(x));
    for (int run = 0; run < runs; ++run) {
        const int cell = first + 8 * run;
        const __m256i centre = _mm256_slli_epi32(_mm256_add_epi32(Fill(cell), Lanes()), 8);
        // The span holding each centre: the number of landings at or before it, found by
        // halving (the landings rise); a centre past the last lands nowhere valid.
        __m256i span = _mm256_setzero_si256();
        for (const int half : {4, 2, 1}) {
            const __m256i probe =
                _mm256_permutevar8x32_epi32(at, _mm256_add_epi32(span, Fill(half - 1)));
            span = _mm256_add_epi32(
                span, _mm256_andnot_si256(_mm256_cmpgt_epi32(probe, centre), Fill(half)));
        }
        const __m256i from = _mm256_permutevar8x32_epi32(at_before, span);
        const __m256i weight =
            Weights(centre, from, _mm256_sub_epi32(_mm256_permutevar8x32_epi32(at, span), from));
        const __m256i depth = Depths(_mm256_permutevar8x32_epi32(level_before, span),
                                     _mm256_permutevar8x32_epi32(level, span), weight);
        const __m256i mixed = MixEight(_mm256_permutevar8x32_epi32(colour_before, span),
                                       _mm256_permutevar8x32_epi32(colour, span), weight);
        StoreCells(CellsOf(depth, _mm256_add_epi32(Fill(x - 1), span), mixed), row.cells + cell);
    }
    state.at = last;
    state.written_end = end;
    state.unspanned_end = std::max(state.unspanned_end, first + 8 * runs);
    return 8;
}

// The largest of eight lanes, without leaving the registers.
ZARVIK_AVX2 std::int32_t LargestLane(__m256i lanes) {
    __m256i most = _mm256_max_epi32(lanes, _mm256_permute2x128_si256(lanes, lanes, 1));
    most = _mm256_max_epi32(most, _mm256_shuffle_epi32(most, 0x4E));
    most = _mm256_max_epi32(most, _mm256_shuffle_epi32(most, 0xB1));
    return _mm256_cvtsi256_si32(most);
}

// One candidate cell per lane where `valid`: kept where nearer. The others go to spare
// cells of their own, past the row, as empty cells that change nothing.
ZARVIK_AVX2 void KeepCandidates(const ViewCells& row, __m256i valid, __m256i pixel,
                                EightCells cells, int spare) {
    alignas(32) std::array<Cell, 8> candidates;
    alignas(32) std::array<std::int32_t, 8> pixels;
    StoreCells({_mm256_and_si256(valid, cells.low), _mm256_and_si256(valid, cells.high)},
               candidates.data());
    _mm256_store_si256(reinterpret_cast<__m256i*>(pixels.data()),
                       Choose(valid, pixel, _mm256_add_epi32(Fill(row.width + spare), Lanes())));
    for (std::size_t k = 0; k < 8; ++k) KeepNearer(row.cells[pixels[k]], candidates[k]);
}

// Lanes of `active` whose pixel lies on the row.
ZARVIK_AVX2 __m256i OnRow(__m256i active, __m256i pixel, __m256i width) {
    return _mm256_and_si256(_mm256_and_si256(active, Below(pixel, width)),
                            _mm256_cmpgt_epi32(pixel, Fill(-1)));
}

// Where GeneralSteps counts a write of the centres from `from` to `to` to end: past
// its first centre, written or not.
ZARVIK_AVX2 __m256i EndOf(__m256i from, __m256i to, __m256i width) {
    return _mm256_max_epi32(_mm256_max_epi32(from, _mm256_setzero_si256()),
                            _mm256_min_epi32(to, width));
}

// Steps x to x + 7, those before `stop`, the general way: each step's one or two
// cells as candidates. Returns the written end, counted as GeneralSteps counts it.
ZARVIK_AVX2 int EightGeneralSteps(const ViewCells& row, WarpState& state, int x, int stop) {
    const std::uint8_t* levels = row.levels;
    const __m256i zero = _mm256_setzero_si256();
    const __m256i width = Fill(row.width);
    const __m256i step = _mm256_add_epi32(Fill(x), Lanes());
    const __m256i active = Below(step, Fill(stop));
    const __m256i level = EightLevels(levels + x);
    const __m256i before = EightLevels(levels + x - 1);
    const __m256i b = Landings(row, x);
    const __m256i a = LandingsBefore(b, state.at);
    state.at =
        _mm256_cvtsi256_si32(_mm256_permutevar8x32_epi32(b, Fill(std::min(stop - x, 8) - 1)));
    const __m256i span = _mm256_sub_epi32(b, a);
    const __m256i inside = _mm256_cmpeq_epi32(
        _mm256_andnot_si256(Fill(kMaxStretch - 1), _mm256_sub_epi32(span, Fill(1))), zero);
    const __m256i fa = FirstCentres(a);
    const __m256i fb = FirstCentres(b);
    const __m256i fa_half = FirstCentres(_mm256_add_epi32(a, Fill(kHalf)));
    const __m256i fb_half = FirstCentres(_mm256_sub_epi32(b, Fill(kHalf)));
    const __m256i fa_next = _mm256_add_epi32(fa, Fill(1));

    // A span's first two centres, or each side's half pixel.
    const __m256i p1 = Choose(inside, fa_next, fb_half);
    const __m256i valid0 = _mm256_and_si256(OnRow(active, fa, width),
                                            Choose(inside, Below(fa, fb), Below(fa, fa_half)));
    const __m256i valid1 = _mm256_and_si256(OnRow(active, p1, width),
                                            Choose(inside, Below(fa_next, fb), Below(fb_half, fb)));
    const __m256i w0 = _mm256_and_si256(inside, Weights(_mm256_slli_epi32(fa, 8), a, span));
    const __m256i w1 =
        Choose(inside, Weights(_mm256_slli_epi32(fa_next, 8), a, span), Fill(kSubpixel));
    const __m256i source = _mm256_sub_epi32(step, Fill(1));
    // Step x + k mixes source pixels x + k - 1 and x + k: the eight pairs side by side.
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(row.source);
    const __m256i colour_before = EightColours(bytes + 3 * static_cast<std::size_t>(x - 1));
    const __m256i colour = EightColours(bytes + 3 * static_cast<std::size_t>(x));
    KeepCandidates(row, valid0, fa,
                   CellsOf(Depths(before, level, w0), source, MixEight(colour_before, colour, w0)),
                   0);
    KeepCandidates(row, valid1, p1,
                   CellsOf(Depths(before, level, w1), source, MixEight(colour_before, colour, w1)),
                   8);

    const __m256i end =
        Choose(inside, EndOf(fa, fb, width),
               _mm256_max_epi32(EndOf(fa, fa_half, width), EndOf(fb_half, fb, width)));
    return LargestLane(_mm256_and_si256(active, end));
}

// Steps x to stop - 1 the general way, eight at a time.
ZARVIK_AVX2 void GeneralStepsWide(const ViewCells& row, WarpState& state, int x, int stop) {
    ClearUnspanned(row, state);
    int end = state.written_end;
    for (; x < stop; x += 8) end = std::max(end, EightGeneralSteps(row, state, x, stop));
    state.written_end = end;
}

// The low halves of eight cells.
ZARVIK_AVX2 __m256i LowHalves(const Cell* cells) {
    const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cells));
    const __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cells + 4));
    const __m256i evens = _mm256_setr_epi32(0, 2, 4, 6, 0, 2, 4, 6);
    return _mm256_blend_epi32(_mm256_permutevar8x32_epi32(first, evens),
                              _mm256_permutevar8x32_epi32(second, evens), 0xF0);
}

// (99 c + 50) / 100 in 16-bit lanes, as stereo::DimByte: the high half of the sum
// times 41944, shifted by 6.
ZARVIK_AVX2 __m256i DimLanes(__m256i lanes) {
    const __m256i sum =
        _mm256_add_epi16(_mm256_mullo_epi16(lanes, _mm256_set1_epi16(99)), _mm256_set1_epi16(50));
    return _mm256_srli_epi16(_mm256_mulhi_epu16(sum, _mm256_set1_epi16(static_cast<short>(41944))),
                             6);
}

// The same in every byte.
ZARVIK_AVX2 __m256i DimBytes(__m256i bytes) {
    const __m256i zero = _mm256_setzero_si256();
    return _mm256_packus_epi16(DimLanes(_mm256_unpacklo_epi8(bytes, zero)),
                               DimLanes(_mm256_unpackhi_epi8(bytes, zero)));
}

}  // namespace

bool WideAvailable() {
    static const bool wide = __builtin_cpu_supports("avx2");
    return wide;
}

[[gnu::target("avx2")]] int StepsWide(const ViewCells& row, WarpState& state, int x) {
    const int x_end = row.width - kEightReach + 1;
    int misses = 0;  // eights refused in a row
    while (x < x_end) {
        const int taken = StepEight(row, state, x);
        if (taken > 0) {
            x += taken;
            misses = 0;
            continue;
        }
        // Up to the step that stopped the eight, the general way; further where the
        // row folds so often that trying eight again would mostly be wasted.
        const int stop = std::min(x + -taken + std::min(8 * misses, 64), x_end);
        ++misses;
        // A few steps cost less one at a time than as a whole eight.
        if (stop - x < kFewSteps)
            GeneralSteps(row, state, x, stop);
        else
            GeneralStepsWide(row, state, x, stop);
        x = stop;
    }
    return x;
}

[[gnu::target("avx2")]] void CopyColoursWide(std::span<const Cell> cells,
                                             std::span<PixelTriple> view) {
    const int width = static_cast<int>(view.size());
    int i = 0;
    // Each eight writes four bytes past itself: the last ones are left to one at a time.
    for (; i + 10 <= width; i += 8) StoreEightColours(LowHalves(cells.data() + i), view.data() + i);
    CopyColours(cells, view, i);
}

[[gnu::target("avx2")]] int JoinCellsWide(const Cell* red_from, const Cell* cyan_from,
                                          std::uint8_t* out, int width) {
    if (!WideAvailable()) return 0;
    const __m256i red_part = Fill(0xFF'0000);
    int i = 0;
    for (; i + 8 <= width; i += 8) {
        const __m256i joined =
            _mm256_or_si256(_mm256_and_si256(LowHalves(red_from + i), red_part),
                            _mm256_andnot_si256(red_part, LowHalves(cyan_from + i)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * static_cast<std::size_t>(i)),
                            DimBytes(joined));
    }
    return i;
}

[[gnu::target("avx2")]] std::size_t EmptyWordsWide(std::span<const Cell> cells,
                                                   std::uint64_t* words) {
    if (!WideAvailable()) return 0;
    const std::size_t whole = cells.size() / 64;
    const __m256i zero = _mm256_setzero_si256();
    for (std::size_t w = 0; w < whole; ++w) {
        std::uint64_t bits = 0;
        for (std::size_t k = 0; k < 64; k += 4) {
            const __m256i four =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cells.data() + 64 * w + k));
            const auto empty = static_cast<unsigned>(
                _mm256_movemask_pd(_mm256_castsi256_pd(_mm256_cmpeq_epi64(four, zero))));
            bits |= std::uint64_t{empty} << k;
        }
        words[w] = bits;
    }
    return whole;
}

#undef ZARVIK_AVX2
#endif

}  // namespace stereo::warp
