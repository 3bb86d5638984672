#pragma once
// Logical palettes as the old graphics interface kept them: up to 256 entries of
// red, green, blue and flags.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/color.h"

namespace platform {

struct PaletteEntry {
    std::uint8_t peRed = 0;
    std::uint8_t peGreen = 0;
    std::uint8_t peBlue = 0;
    std::uint8_t peFlags = 0;
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

inline constexpr std::uint8_t PC_NOCOLLAPSE = 4;
inline constexpr std::uint32_t CLR_INVALID = 0xFFFFFFFFu;
inline constexpr int kMaxPaletteEntries = 256;

using PaletteTable = std::array<PaletteEntry, kMaxPaletteEntries>;

// Index of the entry nearest (least squared distance, first on ties) to a colour,
// palette-relative flag ignored; CLR_INVALID for no entries.
std::uint32_t NearestEntry(std::span<const PaletteEntry> entries, std::uint32_t color);

class Palette {
  public:
    Palette() = default;
    explicit Palette(std::span<const PaletteEntry> entries);

    int EntryCount() const { return static_cast<int>(entries_.size()); }
    const std::vector<PaletteEntry>& Entries() const { return entries_; }

    // Copies entries [start, start + count) into out; returns how many were copied.
    int GetPaletteEntries(int start, int count, std::span<PaletteEntry> out) const;
    // Writes entries [start, start + count); returns how many were written.
    int SetPaletteEntries(int start, int count, std::span<const PaletteEntry> in);
    // New entries are black; false (and no change) for a count outside 1..256.
    bool ResizePalette(int count);
    std::uint32_t GetNearestPaletteIndex(std::uint32_t color) const {
        return NearestEntry(entries_, color);
    }

  private:
    std::vector<PaletteEntry> entries_;
};

}  // namespace platform
