#pragma once
// The nearest palette entry of any colour, as NearestEntry finds it (least squared
// distance, the first entry on ties), without searching the whole palette for each
// colour: the colour cube is cut into 32 x 32 x 32 cells, and each cell keeps, in
// palette order, only the entries that can be nearest to some colour inside it. An
// entry is left out when even its nearest point of the cell is farther than some
// other entry's farthest point; then it is never nearest there, nor tied for it.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/palette.h"

namespace platform {

class NearestEntries {
  public:
    explicit NearestEntries(std::span<const PaletteEntry> entries);

    // The same as NearestEntry(entries, color): palette-relative flag ignored,
    // CLR_INVALID for a palette with no entries.
    std::uint32_t Of(std::uint32_t color) const {
        if (red_.empty()) return CLR_INVALID;
        const int r = static_cast<int>(color & 0xFF);
        const int g = static_cast<int>((color >> 8) & 0xFF);
        const int b = static_cast<int>((color >> 16) & 0xFF);
        const std::size_t cell =
            static_cast<std::size_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
        const std::uint32_t* first = candidates_.data() + starts_[cell];
        const std::uint32_t* last = candidates_.data() + starts_[cell + 1];
        std::uint32_t best = *first;
        int best_distance = Distance(best, r, g, b);
        for (const std::uint32_t* i = first + 1; i != last && best_distance != 0; ++i) {
            const int distance = Distance(*i, r, g, b);
            if (distance < best_distance) {
                best_distance = distance;
                best = *i;
            }
        }
        return best;
    }

    // The map of these entries, made once and shared while anything holds it: a picture
    // is written with the same palette again and again.
    static std::shared_ptr<const NearestEntries> For(std::span<const PaletteEntry> entries);

    const std::vector<PaletteEntry>& Entries() const { return entries_; }

  private:
    int Distance(std::uint32_t i, int r, int g, int b) const {
        const int dr = red_[i] - r;
        const int dg = green_[i] - g;
        const int db = blue_[i] - b;
        return dr * dr + dg * dg + db * db;
    }

    std::vector<PaletteEntry> entries_;
    std::vector<int> red_, green_, blue_;
    std::vector<std::uint32_t> starts_;      // per cell, and one past the last
    std::vector<std::uint32_t> candidates_;  // entry indices, cell by cell
};

}  // namespace platform
