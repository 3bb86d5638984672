#include "depth/mean_of_three_row.h"

#include <array>
#include <cstdint>

#include "core/vector_clones.h"
#include "depth/cue_frame.h"
#include "depth/rounded_quotients.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define ZARVIK_MEAN_AVX2 1
#endif

namespace GrayScale::detail {

namespace {

using core::PixelTriple;

std::uint8_t MeanOf(const PixelTriple& p) {
    return static_cast<std::uint8_t>(
        ::depth::RoundedThird(static_cast<std::uint16_t>(p.Red + p.Green + p.Blue)));
}

// The plain loop, compiled for each vector unit (see core/vector_clones.h).
ZARVIK_VECTOR_CLONES void PlainRow(PixelTriple* cells, int count) {
    GreyRow(cells, count, MeanOf);
}

#if defined(ZARVIK_MEAN_AVX2)

// Written by hand because simd_bench measured it 2.9x as fast as PlainRow, which GCC
// vectorises for AVX2 at depth's -O3, at 4000 x 3000, and 3.1-3.2x at 256 x 128 (median
// CPU time of 15 runs, two runs, on a shared 2-core VM).

// Shuffle controls, the same in both 16-byte halves of a vector.
using Picks = std::array<std::int8_t, 32>;

// Byte j of part `part` (bytes 16 part .. 16 part + 15 of a run of 48) goes to slot s of
// a channel when it is byte 3 s + offset of the run; -1 clears a slot it does not hold.
constexpr Picks ChannelPicks(int part, int offset) {
    Picks picks{};
    for (int slot = 0; slot < 16; ++slot) {
        const int at = 3 * slot + offset - 16 * part;
        picks[static_cast<std::size_t>(slot)] =
            static_cast<std::int8_t>(at >= 0 && at < 16 ? at : -1);
        picks[static_cast<std::size_t>(slot + 16)] = picks[static_cast<std::size_t>(slot)];
    }
    return picks;
}

// Byte j of output part `part` takes the mean of slot (16 part + j) / 3.
constexpr Picks SpreadPicks(int part) {
    Picks picks{};
    for (int j = 0; j < 16; ++j) {
        picks[static_cast<std::size_t>(j)] = static_cast<std::int8_t>((16 * part + j) / 3);
        picks[static_cast<std::size_t>(j + 16)] = picks[static_cast<std::size_t>(j)];
    }
    return picks;
}

constexpr std::array<std::array<Picks, 3>, 3> kChannels = {{
    {ChannelPicks(0, 0), ChannelPicks(1, 0), ChannelPicks(2, 0)},
    {ChannelPicks(0, 1), ChannelPicks(1, 1), ChannelPicks(2, 1)},
    {ChannelPicks(0, 2), ChannelPicks(1, 2), ChannelPicks(2, 2)},
}};
constexpr std::array<Picks, 3> kSpread = {SpreadPicks(0), SpreadPicks(1), SpreadPicks(2)};

// 32 cells a step, as two runs of 16 side by side in the two halves of each vector, so
// that every byte shuffle stays within its half: three loads take the 48 bytes of each
// run, shuffles sort them into Blue, Green and Red, the sums are taken in 16-bit lanes
// and divided as RoundedThird does ((s + 1) x 43691 / 2^17), and three shuffles spread
// each mean over its cell's three bytes. Returns the cells done.
__attribute__((target("avx2"))) int MeanRowsAvx2(PixelTriple* cells, int count) {
    auto* bytes = reinterpret_cast<std::uint8_t*>(cells);
    __m256i channel[3][3];
    __m256i spread[3];
    for (std::size_t c = 0; c < 3; ++c) {
        for (std::size_t k = 0; k < 3; ++k)
            channel[c][k] =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kChannels[c][k].data()));
        spread[c] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kSpread[c].data()));
    }
    const __m256i zero = _mm256_setzero_si256();
    const __m256i one = _mm256_set1_epi16(1);
    const __m256i third = _mm256_set1_epi16(static_cast<short>(43691));
    int done = 0;
    for (; done + 32 <= count; done += 32, bytes += 96) {
        __m256i parts[3];
        for (int k = 0; k < 3; ++k)
            parts[k] = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(bytes + 48 + 16 * k),
                                           reinterpret_cast<const __m128i*>(bytes + 16 * k));
        __m256i sorted[3];
        for (int c = 0; c < 3; ++c)
            sorted[c] =
                _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(parts[0], channel[c][0]),
                                                _mm256_shuffle_epi8(parts[1], channel[c][1])),
                                _mm256_shuffle_epi8(parts[2], channel[c][2]));
        const __m256i low =
            _mm256_add_epi16(_mm256_add_epi16(_mm256_unpacklo_epi8(sorted[0], zero),
                                              _mm256_unpacklo_epi8(sorted[1], zero)),
                             _mm256_add_epi16(_mm256_unpacklo_epi8(sorted[2], zero), one));
        const __m256i high =
            _mm256_add_epi16(_mm256_add_epi16(_mm256_unpackhi_epi8(sorted[0], zero),
                                              _mm256_unpackhi_epi8(sorted[1], zero)),
                             _mm256_add_epi16(_mm256_unpackhi_epi8(sorted[2], zero), one));
        const __m256i means =
            _mm256_packus_epi16(_mm256_srli_epi16(_mm256_mulhi_epu16(low, third), 1),
                                _mm256_srli_epi16(_mm256_mulhi_epu16(high, third), 1));
        for (int k = 0; k < 3; ++k)
            _mm256_storeu2_m128i(reinterpret_cast<__m128i*>(bytes + 48 + 16 * k),
                                 reinterpret_cast<__m128i*>(bytes + 16 * k),
                                 _mm256_shuffle_epi8(means, spread[k]));
    }
    return done;
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2") != 0;
    return has;
}

#endif

}  // namespace

void MeanOfThreeRow(PixelTriple* cells, int count) {
    int done = 0;
#if defined(ZARVIK_MEAN_AVX2)
    if (HasAvx2()) done = MeanRowsAvx2(cells, count);
#endif
    PlainRow(cells + done, count - done);
}

}  // namespace GrayScale::detail
