#include "platform/nearest_entries.h"

#include <algorithm>
#include <array>
#include <limits>
#include <mutex>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

#include <bit>
#define ZARVIK_NEAREST_EIGHT 1
#endif

namespace platform {

namespace {

constexpr int kCellBits = 5;

// Squared distance along one axis from v to the nearest and to the farthest value of
// the span [low, low + side).
int NearestAlong(int v, int low, int side) {
    const int high = low + side - 1;
    const int d = v < low ? low - v : (v > high ? v - high : 0);
    return d * d;
}
int FarthestAlong(int v, int low, int side) {
    const int high = low + side - 1;
    const int d = std::max(v - low, high - v);
    return d * d;
}

// Candidate lists of the cells of one size, cell after cell.
struct CellLists {
    std::vector<std::uint32_t> starts;  // per cell, and one past the last
    std::vector<std::uint32_t> entries;

    std::span<const std::uint32_t> Of(std::size_t cell) const {
        return std::span(entries).subspan(starts[cell], starts[cell + 1] - starts[cell]);
    }
};

}  // namespace

// Each cell's candidates are found among its parent cell's (twice its side): an entry
// that is never nearest in the parent is never nearest in any part of it, and the
// entry whose farthest point is nearest, which sets the bound, is always among them.
// So the lists are those of a search of the whole palette for every cell, for a
// fraction of the work.
void NearestEntries::FindCandidates() {
    CellLists lists;
    lists.starts = {0, static_cast<std::uint32_t>(red_.size())};
    lists.entries.resize(red_.size());
    for (std::uint32_t i = 0; i < lists.entries.size(); ++i) lists.entries[i] = i;
    for (int bits = 1; bits <= kCellBits; ++bits) {
        const int per_side = 1 << bits;
        const int side = 256 >> bits;
        CellLists finer;
        finer.starts.reserve(static_cast<std::size_t>(per_side * per_side * per_side) + 1);
        for (int cell = 0; cell < per_side * per_side * per_side; ++cell) {
            finer.starts.push_back(static_cast<std::uint32_t>(finer.entries.size()));
            const int r = cell >> (2 * bits);
            const int g = (cell >> bits) & (per_side - 1);
            const int b = cell & (per_side - 1);
            const auto parent = static_cast<std::size_t>((r >> 1) << (2 * bits - 2) |
                                                         (g >> 1) << (bits - 1) | (b >> 1));
            AppendCandidates(lists.Of(parent), r * side, g * side, b * side, side, finer.entries);
        }
        finer.starts.push_back(static_cast<std::uint32_t>(finer.entries.size()));
        lists = std::move(finer);
    }
    starts_ = std::move(lists.starts);
    candidates_ = std::move(lists.entries);
}

void NearestEntries::AppendCandidates(std::span<const std::uint32_t> from, int r, int g, int b,
                                      int side, std::vector<std::uint32_t>& out) const {
    int bound = std::numeric_limits<int>::max();
    for (const std::uint32_t i : from)
        bound =
            std::min(bound, FarthestAlong(red_[i], r, side) + FarthestAlong(green_[i], g, side) +
                                FarthestAlong(blue_[i], b, side));
    for (const std::uint32_t i : from)
        if (NearestAlong(red_[i], r, side) + NearestAlong(green_[i], g, side) +
                NearestAlong(blue_[i], b, side) <=
            bound)
            out.push_back(i);
}

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
    FindCandidates();
    packed_.reserve(candidates_.size() + 8);
    for (const std::uint32_t i : candidates_)
        packed_.push_back(static_cast<std::uint32_t>(red_[i]) |
                          static_cast<std::uint32_t>(green_[i]) << 8 |
                          static_cast<std::uint32_t>(blue_[i]) << 16);
    packed_.resize(packed_.size() + 8);  // a cell's last eight may read past its end
#ifdef ZARVIK_NEAREST_EIGHT
    eight_at_a_time_ = __builtin_cpu_supports("avx2");
#endif
}

#ifdef ZARVIK_NEAREST_EIGHT
[[gnu::target("avx2")]] std::uint32_t NearestEntries::OfEightAtATime(std::uint32_t color) const {
    const std::size_t cell = CellOf(color);
    const std::uint32_t first = starts_[cell];
    const auto count = static_cast<int>(starts_[cell + 1] - first);
    const __m256i bytes = _mm256_set1_epi32(0xFF);
    const __m256i red = _mm256_set1_epi32(static_cast<int>(color & 0xFF));
    const __m256i green = _mm256_set1_epi32(static_cast<int>((color >> 8) & 0xFF));
    const __m256i blue = _mm256_set1_epi32(static_cast<int>((color >> 16) & 0xFF));
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    int best_distance = std::numeric_limits<int>::max();
    std::uint32_t best = 0;
    for (int k = 0; k < count; k += 8) {
        const __m256i packed =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(packed_.data() + first + k));
        const __m256i dr = _mm256_sub_epi32(_mm256_and_si256(packed, bytes), red);
        const __m256i dg =
            _mm256_sub_epi32(_mm256_and_si256(_mm256_srli_epi32(packed, 8), bytes), green);
        const __m256i db = _mm256_sub_epi32(_mm256_srli_epi32(packed, 16), blue);
        const __m256i squares = _mm256_add_epi32(
            _mm256_add_epi32(_mm256_mullo_epi32(dr, dr), _mm256_mullo_epi32(dg, dg)),
            _mm256_mullo_epi32(db, db));
        // Lanes past the cell's candidates are as far as can be.
        const __m256i distances =
            _mm256_blendv_epi8(_mm256_set1_epi32(std::numeric_limits<int>::max()), squares,
                               _mm256_cmpgt_epi32(_mm256_set1_epi32(count - k), lanes));
        __m256i least =
            _mm256_min_epi32(distances, _mm256_permute2x128_si256(distances, distances, 1));
        least = _mm256_min_epi32(least, _mm256_shuffle_epi32(least, 0x4E));
        least = _mm256_min_epi32(least, _mm256_shuffle_epi32(least, 0xB1));
        const int distance = _mm256_cvtsi256_si32(least);
        if (distance < best_distance) {
            // The first of the eight at that distance: the palette's order breaks ties.
            const auto at = static_cast<unsigned>(
                _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(distances, least))));
            best_distance = distance;
            best = candidates_[first + static_cast<std::uint32_t>(k) +
                               static_cast<std::uint32_t>(std::countr_zero(at))];
        }
    }
    return best;
}
#else
std::uint32_t NearestEntries::OfEightAtATime(std::uint32_t color) const {
    return OfOneAtATime(color);
}
#endif

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
