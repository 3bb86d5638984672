#include "depth/pixel_rows.h"

#include <cstring>

#include "core/vector_clones.h"
#include "platform/streaming.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace depth {

namespace {

bool TrueColour(int bits_per_pixel) {
    return bits_per_pixel == 24 || bits_per_pixel == 32;
}

void SpreadToWord(std::uint8_t grey, std::uint8_t* out) {
    const std::uint32_t v = grey;
    const std::uint32_t word = v | v << 8 | v << 16;
    std::memcpy(out, &word, 4);
}

ZARVIK_VECTOR_CLONES
void SpreadToWords(const std::uint8_t* greys, std::uint8_t* out, std::size_t count) {
    for (std::size_t x = 0; x < count; ++x) SpreadToWord(greys[x], out + 4 * x);
}

// As SpreadToWords, with streaming stores (platform/streaming.h): the map is written
// once and read by the next stage long after it has left the caches.
void StreamWords(const std::uint8_t* greys, std::uint8_t* out, std::size_t count) {
    std::size_t x = 0;
#if defined(__SSE2__)
    for (; x < count && !platform::streaming::Aligned(out + 4 * x); ++x)
        SpreadToWord(greys[x], out + 4 * x);
    const __m128i zero = _mm_setzero_si128();
    for (; x + 16 <= count; x += 16) {
        const __m128i g = _mm_loadu_si128(reinterpret_cast<const __m128i*>(greys + x));
        // (g, g) pairs beside (g, 0) pairs make the words g g g 0.
        const __m128i pairs[2] = {_mm_unpacklo_epi8(g, g), _mm_unpackhi_epi8(g, g)};
        const __m128i tops[2] = {_mm_unpacklo_epi8(g, zero), _mm_unpackhi_epi8(g, zero)};
        auto* to = reinterpret_cast<__m128i*>(out + 4 * x);
        for (int half = 0; half < 2; ++half) {
            _mm_stream_si128(to + 2 * half, _mm_unpacklo_epi16(pairs[half], tops[half]));
            _mm_stream_si128(to + 2 * half + 1, _mm_unpackhi_epi16(pairs[half], tops[half]));
        }
    }
#endif
    for (; x < count; ++x) SpreadToWord(greys[x], out + 4 * x);
}

ZARVIK_VECTOR_CLONES
void SpreadToTriples(const std::uint8_t* greys, std::uint8_t* out, std::size_t count) {
    for (std::size_t x = 0; x < count; ++x) {
        out[3 * x] = greys[x];
        out[3 * x + 1] = greys[x];
        out[3 * x + 2] = greys[x];
    }
}

}  // namespace

PixelRows::PixelRows(platform::PictureSurface& surface) {
    const platform::Bitmap& image = surface.Image();
    if (TrueColour(image.BitsPixel())) {
        bits_per_pixel_ = static_cast<std::int16_t>(image.BitsPixel());
        width_ = image.Width();
        height_ = image.Height();
        pixel_bytes_ = image.BitsPixel() / 8;
        stride_ = static_cast<std::size_t>(image.WidthBytes());
        first_ = image.Bits().data();
        return;
    }
    DDBHelper::GetBitmapPixels(surface, grid_, bits_per_pixel_);
    width_ = grid_.Width();
    height_ = grid_.Height();
    pixel_bytes_ = 3;
    stride_ = static_cast<std::size_t>(width_) * 3;
    // A cell's bytes are Blue, Green, Red, and cells follow each other unpadded.
    first_ = reinterpret_cast<const std::uint8_t*>(grid_.Pixels().data());
}

namespace detail {

bool WritesInPlace(const platform::PictureSurface& surface, std::int16_t bits_per_pixel, int width,
                   int height) {
    const platform::Bitmap& image = surface.Image();
    return TrueColour(bits_per_pixel) && image.BitsPixel() == bits_per_pixel &&
           image.Width() == width && image.Height() == height;
}

void SpreadGreys(std::span<const std::uint8_t> greys, std::uint8_t* out, int pixel_bytes,
                 bool stream) {
    if (pixel_bytes == 4 && stream)
        StreamWords(greys.data(), out, greys.size());
    else if (pixel_bytes == 4)
        SpreadToWords(greys.data(), out, greys.size());
    else
        SpreadToTriples(greys.data(), out, greys.size());
}

void EndStreaming() {
#if defined(__SSE2__)
    _mm_sfence();
#endif
}

}  // namespace detail

}  // namespace depth
