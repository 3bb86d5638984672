#include "stereo/channel_masks.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/ddb_helper.h"
#include "core/pixel_grid.h"
#include "core/row_blocks.h"
#include "core/vector_clones.h"

namespace stereo {

namespace {

using core::PixelGrid;
using core::PixelTriple;

// DimChannel in 16-bit lanes: (99 c + 50) / 100, the division a multiply by
// 41944 / 2^22, exact for every sum up to 99 x 255 + 50. Equal to DimChannel for
// every byte, which the tests check one by one.
constexpr std::uint8_t DimByte(std::uint8_t c) {
    const auto sum = static_cast<std::uint16_t>(99 * c + 50);
    const auto high = static_cast<std::uint16_t>((static_cast<std::uint32_t>(sum) * 41944u) >> 16);
    return static_cast<std::uint8_t>(high >> 6);
}

// Byte j of a run of 32 pixels is kept (0xFF) or cleared (0) by a mask.
using KeptBytes = std::array<std::uint8_t, 96>;

constexpr KeptBytes Kept(bool blue, bool green, bool red) {
    KeptBytes kept{};
    for (std::size_t j = 0; j < kept.size(); j += 3) {
        kept[j] = blue ? 0xFF : 0;
        kept[j + 1] = green ? 0xFF : 0;
        kept[j + 2] = red ? 0xFF : 0;
    }
    return kept;
}

// Every byte dimmed, then the dropped channels cleared: 32 pixels, a whole number of
// vectors, at a time, so that the loop vectorises; the last few bytes one by one.
[[gnu::always_inline]] inline void MaskBytes(PixelTriple* row, int width, const KeptBytes& kept) {
    auto* bytes = reinterpret_cast<std::uint8_t*>(row);
    const std::size_t count = static_cast<std::size_t>(width) * sizeof(PixelTriple);
    std::size_t i = 0;
    for (; i + kept.size() <= count; i += kept.size())
        for (std::size_t j = 0; j < kept.size(); ++j)
            bytes[i + j] = static_cast<std::uint8_t>(DimByte(bytes[i + j]) & kept[j]);
    for (std::size_t j = 0; i < count; ++i, ++j)
        bytes[i] = static_cast<std::uint8_t>(DimByte(bytes[i]) & kept[j]);
}

constexpr KeptBytes kRedKept = Kept(false, false, true);
constexpr KeptBytes kCyanKept = Kept(true, true, false);

// Compiled for wider vectors too (see core/vector_clones.h).
ZARVIK_VECTOR_CLONES void RedOnlyRow(PixelTriple* row, int width) {
    MaskBytes(row, width, kRedKept);
}
ZARVIK_VECTOR_CLONES void CyanOnlyRow(PixelTriple* row, int width) {
    MaskBytes(row, width, kCyanKept);
}

using MaskRow = void (*)(PixelTriple*, int);

void MakeMask(core::StageContext& context, platform::PictureSurface& source,
              platform::PictureSurface& destination, MaskRow mask_row) {
    PixelGrid grid;
    std::int16_t bits = 0;
    DDBHelper::GetBitmapPixels(source, grid, bits);
    // A view nobody takes back is let go once read; the picture itself stays, as it
    // becomes the anaglyph's surface.
    if (&source != &context.surfaces.picOriginal) core::LetGoUnlessKept(context, source);

    const bool done = core::PolledRows(context, source.ScaleHeight(), [&](int y) {
        if (y < grid.Height())
            mask_row(grid.Row(y).data(), std::min(source.ScaleWidth(), grid.Width()));
    });
    if (!done) return;

    DDBHelper::SetBitmapPixels(destination, bits, grid);
    destination.AssignImageToPicture();
}

}  // namespace

std::uint8_t DimChannel(std::uint8_t c) {
    const float f = -1.0f / 100.0f;
    const float gain = 1.0f + f;
    // The gain is the single-precision 0.99000001; the product is formed exactly (a
    // byte times a 24-bit mantissa fits a double). Rounding the product to single
    // precision first would turn 150 x gain = 148.5000014 into 148.5 and then 148.
    const double product = static_cast<double>(c) * static_cast<double>(gain);
    return static_cast<std::uint8_t>(std::nearbyint(product));
}

void MakeRedOnly(core::StageContext& context, platform::PictureSurface& source,
                 platform::PictureSurface& destination) {
    MakeMask(context, source, destination, RedOnlyRow);
}

void MakeCyanOnly(core::StageContext& context, platform::PictureSurface& source,
                  platform::PictureSurface& destination) {
    MakeMask(context, source, destination, CyanOnlyRow);
}

}  // namespace stereo
