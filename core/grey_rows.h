#pragma once
// Grey rows: a depth map's rows normally hold the same value in all three bytes of
// every pixel, and a stage that reads one channel and writes a value to all three can
// then work on every byte alike, as a plain loop over bytes that vectorises, instead
// of gathering one byte of each pixel and spreading a result over three.
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/pixel_grid.h"

namespace core {

// Whether every cell of the run has Blue == Green == Red. Inline, so that it is
// compiled, and vectorised, with the stage that asks.
inline bool RowIsGrey(const PixelTriple* cells, int count) {
    if (count <= 0) return true;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(cells);
    const std::size_t size = static_cast<std::size_t>(count) * sizeof(PixelTriple);
    // Each byte is compared with the next one, except the last byte of a pixel (Red),
    // whose next byte belongs to the following pixel; 48 bytes are 16 whole pixels.
    constexpr std::array<std::uint8_t, 48> kWithinPixel = [] {
        std::array<std::uint8_t, 48> within{};
        for (std::size_t j = 0; j < within.size(); ++j) within[j] = j % 3 == 2 ? 0 : 0xFF;
        return within;
    }();
    std::uint8_t differs = 0;
    std::size_t i = 0;
    for (; i + kWithinPixel.size() < size; i += kWithinPixel.size())
        for (std::size_t j = 0; j < kWithinPixel.size(); ++j)
            differs |=
                static_cast<std::uint8_t>((bytes[i + j] ^ bytes[i + j + 1]) & kWithinPixel[j]);
    for (; i + 1 < size; ++i)
        if (i % 3 != 2) differs |= static_cast<std::uint8_t>(bytes[i] ^ bytes[i + 1]);
    return differs == 0;
}

}  // namespace core
