#include "core/ddb_helper.h"

#include "core/row_blocks.h"
#include "core/rows32.h"
#include "platform/nearest_entries.h"
#include "platform/streaming.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace DDBHelper {

namespace {

using core::PixelGrid;
using core::PixelTriple;
using platform::PaletteEntry;
using platform::PaletteTable;

// Whole-picture runs are cut into parts of this many pixels for the cores: a multiple
// of every vector width, and long enough that starting a part costs nothing.
constexpr std::size_t kPixelsPerPart = std::size_t{1} << 16;

int BytesPerLine(int width, int bits_per_pixel) {
    switch (bits_per_pixel) {
        case 8:
            return width;
        case 15:
        case 16:
            return 2 * width;
        case 24:
            return 3 * width;
        case 32:
            return 4 * width;
        default:
            return -1;
    }
}

void RaiseInvalidDepth(const char* operation, int bits_per_pixel) {
    core::RaiseError(kInvalidDepthError, std::string("DDBHelper.") + operation,
                     "Invalid number of bits per pixel: " + std::to_string(bits_per_pixel));
}

// Tells 5-5-5 from 5-6-5: white has bit 15 set only in the 5-6-5 layout. The
// probed pixel gets its colour back afterwards.
std::int16_t ProbeSixteenBitLayout(platform::PictureSurface& surface) {
    const platform::Rgb former = surface.Point(surface.ScaleLeft(), surface.ScaleTop());
    surface.PSet(surface.ScaleLeft(), surface.ScaleTop(), platform::RGB(255, 255, 255));
    std::array<std::uint8_t, 2> word{};
    surface.Image().GetBitmapBits(word);
    surface.PSet(surface.ScaleLeft(), surface.ScaleTop(), former);
    return (word[1] & 0x80) ? 16 : 15;
}

// An index's pixel as four bytes, Blue, Green, Red and one spare: a row of indices is
// decoded with one store a pixel, each pixel's spare byte overwritten by the next.
using IndexQuads = std::array<std::array<std::uint8_t, 4>, 256>;

IndexQuads PictureColors(const platform::PictureSurface& surface) {
    PaletteTable table{};
    IndexPalette(surface).GetPaletteEntries(0, 256, table);
    IndexQuads quads{};
    for (std::size_t i = 0; i < quads.size(); ++i)
        quads[i] = {table[i].peBlue, table[i].peGreen, table[i].peRed, 0};
    return quads;
}

// One row of `bytes` (in the given format) into one grid row.
void DecodeRow(const std::uint8_t* in, PixelTriple* out, int width, int bits_per_pixel,
               const IndexQuads& colors) {
    switch (bits_per_pixel) {
        case 8: {
            auto* bytes = reinterpret_cast<std::uint8_t*>(out);
            for (int x = 0; x + 1 < width; ++x)
                std::memcpy(bytes + 3 * static_cast<std::size_t>(x), colors[in[x]].data(), 4);
            if (width > 0)
                std::memcpy(bytes + 3 * static_cast<std::size_t>(width - 1),
                            colors[in[width - 1]].data(), 3);
            break;
        }
        case 15:
            for (int x = 0; x < width; ++x) {
                const unsigned w = in[2 * x] | (in[2 * x + 1] << 8);
                // bit 15 is not a field in 5-5-5, but it lands in Red as the division does
                out[x] = {static_cast<std::uint8_t>(w & 31),
                          static_cast<std::uint8_t>((w >> 5) & 31),
                          static_cast<std::uint8_t>(w >> 10)};
            }
            break;
        case 16:
            for (int x = 0; x < width; ++x) {
                const unsigned w = in[2 * x] | (in[2 * x + 1] << 8);
                out[x] = {static_cast<std::uint8_t>(w & 31),
                          static_cast<std::uint8_t>((w >> 5) & 63),
                          static_cast<std::uint8_t>(w >> 11)};
            }
            break;
        case 24:  // same byte order as the grid: one block per row
            if (width > 0) std::memcpy(out, in, static_cast<std::size_t>(width) * 3);
            break;
        case 32:
            core::rows32::Decode(in, out, static_cast<std::size_t>(width), false);
            break;
        default:
            break;
    }
}

// 5-5-5 or 5-6-5 words, little endian. A channel too large for its field is clamped
// in the grid as well, which is what the caller reads back.
template <unsigned kGreenMax>
void EncodeWords(PixelTriple* in, std::uint8_t* out, int width) {
    for (int x = 0; x < width; ++x) {
        PixelTriple& p = in[x];
        p.Red = std::min<std::uint8_t>(p.Red, 31);
        p.Green = std::min<std::uint8_t>(p.Green, kGreenMax);
        p.Blue = std::min<std::uint8_t>(p.Blue, 31);
        const unsigned w = p.Blue + 32u * (p.Green + (kGreenMax + 1u) * p.Red);
        out[2 * x] = static_cast<std::uint8_t>(w & 0xFF);
        out[2 * x + 1] = static_cast<std::uint8_t>(w >> 8);
    }
}

// One grid row into one row of bytes; `out` must be zero where it is not written.
void EncodeRow(PixelTriple* in, std::uint8_t* out, int width, int bits_per_pixel,
               platform::NearestMemo* memo) {
    switch (bits_per_pixel) {
        case 8: {  // low byte of the nearest index
            for (int x = 0; x < width; ++x)
                out[x] =
                    static_cast<std::uint8_t>(memo->Of(static_cast<std::uint32_t>(platform::RGB(
                                                  in[x].Red, in[x].Green, in[x].Blue))) &
                                              0xFF);
            break;
        }
        case 15:
            EncodeWords<31>(in, out, width);
            break;
        case 16:
            EncodeWords<63>(in, out, width);
            break;
        case 24:
            if (width > 0) std::memcpy(out, in, static_cast<std::size_t>(width) * 3);
            break;
        case 32:
            core::rows32::Encode(in, out, static_cast<std::size_t>(width), false);
            break;
        default:
            break;
    }
}

// The calling thread's memo; none when the surface has no palette.
platform::NearestMemo* MemoOfThread(std::vector<platform::NearestMemo>& memos) {
    return memos.empty() ? nullptr : &memos[static_cast<std::size_t>(core::ThreadIndex())];
}

}  // namespace

platform::Palette IndexPalette(const platform::PictureSurface& surface) {
    const platform::Picture* picture = surface.GetPicture();
    if (picture && picture->palette) return *picture->palette;
    return platform::Palette(surface.GetDisplay().SystemPalette());
}

void GetBitmapPixels(platform::PictureSurface& surface, PixelGrid& grid,
                     std::int16_t& bits_per_pixel) {
    const platform::BitmapHeader header = surface.Image().GetObject();
    bits_per_pixel = header.bmBitsPixel;
    if (bits_per_pixel == 16) bits_per_pixel = ProbeSixteenBitLayout(surface);

    const bool supported = BytesPerLine(1, bits_per_pixel) > 0;
    if (!supported) RaiseInvalidDepth("GetBitmapPixels", bits_per_pixel);

    const int width = header.bmWidth;
    const int height = header.bmHeight;
    if (!supported) {
        grid.Resize(width, height);
        return;
    }
    IndexQuads colors{};
    if (bits_per_pixel == 8) {
        MatchColorPalette(surface);
        colors = PictureColors(surface);
    }
    // Every byte of the grid is decoded below, so clearing it first would be wasted.
    grid.ResizeForOverwrite(width, height);
    // The image's own bytes are the one-block read: decoding straight from them saves
    // copying the whole bitmap into a buffer first.
    const auto bits = surface.Image().Bits();
    const auto stride = static_cast<std::size_t>(header.bmWidthBytes);
    if (bits_per_pixel == 32 && stride == 4 * static_cast<std::size_t>(width)) {
        // No row padding on either side: the whole picture is one run.
        const std::size_t count = grid.Pixels().size();
        const bool stream = platform::streaming::Worthwhile(count * sizeof(PixelTriple));
        core::ParallelParts(count, kPixelsPerPart, [&](std::size_t first, std::size_t n) {
            core::rows32::Decode(bits.data() + 4 * first, grid.Pixels().data() + first, n, stream);
        });
        return;
    }
    core::ParallelRows(0, height, [&](int y) {
        DecodeRow(bits.data() + stride * static_cast<std::size_t>(y), grid.Row(y).data(), width,
                  bits_per_pixel, colors);
    });
}

void SetBitmapPixels(platform::PictureSurface& surface, std::int16_t bits_per_pixel,
                     PixelGrid& grid) {
    const int width = grid.Width();
    const int height = grid.Height();
    int bytes_per_line = BytesPerLine(width, bits_per_pixel);
    if (bytes_per_line < 0) {
        RaiseInvalidDepth("SetBitmapPixels", bits_per_pixel);
        surface.Refresh();
        return;
    }
    if (bytes_per_line % 2) ++bytes_per_line;

    // Nearest entries of the picture's palette: the same answers as a search of the
    // palette for each pixel, found in the few entries that can be nearest.
    const std::shared_ptr<const platform::NearestEntries> nearest =
        bits_per_pixel == 8 ? platform::NearestEntries::For(IndexPalette(surface).Entries())
                            : nullptr;
    std::vector<platform::NearestMemo> memos;
    if (nearest)
        memos.assign(static_cast<std::size_t>(core::ThreadCount()),
                     platform::NearestMemo(*nearest));
    platform::Bitmap& image = surface.MutableImage();
    const auto stride = static_cast<std::size_t>(bytes_per_line);
    if (image.WidthBytes() == bytes_per_line && image.Height() == height) {
        // Same rows as the buffer would have: encode in place of the block write.
        auto bits = image.BitsForOverwrite();
        if (bits_per_pixel == 32) {
            // No padding at 32 bits (the stride is 4 x width): one run for the picture.
            const std::size_t count = grid.Pixels().size();
            const bool stream = platform::streaming::Worthwhile(count * 4);
            core::ParallelParts(count, kPixelsPerPart, [&](std::size_t first, std::size_t n) {
                core::rows32::Encode(grid.Pixels().data() + first, bits.data() + 4 * first, n,
                                     stream);
            });
            surface.Refresh();
            return;
        }
        core::ParallelRows(0, height, [&](int y) {
            std::uint8_t* row = bits.data() + stride * static_cast<std::size_t>(y);
            if (stride > 0) row[stride - 1] = 0;  // the padding byte, as the zeroed buffer has it
            EncodeRow(grid.Row(y).data(), row, width, bits_per_pixel, MemoOfThread(memos));
        });
    } else {
        std::vector<std::uint8_t> buffer(stride * static_cast<std::size_t>(height));
        core::ParallelRows(0, height, [&](int y) {
            EncodeRow(grid.Row(y).data(), buffer.data() + stride * static_cast<std::size_t>(y),
                      width, bits_per_pixel, MemoOfThread(memos));
        });
        image.SetBitmapBits(buffer);
    }
    surface.Refresh();
}

void MatchColorPalette(platform::PictureSurface& surface) {
    surface.ZOrder();
    const platform::Display& display = surface.GetDisplay();
    display.DoEvents();  // realizing the palette lets the window system catch up

    const int size = display.GetDeviceCaps(platform::SIZEPALETTE);
    const int reserved = display.GetDeviceCaps(platform::NUMRESERVED);
    const int last_low_static = reserved / 2 - 1;
    const int first_high_static = size - reserved / 2;

    PaletteTable system{};
    display.GetSystemPaletteEntries(0, size, system);

    platform::Picture* picture = surface.MutablePicture();
    platform::Palette* palette = picture && picture->palette ? &*picture->palette : nullptr;
    if (!palette || !palette->ResizePalette(size)) {
        core::RaiseError(kPaletteError, "DDBHelper.MatchColorPalette",
                         "Error matching bitmap palette");
    }

    auto in_table = [](int i) { return i >= 0 && i < platform::kMaxPaletteEntries; };
    PaletteTable logical{};
    for (int i = 0; i <= last_low_static; ++i)
        if (in_table(i)) logical[static_cast<std::size_t>(i)] = system[static_cast<std::size_t>(i)];
    for (int i = last_low_static + 1; i <= first_high_static - 1; ++i)
        if (in_table(i)) logical[static_cast<std::size_t>(i)] = {0, 0, 0, platform::PC_NOCOLLAPSE};
    for (int i = first_high_static; i <= 255; ++i)
        if (in_table(i)) logical[static_cast<std::size_t>(i)] = system[static_cast<std::size_t>(i)];
    if (palette) palette->SetPaletteEntries(0, size, logical);

    for (int i = last_low_static + 1; i <= first_high_static - 1; ++i) {
        if (!in_table(i)) continue;
        logical[static_cast<std::size_t>(i)] = system[static_cast<std::size_t>(i)];
        logical[static_cast<std::size_t>(i)].peFlags = platform::PC_NOCOLLAPSE;
    }
    const int run_start = std::clamp(last_low_static + 1, 0, 255);
    const int run_length = first_high_static - last_low_static - 1;
    if (palette && run_length > 0)
        palette->SetPaletteEntries(
            run_start, run_length,
            std::span<const PaletteEntry>(logical).subspan(static_cast<std::size_t>(run_start)));
}

}  // namespace DDBHelper
