#include "depth/centre_depth.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/ddb_helper.h"
#include "core/grey_rows.h"
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
ZARVIK_VECTOR_CLONES void MapRow(core::PixelTriple* cells, int count, int mid, int gain) {
    constexpr int kSaturating = 129;
    const auto g = static_cast<std::int16_t>(std::clamp(gain, -kSaturating, kSaturating));
    const auto m = static_cast<std::int16_t>(mid);
    const auto map = [g, m](std::uint8_t red) {
        const auto d =
            std::clamp<std::int16_t>(static_cast<std::int16_t>(red - m), -kSaturating, kSaturating);
        return static_cast<std::uint8_t>(
            std::clamp<std::int16_t>(static_cast<std::int16_t>(d * g + 127), 0, 255));
    };
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

}  // namespace

void CentreDepth(core::StageContext& context) {
    platform::PictureSurface& surface = context.surfaces.picDepth;
    core::PixelGrid grid;
    std::int16_t bits_per_pixel = 0;
    DDBHelper::GetBitmapPixels(surface, grid, bits_per_pixel);

    // One range per row, joined in row order afterwards: the lowest and the highest
    // byte do not depend on the order, and no row waits for another.
    const int counted_rows = surface.ScaleHeight();
    std::vector<ValueRange> row_ranges(static_cast<std::size_t>(std::max(counted_rows, 0)));
    const bool counted = core::PolledRows(context, counted_rows, [&](int y) {
        Widen(row_ranges[static_cast<std::size_t>(y)],
              RowBytes(grid, y, ColumnsInRow(surface, grid, y)));
    });
    if (!counted) return;
    ValueRange range;
    for (const ValueRange& row : row_ranges) {
        range.lowest = std::min(range.lowest, row.lowest);
        range.highest = std::max(range.highest, row.highest);
    }
    const int lo = ScanUpForLowest(range, context.progress);
    const int hi = ScanDownForHighest(range, context.progress);
    const auto mid = static_cast<int>(std::nearbyint((lo + hi) / 2.0));  // 0.5 -> 0, 1.5 -> 2
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
