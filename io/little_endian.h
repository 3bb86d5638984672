#pragma once
// Reading the little-endian fields of picture file headers.
#include <cstddef>
#include <cstdint>
#include <span>

namespace pictureio {

inline std::uint32_t Little16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8));
}

inline std::uint32_t Little32(std::span<const std::uint8_t> b, std::size_t at) {
    return Little16(b, at) | (Little16(b, at + 2) << 16);
}

}  // namespace pictureio
