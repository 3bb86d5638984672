#pragma once
// Stages on an ordinary desktop, where every surface holds a 32-bit image. A stage
// that makes each pixel of a new image from the pixel at the same place of another
// reads and writes the two images row by row: through the bridge, every pixel would
// pass through a grid of three-byte cells and back, two more passes over the picture
// and a whole grid of memory, for the same bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "core/kept_bytes.h"
#include "core/row_blocks.h"
#include "core/stage_context.h"
#include "platform/bitmap.h"
#include "platform/picture_surface.h"

namespace core {

// A 32-bit image of `width` x `height` with no padding between its rows.
inline bool Plain32(const platform::Bitmap& image, int width, int height) {
    return image.BitsPixel() == 32 && image.Width() == width && image.Height() == height &&
           image.WidthBytes() == 4 * static_cast<std::int64_t>(width);
}

inline bool Plain32(const platform::Bitmap& image) {
    return Plain32(image, image.Width(), image.Height());
}

// Byte j of a run of eight 32-bit pixels kept (0xFF) or cleared (0) by a row loop.
using KeptBytes32 = KeptRun<8, 4>;

constexpr KeptBytes32 Kept32(bool blue, bool green, bool red) {
    return KeptRunOf<8, 4>(blue, green, red);
}

// Blue, Green and Red; the fourth byte, which the bridge writes as 0, cleared.
inline constexpr KeptBytes32 kColourKept32 = Kept32(true, true, true);

// Every byte of a 32-bit row of `width` pixels through `map`, then kept or cleared as
// `kept` says, eight pixels at a time.
template <class Map>
[[gnu::always_inline]] inline void MapBytes32(const std::uint8_t* in, std::uint8_t* out,
                                              std::size_t width, const KeptBytes32& kept,
                                              const Map& map) {
    MapKeptBytes(in, out, 4 * width, kept, map);
}

// A new image of `source`'s size whose row y `row(source's row y, the new row y,
// width)` writes whole, made over the cores and polled as the stage's rows. None: the
// run was cancelled. `source` must be Plain32.
template <class Row>
std::optional<platform::Bitmap> MapPlain32Rows(StageContext& context,
                                               const platform::Bitmap& source, const Row& row) {
    platform::Bitmap made = platform::Bitmap::Uncleared(source.Width(), source.Height(), 32);
    const auto in = source.Bits();
    const auto out = made.BitsForOverwrite();
    const auto width = static_cast<std::size_t>(source.Width());
    const bool done = PolledRows(context, source.Height(), [&](int y) {
        const std::size_t at = 4 * width * static_cast<std::size_t>(y);
        row(in.data() + at, out.data() + at, width);
    });
    if (!done) return std::nullopt;
    return made;
}

// The surface takes `image` as a grid written into it would leave it, and repaints.
inline void ShowMadeImage(platform::PictureSurface& surface, platform::Bitmap image) {
    surface.ReplaceImage(std::move(image));
    surface.Refresh();
}

}  // namespace core
