// For w < 0 a streak runs down from its pixel, over rows still to be read, so a pixel
// reads the colour of the last streak drawn over it so far and draws its own streak in
// that colour. The rows are walked top down keeping, per column, a stack of the
// streaks from above that still reach the current row and could still come out on
// top: a newer streak that reaches as far down as an older one hides the older one for
// good, so the stack's reaches grow from its top to its bottom, and its top is the
// streak on top. Each streak is pushed and popped at most once, whatever its length.
#include <algorithm>
#include <vector>

#include "depth/drawn_colors.h"
#include "depth/pixel_bytes.h"
#include "depth/streak_ends.h"
#include "depth/streak_walks.h"

namespace depth {

namespace {

struct Streak {
    std::int32_t bottom;  // lowest row covered
    std::uint32_t drawn;
};

class ReachingStreaks {
  public:
    ReachingStreaks(int columns, int capacity)
        : capacity_(capacity),
          stacks_(static_cast<std::size_t>(columns) * static_cast<std::size_t>(capacity)),
          sizes_(static_cast<std::size_t>(columns), 0) {}

    // Drops the streaks of column x that end above row y; the one on top, or null.
    const Streak* OnTop(int x, int y) {
        const Streak* stack = Stack(x);
        int& size = sizes_[static_cast<std::size_t>(x)];
        while (size > 0 && stack[size - 1].bottom < y) --size;
        return size > 0 ? &stack[size - 1] : nullptr;
    }

    // Puts a streak starting at the current row on top, dropping those it hides.
    const Streak* Push(int x, const Streak& streak) {
        Streak* stack = Stack(x);
        int& size = sizes_[static_cast<std::size_t>(x)];
        while (size > 0 && stack[size - 1].bottom <= streak.bottom) --size;
        if (size < capacity_) stack[size++] = streak;
        return &stack[size - 1];
    }

  private:
    Streak* Stack(int x) {
        return stacks_.data() + static_cast<std::size_t>(x) * static_cast<std::size_t>(capacity_);
    }

    int capacity_;
    std::vector<Streak> stacks_;
    std::vector<int> sizes_;
};

template <int kBytes>
platform::Rgb Walk(platform::PictureSurface& surface, int warp) {
    platform::Bitmap& image = surface.MutableImage();
    const int rows = image.Height();
    const int columns = image.Width();
    DrawnColors colors(surface.GetDisplay());
    StreakEnds ends(warp);
    // The streaks kept for a column have distinct bottoms within the MaxLength rows
    // from the current row down, so no more than MaxLength are ever kept.
    ReachingStreaks reaching(columns, StreakEnds::MaxLength(warp));
    platform::Rgb read_last = platform::kNoColor;
    for (int y = 0; y < rows; ++y) {
        ends.MoveToRow(y);
        std::uint8_t* row = image.MutableRow(y).data();
        for (int x = 0; x < columns; ++x) {
            std::uint8_t* pixel = row + x * kBytes;
            const Streak* on_top = reaching.OnTop(x, y);
            const std::uint32_t shown = on_top ? on_top->drawn : LoadPixel<kBytes>(pixel);
            const DrawnColors::Entry& read = colors.Of(shown);
            read_last = read.color;
            const int last = ends.Last(read.grey);
            if (last > y) on_top = reaching.Push(x, {std::min(last - 1, rows - 1), read.drawn});
            if (on_top) StorePixel<kBytes>(pixel, on_top->drawn);
        }
        surface.Refresh();
    }
    return read_last;
}

}  // namespace

platform::Rgb DrawDownwardStreaks(platform::PictureSurface& surface, int warp) {
    const int bytes = surface.GetDisplay().BytesPerPixel();
    return WithPixelBytes(bytes, [&]<int kBytes>() { return Walk<kBytes>(surface, warp); });
}

}  // namespace depth
