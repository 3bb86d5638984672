#include "depth/centre_depth.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "core/ddb_helper.h"
#include "core/grey_rows.h"
#include "core/plain32_rows.h"
#include "core/row_blocks.h"
#include "core/vector_clones.h"
#include "depth/grid_rows.h"

namespace depth {

namespace {

// The values that occur in the map. Counting them is needed only to ask whether a
// value's count is above 0, so the lowest and the highest byte seen say as much.
struct ValueRange {
    int lowest = 256;
    int highest = -1;
};

void Widen(ValueRange& range, std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return;
    std::uint8_t lowest = 255;
    std::uint8_t highest = 0;
    for (const std::uint8_t b : bytes) {
        lowest = std::min(lowest, b);
        highest = std::max(highest, b);
    }
    range.lowest = std::min<int>(range.lowest, lowest);
    range.highest = std::max<int>(range.highest, highest);
}

// lo: the first value from 0 up that occurs, 255 if none; hi: the first from 255 down,
// 0 if none. Each value the scans pass over yields once, as the scans always have.
int ScanUpForLowest(const ValueRange& range, core::Progress& progress) {
    for (int v = 0; v <= 255; ++v) {
        if (v >= range.lowest) return v;
        progress.Yield();
    }
    return 255;
}

int ScanDownForHighest(const ValueRange& range, core::Progress& progress) {
    for (int v = 255; v >= 0; --v) {
        if (v <= range.highest) return v;
        progress.Yield();
    }
    return 0;
}

// New value of a Red byte: round((red - mid) x gain) + 127 with the product in single
// precision, clamped to a byte. Both factors are whole numbers and the product stays
// below 2^24 in size (255 x 32768), so single precision holds it exactly, rounding
// leaves it alone, and integer arithmetic gives the same value; that lets the row loop
// vectorise where a table lookup would not.
//
// It runs in 16-bit lanes. A product of 129 or more in size is clamped to 0 or 255 by
// its sign alone, so each factor may be brought into -129..129 first: a factor that
// this changes keeps its sign and leaves the product at least 129 in size, and the
// product of two such factors stays within 16 bits.
[[gnu::always_inline]] inline auto CentredByte(int mid, int gain) {
    constexpr int kSaturating = 129;
    const auto g = static_cast<std::int16_t>(std::clamp(gain, -kSaturating, kSaturating));
    const auto m = static_cast<std::int16_t>(mid);
    return [g, m](std::uint8_t red) {
        const auto d =
            std::clamp<std::int16_t>(static_cast<std::int16_t>(red - m), -kSaturating, kSaturating);
        return static_cast<std::uint8_t>(
            std::clamp<std::int16_t>(static_cast<std::int16_t>(d * g + 127), 0, 255));
    };
}

// A row of cells, each taking its Red byte's value through CentredByte.
ZARVIK_VECTOR_CLONES void MapRow(core::PixelTriple* cells, int count, int mid, int gain) {
    const auto map = CentredByte(mid, gain);
    if (core::RowIsGrey(cells, count)) {
        // Every byte is its pixel's Red: mapping each byte writes the value three times.
        auto* bytes = reinterpret_cast<std::uint8_t*>(cells);
        const std::size_t size = static_cast<std::size_t>(count) * sizeof(core::PixelTriple);
        for (std::size_t i = 0; i < size; ++i) bytes[i] = map(bytes[i]);
        return;
    }
    for (int x = 0; x < count; ++x) {
        const std::uint8_t v = map(cells[x].Red);
        cells[x] = {v, v, v};
    }
}

// A 32-bit row mapped as MapRow maps a row of cells, its fourth byte 0 as the bridge
// writes it: every pixel takes its Red byte's value, which on a grey row is each
// byte's own.
ZARVIK_VECTOR_CLONES void MapRow32(const std::uint8_t* in, std::uint8_t* out, std::size_t width,
                                   int mid, int gain) {
    const auto map = CentredByte(mid, gain);
    // Any bit where a pixel's Blue and Green, or Green and Red, differ: an OR, which
    // the loop keeps in a vector.
    std::uint32_t colour_bits = 0;
    for (std::size_t x = 0; x < width; ++x) {
        std::uint32_t pixel;
        std::memcpy(&pixel, in + 4 * x, sizeof pixel);
        colour_bits |= (pixel ^ (pixel >> 8)) & 0xFFFF;
    }
    if (colour_bits == 0) {
        core::MapBytes32(in, out, width, core::kColourKept32, map);
        return;
    }
    for (std::size_t x = 0; x < 4 * width; x += 4) {
        const std::uint8_t v = map(in[x + 2]);
        out[x] = v;
        out[x + 1] = v;
        out[x + 2] = v;
        out[x + 3] = 0;
    }
}

// The lowest and highest Blue, Green or Red byte of a 32-bit row: the fourth byte
// counts as 255 for the lowest and 0 for the highest, so that it changes neither.
ZARVIK_VECTOR_CLONES void Widen32(ValueRange& range, const std::uint8_t* row, std::size_t width) {
    if (width == 0) return;
    const core::KeptBytes32& kept = core::kColourKept32;
    // A lowest and a highest for each byte of the eight pixels, joined at the end, so
    // that the loop keeps them in vectors.
    core::KeptBytes32 lowest;
    core::KeptBytes32 highest{};
    lowest.fill(255);
    const std::size_t count = 4 * width;
    std::size_t i = 0;
    for (; i + kept.size() <= count; i += kept.size())
        for (std::size_t j = 0; j < kept.size(); ++j) {
            lowest[j] = std::min(lowest[j], static_cast<std::uint8_t>(row[i + j] | ~kept[j]));
            highest[j] = std::max(highest[j], static_cast<std::uint8_t>(row[i + j] & kept[j]));
        }
    for (std::size_t j = 0; i < count; ++i, ++j) {
        lowest[j] = std::min(lowest[j], static_cast<std::uint8_t>(row[i] | ~kept[j]));
        highest[j] = std::max(highest[j], static_cast<std::uint8_t>(row[i] & kept[j]));
    }
    range.lowest = std::min<int>(range.lowest, *std::min_element(lowest.begin(), lowest.end()));
    range.highest = std::max<int>(range.highest, *std::max_element(highest.begin(), highest.end()));
}

// The range of every row's bytes, `widen(range, y)` widening one row's, in row order
// afterwards: the lowest and the highest byte do not depend on the order, and no row
// waits for another. None: the run was cancelled.
template <class WidenRow>
std::optional<ValueRange> RangeOfRows(core::StageContext& context, int rows,
                                      const WidenRow& widen) {
    std::vector<ValueRange> row_ranges(static_cast<std::size_t>(std::max(rows, 0)));
    const bool counted = core::PolledRows(
        context, rows, [&](int y) { widen(row_ranges[static_cast<std::size_t>(y)], y); });
    if (!counted) return std::nullopt;
    ValueRange range;
    for (const ValueRange& row : row_ranges) {
        range.lowest = std::min(range.lowest, row.lowest);
        range.highest = std::max(range.highest, row.highest);
    }
    return range;
}

// The midpoint of the values that occur.
int MidOf(const ValueRange& range, core::Progress& progress) {
    const int lo = ScanUpForLowest(range, progress);
    const int hi = ScanDownForHighest(range, progress);
    return static_cast<int>(std::nearbyint((lo + hi) / 2.0));  // 0.5 -> 0, 1.5 -> 2
}

// CentreDepth on a 32-bit map, read and written as images.
void CentrePlain32(core::StageContext& context, platform::PictureSurface& surface) {
    const platform::Bitmap image = surface.Image();
    const auto width = static_cast<std::size_t>(image.Width());
    const auto bytes = image.Bits();
    const auto range = RangeOfRows(context, image.Height(), [&](ValueRange& row, int y) {
        Widen32(row, bytes.data() + 4 * width * static_cast<std::size_t>(y), width);
    });
    if (!range) return;
    const int mid = MidOf(*range, context.progress);
    const int gain = context.globals.glbFactors[0];
    auto mapped = core::MapPlain32Rows(
        context, image, [mid, gain](const std::uint8_t* in, std::uint8_t* out, std::size_t n) {
            MapRow32(in, out, n, mid, gain);
        });
    if (!mapped) return;
    core::ShowMadeImage(surface, std::move(*mapped));
    surface.AssignImageToPicture();
}

}  // namespace

void CentreDepth(core::StageContext& context) {
    platform::PictureSurface& surface = context.surfaces.picDepth;
    if (core::Plain32(surface.Image())) {
        CentrePlain32(context, surface);
        return;
    }
    core::PixelGrid grid;
    std::int16_t bits_per_pixel = 0;
    DDBHelper::GetBitmapPixels(surface, grid, bits_per_pixel);
    const auto range = RangeOfRows(context, surface.ScaleHeight(), [&](ValueRange& row, int y) {
        Widen(row, RowBytes(grid, y, ColumnsInRow(surface, grid, y)));
    });
    if (!range) return;
    const int mid = MidOf(*range, context.progress);
    const int gain = context.globals.glbFactors[0];

    const bool mapped = core::PolledRows(context, surface.ScaleHeight(), [&](int y) {
        const auto cells = RowCells(grid, y, ColumnsInRow(surface, grid, y));
        MapRow(cells.data(), static_cast<int>(cells.size()), mid, gain);
    });
    if (!mapped) return;
    DDBHelper::SetBitmapPixels(surface, bits_per_pixel, grid);
    surface.AssignImageToPicture();
}

}  // namespace depth
