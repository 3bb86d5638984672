#include "core/rows32.h"

#include <cstring>

#include "platform/streaming.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#if defined(__GNUC__) || defined(__clang__)
#include <tmmintrin.h>
#define ZARVIK_ROWS32_SHUFFLES 1
#endif
#endif

namespace core::rows32 {

namespace {

using platform::streaming::Aligned;

void DecodeOne(const std::uint8_t* in, std::uint8_t* out) {
    std::memcpy(out, in, 3);
}

void EncodeOne(const std::uint8_t* in, std::uint8_t* out) {
    std::memcpy(out, in, 3);
    out[3] = 0;
}

#if defined(__SSE2__)

// Written by hand because GCC 12 does not vectorise the plain loops (a pixel at a time,
// bench/simd_plain_loops.cpp) at core's -O2. Against them, simd_bench measured these
// blocks this much faster (median CPU time of 15 runs, two runs, on a shared 2-core VM):
//                      4000 x 3000    256 x 128
//   decode, SSSE3      1.4-1.6x       4.2-4.3x
//   encode, SSSE3      1.7x           6.4-7.2x
//   decode, SSE2       1.04-1.09x     1.7x
//   encode, SSE2       1.1-1.3x       2.5-2.9x
// At -O3 with vector clones, as depth/ is built, the plain encode loop is still 1.7x
// (6x) slower, but the plain decode loop is as fast as the SSSE3 blocks.

// Store for a whole 16-byte block; `out` is 16-byte aligned when streaming.
template <bool kStreaming>
void Store(std::uint8_t* out, __m128i v) {
    if constexpr (kStreaming) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(out), v);
    } else {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
    }
}

__m128i Load(const std::uint8_t* in) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
}

// Bytes first..last (both included) of a vector set, the others clear.
__m128i ByteMask(int first, int last) {
    alignas(16) std::uint8_t bytes[16] = {};
    for (int i = first; i <= last; ++i) bytes[i] = 0xFF;
    return _mm_load_si128(reinterpret_cast<const __m128i*>(bytes));
}

// Four pixels (16 bytes) to their twelve colour bytes at the bottom, the top 4 clear.
// Each 64-bit half packs its two pixels into six bytes; the upper six then move down
// next to the lower ones.
struct Packer {
    __m128i first_pixel = _mm_or_si128(ByteMask(0, 2), ByteMask(8, 10));
    __m128i second_pixel = _mm_or_si128(ByteMask(3, 5), ByteMask(11, 13));
    __m128i low_six = ByteMask(0, 5);
    __m128i high_six = ByteMask(6, 11);

    __m128i operator()(__m128i v) const {
        const __m128i halves = _mm_or_si128(_mm_and_si128(v, first_pixel),
                                            _mm_and_si128(_mm_srli_epi64(v, 8), second_pixel));
        return _mm_or_si128(_mm_and_si128(halves, low_six),
                            _mm_and_si128(_mm_bsrli_si128(halves, 2), high_six));
    }
};

// The twelve colour bytes at the bottom of a vector (the top 4 are ignored) to four
// pixels with their fourth byte 0.
struct Expander {
    __m128i first_pixel = _mm_or_si128(ByteMask(0, 2), ByteMask(8, 10));
    __m128i second_pixel = _mm_or_si128(ByteMask(4, 6), ByteMask(12, 14));

    __m128i operator()(__m128i v) const {
        const __m128i halves = _mm_unpacklo_epi64(v, _mm_bsrli_si128(v, 6));
        return _mm_or_si128(_mm_and_si128(halves, first_pixel),
                            _mm_and_si128(_mm_slli_epi64(halves, 8), second_pixel));
    }
};

// Sixteen pixels a step: 64 bytes in, 48 out, the output written as three whole
// vectors. Returns how many pixels it converted.
template <bool kStreaming>
std::size_t DecodeBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t count) {
    const Packer pack;
    std::size_t done = 0;
    for (; done + 16 <= count; done += 16, in += 64, out += 48) {
        const __m128i a = pack(Load(in));
        const __m128i b = pack(Load(in + 16));
        const __m128i c = pack(Load(in + 32));
        const __m128i d = pack(Load(in + 48));
        Store<kStreaming>(out, _mm_or_si128(a, _mm_bslli_si128(b, 12)));
        Store<kStreaming>(out + 16, _mm_or_si128(_mm_bsrli_si128(b, 4), _mm_bslli_si128(c, 8)));
        Store<kStreaming>(out + 32, _mm_or_si128(_mm_bsrli_si128(c, 8), _mm_bslli_si128(d, 4)));
    }
    return done;
}

// Sixteen cells a step: 48 bytes in (three whole vectors, nothing read beyond), 64 out.
template <bool kStreaming>
std::size_t EncodeBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t count) {
    const Expander expand;
    std::size_t done = 0;
    for (; done + 16 <= count; done += 16, in += 48, out += 64) {
        const __m128i s0 = Load(in);
        const __m128i s1 = Load(in + 16);
        const __m128i s2 = Load(in + 32);
        Store<kStreaming>(out, expand(s0));
        Store<kStreaming>(out + 16,
                          expand(_mm_or_si128(_mm_bsrli_si128(s0, 12), _mm_bslli_si128(s1, 4))));
        Store<kStreaming>(out + 32,
                          expand(_mm_or_si128(_mm_bsrli_si128(s1, 8), _mm_bslli_si128(s2, 8))));
        Store<kStreaming>(out + 48, expand(_mm_bsrli_si128(s2, 4)));
    }
    return done;
}

#if defined(ZARVIK_ROWS32_SHUFFLES)

// With byte shuffles (SSSE3) one instruction packs or unpacks four pixels, where the
// SSE2 blocks above take eight; the loops then keep up with memory. Chosen at run time,
// as the baseline instruction set lacks them.
bool HasShuffles(Instructions instructions) {
    static const bool has = __builtin_cpu_supports("ssse3") != 0;
    return has && instructions == Instructions::kBest;
}

template <bool kStreaming>
__attribute__((target("ssse3"))) std::size_t DecodeBlocksShuffled(const std::uint8_t* in,
                                                                  std::uint8_t* out,
                                                                  std::size_t count) {
    const __m128i pack = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    std::size_t done = 0;
    for (; done + 16 <= count; done += 16, in += 64, out += 48) {
        const __m128i a = _mm_shuffle_epi8(Load(in), pack);
        const __m128i b = _mm_shuffle_epi8(Load(in + 16), pack);
        const __m128i c = _mm_shuffle_epi8(Load(in + 32), pack);
        const __m128i d = _mm_shuffle_epi8(Load(in + 48), pack);
        Store<kStreaming>(out, _mm_or_si128(a, _mm_bslli_si128(b, 12)));
        Store<kStreaming>(out + 16, _mm_or_si128(_mm_bsrli_si128(b, 4), _mm_bslli_si128(c, 8)));
        Store<kStreaming>(out + 32, _mm_or_si128(_mm_bsrli_si128(c, 8), _mm_bslli_si128(d, 4)));
    }
    return done;
}

template <bool kStreaming>
__attribute__((target("ssse3"))) std::size_t EncodeBlocksShuffled(const std::uint8_t* in,
                                                                  std::uint8_t* out,
                                                                  std::size_t count) {
    const __m128i expand = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    std::size_t done = 0;
    for (; done + 16 <= count; done += 16, in += 48, out += 64) {
        const __m128i s0 = Load(in);
        const __m128i s1 = Load(in + 16);
        const __m128i s2 = Load(in + 32);
        Store<kStreaming>(out, _mm_shuffle_epi8(s0, expand));
        Store<kStreaming>(out + 16, _mm_shuffle_epi8(_mm_alignr_epi8(s1, s0, 12), expand));
        Store<kStreaming>(out + 32, _mm_shuffle_epi8(_mm_alignr_epi8(s2, s1, 8), expand));
        Store<kStreaming>(out + 48, _mm_shuffle_epi8(_mm_bsrli_si128(s2, 4), expand));
    }
    return done;
}

template <bool kStreaming>
std::size_t DecodeAnyBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t count,
                            Instructions instructions) {
    return HasShuffles(instructions) ? DecodeBlocksShuffled<kStreaming>(in, out, count)
                                     : DecodeBlocks<kStreaming>(in, out, count);
}

template <bool kStreaming>
std::size_t EncodeAnyBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t count,
                            Instructions instructions) {
    return HasShuffles(instructions) ? EncodeBlocksShuffled<kStreaming>(in, out, count)
                                     : EncodeBlocks<kStreaming>(in, out, count);
}

#else

template <bool kStreaming>
std::size_t DecodeAnyBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t count,
                            Instructions) {
    return DecodeBlocks<kStreaming>(in, out, count);
}

template <bool kStreaming>
std::size_t EncodeAnyBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t count,
                            Instructions) {
    return EncodeBlocks<kStreaming>(in, out, count);
}

#endif

#endif

}  // namespace

void Decode(const std::uint8_t* in, PixelTriple* out_cells, std::size_t count, bool streaming,
            Instructions instructions) {
    auto* out = reinterpret_cast<std::uint8_t*>(out_cells);
    std::size_t done = 0;
#if defined(__SSE2__)
    if (streaming) {
        // Pixel by pixel up to the first 16-byte boundary of the output; as 3 and 16
        // have no common factor, one lies within the first 16 pixels.
        for (; done < count && !Aligned(out + 3 * done); ++done)
            DecodeOne(in + 4 * done, out + 3 * done);
        done += DecodeAnyBlocks<true>(in + 4 * done, out + 3 * done, count - done, instructions);
        _mm_sfence();
    } else {
        done = DecodeAnyBlocks<false>(in, out, count, instructions);
    }
#else
    (void)streaming;
    (void)instructions;
#endif
    for (; done < count; ++done) DecodeOne(in + 4 * done, out + 3 * done);
}

void Encode(const PixelTriple* in_cells, std::uint8_t* out, std::size_t count, bool streaming,
            Instructions instructions) {
    const auto* in = reinterpret_cast<const std::uint8_t*>(in_cells);
    std::size_t done = 0;
#if defined(__SSE2__)
    // A pixel is 4 bytes, so an output that starts off a 4-byte boundary never
    // reaches a 16-byte one: that one is written the ordinary way.
    if (streaming && (reinterpret_cast<std::uintptr_t>(out) & 3) == 0) {
        for (; done < count && !Aligned(out + 4 * done); ++done)
            EncodeOne(in + 3 * done, out + 4 * done);
        done += EncodeAnyBlocks<true>(in + 3 * done, out + 4 * done, count - done, instructions);
        _mm_sfence();
    } else {
        done = EncodeAnyBlocks<false>(in, out, count, instructions);
    }
#else
    (void)streaming;
    (void)instructions;
#endif
    for (; done < count; ++done) EncodeOne(in + 3 * done, out + 4 * done);
}

}  // namespace core::rows32
