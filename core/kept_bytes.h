#pragma once
// Which bytes of a run of pixels a row loop keeps (0xFF) or clears (0), Blue, Green and
// Red first in each pixel as the bitmaps store them: a run of whole vectors, so that a
// loop over it vectorises.
#include <array>
#include <cstddef>
#include <cstdint>

namespace core {

template <std::size_t Pixels, std::size_t BytesPerPixel>
using KeptRun = std::array<std::uint8_t, Pixels * BytesPerPixel>;

// Bytes past the third of a pixel (the 32-bit pixel's fourth, which the bridge writes
// as 0) are cleared.
template <std::size_t Pixels, std::size_t BytesPerPixel>
constexpr KeptRun<Pixels, BytesPerPixel> KeptRunOf(bool blue, bool green, bool red) {
    static_assert(BytesPerPixel >= 3);
    KeptRun<Pixels, BytesPerPixel> kept{};
    for (std::size_t j = 0; j < kept.size(); j += BytesPerPixel) {
        kept[j] = blue ? 0xFF : 0;
        kept[j + 1] = green ? 0xFF : 0;
        kept[j + 2] = red ? 0xFF : 0;
    }
    return kept;
}

// The `count` bytes from `in` through `map` into `out` (which may be `in`), then kept or
// cleared as `kept` says: a whole run at a time, and the last few bytes one by one.
template <std::size_t Size, class Map>
[[gnu::always_inline]] inline void MapKeptBytes(const std::uint8_t* in, std::uint8_t* out,
                                                std::size_t count,
                                                const std::array<std::uint8_t, Size>& kept,
                                                const Map& map) {
    std::size_t i = 0;
    for (; i + Size <= count; i += Size)
        for (std::size_t j = 0; j < Size; ++j)
            out[i + j] = static_cast<std::uint8_t>(map(in[i + j]) & kept[j]);
    for (std::size_t j = 0; i < count; ++i, ++j)
        out[i] = static_cast<std::uint8_t>(map(in[i]) & kept[j]);
}

}  // namespace core
