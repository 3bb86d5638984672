#pragma once
// One pixel value of a bitmap row, little endian, for a pixel size known at compile
// time (the display's own Display::LoadPixel and StorePixel, inlined for row loops).
#include <cstdint>

namespace depth {

template <int kBytes>
std::uint32_t LoadPixel(const std::uint8_t* p) {
    std::uint32_t v = 0;
    for (int i = kBytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

template <int kBytes>
void StorePixel(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < kBytes; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Calls walk.template operator()<kBytes>() for the display's pixel size (1 to 4).
template <class Walk>
auto WithPixelBytes(int bytes_per_pixel, Walk&& walk) {
    switch (bytes_per_pixel) {
        case 1:
            return walk.template operator()<1>();
        case 2:
            return walk.template operator()<2>();
        case 3:
            return walk.template operator()<3>();
        default:
            return walk.template operator()<4>();
    }
}

}  // namespace depth
