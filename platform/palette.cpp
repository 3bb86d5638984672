#include "platform/palette.h"

#include <algorithm>
#include <limits>

namespace platform {

Palette::Palette(std::span<const PaletteEntry> entries)
    : entries_(entries.begin(),
               entries.begin() + std::min<std::size_t>(entries.size(), kMaxPaletteEntries)) {}

int Palette::GetPaletteEntries(int start, int count, std::span<PaletteEntry> out) const {
    if (start < 0 || count <= 0) return 0;
    int copied = 0;
    for (int i = start;
         i < start + count && i < EntryCount() && static_cast<std::size_t>(copied) < out.size();
         ++i) {
        out[static_cast<std::size_t>(copied++)] = entries_[static_cast<std::size_t>(i)];
    }
    return copied;
}

int Palette::SetPaletteEntries(int start, int count, std::span<const PaletteEntry> in) {
    if (start < 0 || count <= 0) return 0;
    int written = 0;
    for (int i = start;
         i < start + count && i < EntryCount() && static_cast<std::size_t>(written) < in.size();
         ++i) {
        entries_[static_cast<std::size_t>(i)] = in[static_cast<std::size_t>(written++)];
    }
    return written;
}

bool Palette::ResizePalette(int count) {
    if (count < 1 || count > kMaxPaletteEntries) return false;
    entries_.resize(static_cast<std::size_t>(count));
    return true;
}

std::uint32_t NearestEntry(std::span<const PaletteEntry> entries, std::uint32_t color) {
    const int r = static_cast<int>(color & 0xFF);
    const int g = static_cast<int>((color >> 8) & 0xFF);
    const int b = static_cast<int>((color >> 16) & 0xFF);
    std::uint32_t best = CLR_INVALID;
    int best_distance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int dr = entries[i].peRed - r;
        const int dg = entries[i].peGreen - g;
        const int db = entries[i].peBlue - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < best_distance) {
            best_distance = distance;
            best = static_cast<std::uint32_t>(i);
            if (distance == 0) break;
        }
    }
    return best;
}

}  // namespace platform
