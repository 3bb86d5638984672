#include "stereo/paint_picture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace stereo {

namespace {

// Eight bytes at a time: the OR does not care where pixels begin, so whole words of
// the overlap go through at once and only the tail is done bytewise.
void OrBytes(const std::uint8_t* from, std::uint8_t* to, std::size_t count) {
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t a = 0;
        std::uint64_t b = 0;
        std::memcpy(&a, from + i, 8);
        std::memcpy(&b, to + i, 8);
        b |= a;
        std::memcpy(to + i, &b, 8);
    }
    for (; i < count; ++i) to[i] = static_cast<std::uint8_t>(to[i] | from[i]);
}

}  // namespace

void PaintPictureOr(const platform::PictureSurface& source, platform::PictureSurface& destination) {
    // Copied first: when both surfaces share their bits, unsharing the destination
    // must not leave the source looking at the changed bytes.
    const platform::Bitmap from = source.Image();
    platform::Bitmap& to = destination.MutableImage();
    if (from.BitsPixel() != to.BitsPixel()) return;

    const int rows = std::min(from.Height(), to.Height());
    const auto bytes = static_cast<std::size_t>(
        static_cast<std::int64_t>(std::min(from.Width(), to.Width())) * from.BitsPixel() / 8);
    if (rows > 0 && bytes > 0) {
        const auto in = from.Bits();
        const auto out = to.MutableBits();
        const auto in_stride = static_cast<std::size_t>(from.WidthBytes());
        const auto out_stride = static_cast<std::size_t>(to.WidthBytes());
        for (int y = 0; y < rows; ++y) {
            const auto row = static_cast<std::size_t>(y);
            OrBytes(in.data() + in_stride * row, out.data() + out_stride * row, bytes);
        }
    }
    destination.Refresh();
}

}  // namespace stereo
