#include "stereo/paint_picture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/streaming.h"

namespace stereo {

using platform::streaming::OrBytes;

void PaintPictureOr(const platform::PictureSurface& source, platform::PictureSurface& destination) {
    // Copied first: when both surfaces share their bits, the destination's new bytes
    // must not reach the source.
    const platform::Bitmap from = source.Image();
    platform::Bitmap& to = destination.MutableImage();
    if (from.BitsPixel() != to.BitsPixel()) return;

    const int rows = std::min(from.Height(), to.Height());
    const auto bytes = static_cast<std::size_t>(
        static_cast<std::int64_t>(std::min(from.Width(), to.Width())) * from.BitsPixel() / 8);
    if (rows > 0 && bytes > 0 && !to.SharesBits()) {
        // Nobody else holds the destination's bytes: ORed where they are.
        const auto in = from.Bits();
        const auto out = to.MutableBits();
        const auto in_stride = static_cast<std::size_t>(from.WidthBytes());
        const auto stride = static_cast<std::size_t>(to.WidthBytes());
        for (int y = 0; y < rows; ++y)
            OrBytes(in.data() + in_stride * static_cast<std::size_t>(y),
                    out.data() + stride * static_cast<std::size_t>(y),
                    out.data() + stride * static_cast<std::size_t>(y), bytes, false);
    } else if (rows > 0 && bytes > 0) {
        // Out of place: the destination's image usually shares its bytes with another
        // surface (PicFinal with PicRed), and unsharing them would copy the whole
        // bitmap only for the OR to overwrite it. The old bytes stay readable in
        // `before` while the new ones are written.
        const platform::Bitmap before = to;
        const auto in = from.Bits();
        const auto old_bits = before.Bits();
        const auto out = to.BitsForOverwrite();
        const auto in_stride = static_cast<std::size_t>(from.WidthBytes());
        const auto stride = static_cast<std::size_t>(to.WidthBytes());
        if (in_stride == bytes && stride == bytes && rows == to.Height()) {
            // Same shape and no row padding: one run over the whole bitmap.
            OrBytes(in.data(), old_bits.data(), out.data(), out.size(),
                    platform::streaming::Worthwhile(out.size()));
            destination.Refresh();
            return;
        }
        for (int y = 0; y < to.Height(); ++y) {
            const std::size_t at = stride * static_cast<std::size_t>(y);
            const std::size_t ored = y < rows ? bytes : 0;
            if (ored > 0)
                OrBytes(in.data() + in_stride * static_cast<std::size_t>(y), old_bits.data() + at,
                        out.data() + at, ored, false);
            // The rest of the row (columns outside the source, padding) as it was.
            if (stride > ored)
                std::memcpy(out.data() + at + ored, old_bits.data() + at + ored, stride - ored);
        }
    }
    destination.Refresh();
}

}  // namespace stereo
