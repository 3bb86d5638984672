#include "stereo/joined_row.h"

#include "core/vector_clones.h"
#include "stereo/channel_bytes.h"

namespace stereo {

namespace {

[[gnu::always_inline]] inline std::uint8_t JoinedByte(std::uint8_t red_from, std::uint8_t cyan_from,
                                                      std::size_t j) {
    return static_cast<std::uint8_t>((DimByte(red_from) & kRedKept[j]) |
                                     (DimByte(cyan_from) & kCyanKept[j]));
}

}  // namespace

// 32 pixels, a whole number of vectors, at a time, as the masks run; the rest one by one.
ZARVIK_VECTOR_CLONES void JoinRow(const core::PixelTriple* red_from,
                                  const core::PixelTriple* cyan_from, core::PixelTriple* out,
                                  int width) {
    const auto* red = reinterpret_cast<const std::uint8_t*>(red_from);
    const auto* cyan = reinterpret_cast<const std::uint8_t*>(cyan_from);
    auto* joined = reinterpret_cast<std::uint8_t*>(out);
    const std::size_t count = static_cast<std::size_t>(width) * sizeof(core::PixelTriple);
    std::size_t i = 0;
    for (; i + kRedKept.size() <= count; i += kRedKept.size())
        for (std::size_t j = 0; j < kRedKept.size(); ++j)
            joined[i + j] = JoinedByte(red[i + j], cyan[i + j], j);
    for (std::size_t j = 0; i < count; ++i, ++j) joined[i] = JoinedByte(red[i], cyan[i], j);
}

}  // namespace stereo
