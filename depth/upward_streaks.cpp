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

// Per column, a queue of streaks in a ring: oldest (the one on top) first. The steps
// are written as selects rather than branches: on a grainy map whether a streak is
// kept or dropped changes from pixel to pixel.
class ReachingStreaks {
  public:
    ReachingStreaks(int columns, int capacity)
        : capacity_(capacity),
          ring_(static_cast<std::size_t>(columns) * static_cast<std::size_t>(capacity)),
          queues_(static_cast<std::size_t>(columns)) {}

    // Moves column x on to row y, offering the streak of its pixel there (empty when
    // `own_covers` is false), and gives the colour that ends on the pixel: the one on
    // top, or `pixel` itself when no streak reaches it.
    std::uint32_t Shown(int x, int y, const Streak& own, bool own_covers, std::uint32_t pixel) {
        Queue& q = queues_[static_cast<std::size_t>(x)];
        Streak* ring =
            ring_.data() + static_cast<std::size_t>(x) * static_cast<std::size_t>(capacity_);
        // All kept streaks reached row y + 1 and their tops differ, so at most the first,
        // whose top is y + 1, stops reaching at row y.
        const bool stops = q.count > 0 && ring[q.first].top > y;
        q.first = stops ? Next(q.first) : q.first;
        q.count -= stops ? 1 : 0;
        const bool kept = own_covers && q.count < capacity_ &&
                          (q.count == 0 || own.top < ring[Wrap(q.first + q.count - 1)].top);
        if (q.count < capacity_) ring[Wrap(q.first + q.count)] = own;  // a free slot
        q.count += kept ? 1 : 0;
        return q.count > 0 ? ring[q.first].drawn : pixel;
    }

  private:
    struct Queue {
        int first = 0;
        int count = 0;
    };
    int Next(int i) const { return i + 1 == capacity_ ? 0 : i + 1; }
    int Wrap(int i) const { return i >= capacity_ ? i - capacity_ : (i < 0 ? i + capacity_ : i); }

    int capacity_;
    std::vector<Streak> ring_;
    std::vector<Queue> queues_;
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
            const std::uint32_t value = LoadPixel<kBytes>(pixel);
            const DrawnColors::Entry& read = colors.Of(value);
            const int last = ends.Last(read.grey);
            const Streak own{std::max(last + 1, 0), read.drawn};
            StorePixel<kBytes>(pixel, reaching.Shown(x, y, own, last < y, value));
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
