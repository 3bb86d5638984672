#include "platform/nearest_entries.h"

#include <algorithm>
#include <array>
#include <limits>
#include <mutex>

namespace platform {

namespace {

constexpr int kCellBits = 5;
constexpr int kCellsPerSide = 1 << kCellBits;
constexpr int kCellSide = 256 / kCellsPerSide;

// Squared distance along one axis from v to the nearest and to the farthest value of
// the cell that starts at `low`.
int NearestAlong(int v, int low) {
    const int high = low + kCellSide - 1;
    const int d = v < low ? low - v : (v > high ? v - high : 0);
    return d * d;
}
int FarthestAlong(int v, int low) {
    const int high = low + kCellSide - 1;
    const int d = std::max(v - low, high - v);
    return d * d;
}

}  // namespace

NearestEntries::NearestEntries(std::span<const PaletteEntry> entries)
    : entries_(entries.begin(), entries.end()) {
    const std::size_t n = entries.size();
    red_.resize(n);
    green_.resize(n);
    blue_.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        red_[i] = entries[i].peRed;
        green_[i] = entries[i].peGreen;
        blue_[i] = entries[i].peBlue;
    }
    constexpr int kCells = kCellsPerSide * kCellsPerSide * kCellsPerSide;
    starts_.reserve(kCells + 1);
    std::vector<int> nearest(n);
    for (int cell = 0; cell < kCells; ++cell) {
        starts_.push_back(static_cast<std::uint32_t>(candidates_.size()));
        if (n == 0) continue;
        const int r = (cell >> (2 * kCellBits)) * kCellSide;
        const int g = ((cell >> kCellBits) & (kCellsPerSide - 1)) * kCellSide;
        const int b = (cell & (kCellsPerSide - 1)) * kCellSide;
        int bound = std::numeric_limits<int>::max();
        for (std::size_t i = 0; i < n; ++i) {
            nearest[i] =
                NearestAlong(red_[i], r) + NearestAlong(green_[i], g) + NearestAlong(blue_[i], b);
            bound = std::min(bound, FarthestAlong(red_[i], r) + FarthestAlong(green_[i], g) +
                                        FarthestAlong(blue_[i], b));
        }
        for (std::size_t i = 0; i < n; ++i)
            if (nearest[i] <= bound) candidates_.push_back(static_cast<std::uint32_t>(i));
    }
    starts_.push_back(static_cast<std::uint32_t>(candidates_.size()));
}

std::shared_ptr<const NearestEntries> NearestEntries::For(std::span<const PaletteEntry> entries) {
    // A few palettes at most are in use at once (the system palette above all); the
    // most recent ones are kept.
    static std::mutex mutex;
    static std::array<std::shared_ptr<const NearestEntries>, 4> recent;
    const std::lock_guard lock(mutex);
    for (auto& kept : recent)
        if (kept &&
            std::equal(entries.begin(), entries.end(), kept->Entries().begin(),
                       kept->Entries().end(), [](const PaletteEntry& a, const PaletteEntry& b) {
                           return a.peRed == b.peRed && a.peGreen == b.peGreen &&
                                  a.peBlue == b.peBlue;
                       })) {
            std::swap(kept, recent.front());
            return recent.front();
        }
    std::rotate(recent.rbegin(), recent.rbegin() + 1, recent.rend());
    recent.front() = std::make_shared<const NearestEntries>(entries);
    return recent.front();
}

}  // namespace platform
