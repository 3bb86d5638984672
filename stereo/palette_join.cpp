#include "stereo/palette_join.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/ddb_helper.h"
#include "core/row_blocks.h"
#include "platform/nearest_entries.h"

namespace stereo {

namespace {

using Colours = std::array<std::uint32_t, 256>;

// Each index's colour as the bridge reads it (an index past the palette's entries
// reads black), red in the low byte.
Colours ColoursOf(const platform::PictureSurface& surface) {
    platform::PaletteTable table{};
    DDBHelper::IndexPalette(surface).GetPaletteEntries(0, 256, table);
    Colours colours{};
    for (std::size_t i = 0; i < colours.size(); ++i)
        colours[i] = platform::RGB(table[i].peRed, table[i].peGreen, table[i].peBlue);
    return colours;
}

// The joined index of every pair, destination index first: 64 K entries, found once
// per join rather than once per pixel, as a picture has millions of pixels and at most
// this many pairs.
std::vector<std::uint8_t> JoinedIndices(const platform::PictureSurface& source,
                                        const platform::PictureSurface& destination) {
    const Colours from = ColoursOf(source);
    const Colours onto = ColoursOf(destination);
    const auto nearest =
        platform::NearestEntries::For(DDBHelper::IndexPalette(destination).Entries());
    std::vector<std::uint8_t> joined(256 * 256);
    core::ParallelRows(0, 256, [&](int a) {
        for (std::size_t b = 0; b < 256; ++b)
            joined[static_cast<std::size_t>(a) * 256 + b] =
                static_cast<std::uint8_t>(nearest->Of(onto[static_cast<std::size_t>(a)] | from[b]));
    });
    return joined;
}

}  // namespace

void JoinPaletteMasks(const platform::PictureSurface& source,
                      platform::PictureSurface& destination) {
    // Copied first: when both surfaces share their bits, the destination's new bytes
    // must not reach the source.
    const platform::Bitmap from = source.Image();
    if (from.BitsPixel() != 8 || destination.Image().BitsPixel() != 8) return;
    const int rows = std::min(from.Height(), destination.Image().Height());
    const int columns = std::min(from.Width(), destination.Image().Width());
    if (rows > 0 && columns > 0 && !DDBHelper::IndexPalette(destination).Entries().empty()) {
        const std::vector<std::uint8_t> joined = JoinedIndices(source, destination);
        platform::Bitmap& to = destination.MutableImage();
        const auto in = from.Bits();
        const auto out = to.MutableBits();
        const auto in_stride = static_cast<std::size_t>(from.WidthBytes());
        const auto stride = static_cast<std::size_t>(to.WidthBytes());
        core::ParallelRows(0, rows, [&](int y) {
            const std::uint8_t* a = in.data() + in_stride * static_cast<std::size_t>(y);
            std::uint8_t* b = out.data() + stride * static_cast<std::size_t>(y);
            for (int x = 0; x < columns; ++x) b[x] = joined[std::size_t{b[x]} << 8 | a[x]];
        });
    }
    destination.Refresh();
}

}  // namespace stereo
