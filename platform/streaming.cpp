#include "platform/streaming.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform::streaming {

namespace {

constexpr std::size_t kWorthwhileBytes = std::size_t{16} << 20;

void OrOne(const std::uint8_t* from, const std::uint8_t* onto, std::uint8_t* to) {
    *to = static_cast<std::uint8_t>(*onto | *from);
}

}  // namespace

bool Worthwhile(std::size_t bytes_written) {
    return bytes_written >= kWorthwhileBytes;
}

void OrBytes(const std::uint8_t* from, const std::uint8_t* onto, std::uint8_t* to,
             std::size_t count, bool stream) {
    std::size_t i = 0;
#if defined(__SSE2__)
    if (stream) {
        for (; i < count && !Aligned(to + i); ++i) OrOne(from + i, onto + i, to + i);
        for (; i + 16 <= count; i += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(onto + i));
            _mm_stream_si128(reinterpret_cast<__m128i*>(to + i), _mm_or_si128(a, b));
        }
        _mm_sfence();
    }
#else
    (void)stream;
#endif
    // Eight bytes at a time: the OR does not care where pixels begin.
    for (; i + 8 <= count; i += 8) {
        std::uint64_t a = 0;
        std::uint64_t b = 0;
        std::memcpy(&a, from + i, 8);
        std::memcpy(&b, onto + i, 8);
        b |= a;
        std::memcpy(to + i, &b, 8);
    }
    for (; i < count; ++i) OrOne(from + i, onto + i, to + i);
}

void FillWords(std::uint8_t* to, std::size_t count, std::uint32_t word, bool stream) {
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8),
        static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 24)};
    std::size_t i = 0;
#if defined(__SSE2__)
    // Only an output on a 4-byte boundary ever reaches a 16-byte one word by word.
    if (stream && (reinterpret_cast<std::uintptr_t>(to) & 3) == 0) {
        for (; i < count && !Aligned(to + 4 * i); ++i) std::memcpy(to + 4 * i, bytes, 4);
        const __m128i words = _mm_set1_epi32(static_cast<int>(word));
        for (; i + 4 <= count; i += 4)
            _mm_stream_si128(reinterpret_cast<__m128i*>(to + 4 * i), words);
        _mm_sfence();
    }
#else
    (void)stream;
#endif
    for (; i < count; ++i) std::memcpy(to + 4 * i, bytes, 4);
}

}  // namespace platform::streaming
