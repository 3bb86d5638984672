#pragma once
// The nearest palette entry of any colour, as NearestEntry finds it (least squared
// distance, the first entry on ties), without searching the whole palette for each
// colour: the colour cube is cut into 32 x 32 x 32 cells, and each cell keeps, in
// palette order, only the entries that can be nearest to some colour inside it. An
// entry is left out when even its nearest point of the cell is farther than some
// other entry's farthest point; then it is never nearest there, nor tied for it.
#include <array>
#include <cstddef>
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
        return eight_at_a_time_ ? OfEightAtATime(color) : OfOneAtATime(color);
    }

    // The same for a palette with entries, one candidate at a time whatever the
    // processor can do: the tests hold the two ways to each other.
    std::uint32_t OfOneAtATime(std::uint32_t color) const {
        const int r = static_cast<int>(color & 0xFF);
        const int g = static_cast<int>((color >> 8) & 0xFF);
        const int b = static_cast<int>((color >> 16) & 0xFF);
        const std::size_t cell = CellOf(color);
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
    void FindCandidates();
    // The entries of `from` that can be nearest to some colour of the cell whose lowest
    // corner is (r, g, b), in the order of `from`.
    void AppendCandidates(std::span<const std::uint32_t> from, int r, int g, int b, int side,
                          std::vector<std::uint32_t>& out) const;

    static std::size_t CellOf(std::uint32_t color) {
        return ((color & 0xF8) << 7) | ((color >> 6) & 0x3E0) | ((color >> 19) & 0x1F);
    }

    // With AVX2, the distances of eight candidates at once: a photograph's colours are
    // nearly all different, and the search per colour was most of an 8-bit conversion.
    std::uint32_t OfEightAtATime(std::uint32_t color) const;

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
    std::vector<std::uint32_t> packed_;      // their colours, 0x00BBGGRR, and eight more
    bool eight_at_a_time_ = false;
};

// NearestEntries::Of with a memo of the colours last met, kept by one thread over the
// rows of a picture: photographs repeat many colours, and a grey depth map or a
// one-channel mask holds 256 at most.
class NearestMemo {
  public:
    explicit NearestMemo(const NearestEntries& nearest)
        : nearest_(&nearest), colors_(kSlots, kNone), indices_(kSlots) {}

    std::uint32_t Of(std::uint32_t color) {
        const std::size_t slot = (color * 0x9E37'79B1u) >> (32 - kSlotBits);
        if (colors_[slot] != color) {
            colors_[slot] = color;
            indices_[slot] = nearest_->Of(color);
        }
        return indices_[slot];
    }

  private:
    static constexpr int kSlotBits = 16;
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
    static constexpr std::uint32_t kNone = 0xFFFF'FFFF;  // no colour: those have 24 bits
    const NearestEntries* nearest_;
    std::vector<std::uint32_t> colors_;
    std::vector<std::uint32_t> indices_;
};

}  // namespace platform
