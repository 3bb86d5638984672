// A pixel ends with the colour of the last streak drawn over it, and for w > 0 that
// is the streak of the lowest pixel below it (or its own) that reaches up to it. The
// rows are walked bottom up keeping, per column, the streaks from below that still
// reach the current row and could still come out on top: each streak kept reaches
// higher than every streak kept before it, so the first one kept is the one on top,
// and one that does not reach past the last kept is hidden by it for good. Each
// streak is kept and dropped at most once, whatever its length.
#include <algorithm>
#include <vector>

#include "depth/drawn_colors.h"
#include "depth/pixel_bytes.h"
#include "depth/streak_ends.h"
#include "depth/streak_walks.h"

namespace depth {

namespace {

struct Streak {
    std::int32_t top;  // highest row covered
    std::uint32_t drawn;
};

// Per column, a queue of streaks in a ring: oldest (the one on top) first.
class ReachingStreaks {
  public:
    ReachingStreaks(int columns, int capacity)
        : capacity_(capacity),
          ring_(static_cast<std::size_t>(columns) * static_cast<std::size_t>(capacity)),
          first_(static_cast<std::size_t>(columns), 0),
          count_(static_cast<std::size_t>(columns), 0) {}

    // Leaves the streaks of column x that reach row y; the one on top, or null.
    const Streak* OnTop(int x, int y, const Streak* candidate) {
        const auto column = static_cast<std::size_t>(x);
        Streak* ring = ring_.data() + column * static_cast<std::size_t>(capacity_);
        int& first = first_[column];
        int& count = count_[column];
        while (count > 0 && ring[first].top > y) {
            first = Next(first);
            --count;
        }
        if (candidate && count < capacity_) {
            const int last = Wrap(first + count - 1);
            if (count == 0 || candidate->top < ring[last].top) {
                ring[Wrap(first + count)] = *candidate;
                ++count;
            }
        }
        return count > 0 ? &ring[first] : nullptr;
    }

  private:
    int Next(int i) const { return i + 1 == capacity_ ? 0 : i + 1; }
    int Wrap(int i) const { return i >= capacity_ ? i - capacity_ : (i < 0 ? i + capacity_ : i); }

    int capacity_;
    std::vector<Streak> ring_;
    std::vector<int> first_;
    std::vector<int> count_;
};

template <int kBytes>
void Walk(platform::PictureSurface& surface, int warp) {
    platform::Bitmap& image = surface.MutableImage();
    const int rows = image.Height();
    const int columns = image.Width();
    DrawnColors colors(surface.GetDisplay());
    StreakEnds ends(warp);
    // The streaks kept for a column have distinct tops within the MaxLength rows from
    // the current row up, so no more than MaxLength are ever kept.
    ReachingStreaks reaching(columns, StreakEnds::MaxLength(warp));
    for (int y = rows - 1; y >= 0; --y) {
        ends.MoveToRow(y);
        std::uint8_t* row = image.MutableRow(y).data();
        for (int x = 0; x < columns; ++x) {
            std::uint8_t* pixel = row + x * kBytes;
            const DrawnColors::Entry& read = colors.Of(LoadPixel<kBytes>(pixel));
            const int last = ends.Last(read.grey);
            const Streak own{std::max(last + 1, 0), read.drawn};
            const Streak* on_top = reaching.OnTop(x, y, last < y ? &own : nullptr);
            if (on_top) StorePixel<kBytes>(pixel, on_top->drawn);
        }
        surface.Refresh();
    }
}

}  // namespace

void DrawUpwardStreaks(platform::PictureSurface& surface, int warp) {
    const int bytes = surface.GetDisplay().BytesPerPixel();
    WithPixelBytes(bytes, [&]<int kBytes>() { Walk<kBytes>(surface, warp); });
}

}  // namespace depth
