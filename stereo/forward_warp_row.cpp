#include "stereo/forward_warp_row.h"

#include <algorithm>
#include <cstddef>

namespace stereo {

namespace {

using core::PixelTriple;

constexpr std::int32_t kEmpty = -1;
constexpr std::int32_t kHalf = kSubpixel / 2;
// Neighbouring source pixels that land further apart than this were split by a depth
// edge: the space between them opened behind a nearer object and is a hole, not a
// slanted surface to stretch over.
constexpr std::int32_t kMaxStretch = 2 * kSubpixel;
// How much nearer than the hole's own side a pixel may be and still count as the same
// background when the hole takes its texture (a slanted background included).
constexpr std::int32_t kBackgroundSlack = 16 * kSubpixel;

// The first pixel whose centre lies at or after `position` (1/256 pixel).
constexpr int FirstCentreFrom(std::int32_t position) {
    return (position + kSubpixel - 1) >> 8;  // C++20: arithmetic shift, a floor
}

// A source pixel as the warp sees it: where it lands, its colour and depth (x 256).
struct Landing {
    std::int32_t at;
    PixelTriple colour;
    std::int32_t depth;
};

constexpr std::uint8_t Mix(std::uint8_t a, std::uint8_t b, std::int32_t weight) {
    return static_cast<std::uint8_t>(a + (((b - a) * weight + kHalf) >> 8));
}

class RowWriter {
  public:
    RowWriter(std::span<PixelTriple> view, std::span<std::int32_t> depth)
        : view_(view.data()), depth_(depth.data()), width_(static_cast<int>(view.size())) {}

    // Nearer covers farther; between equals the first one stays.
    void Put(int i, PixelTriple colour, std::int32_t depth) {
        if (depth > depth_[i]) {
            depth_[i] = depth;
            view_[i] = colour;
        }
    }

    // Pixels whose centres lie in [from, to) take the colour and depth of `landing`.
    void Box(std::int32_t from, std::int32_t to, const Landing& landing) {
        const int last = std::min(FirstCentreFrom(to), width_);
        for (int i = std::max(FirstCentreFrom(from), 0); i < last; ++i)
            Put(i, landing.colour, landing.depth);
    }

    // Pixels whose centres lie between two neighbours' landings take the colour and
    // depth in between, weighted by where they lie.
    void Span(const Landing& a, const Landing& b) {
        const std::int32_t span = b.at - a.at;
        const int last = std::min(FirstCentreFrom(b.at), width_);
        for (int i = std::max(FirstCentreFrom(a.at), 0); i < last; ++i) {
            const std::int32_t offset = i * kSubpixel - a.at;
            const std::int32_t weight = span == kSubpixel ? offset : (offset << 8) / span;
            const PixelTriple colour{Mix(a.colour.Blue, b.colour.Blue, weight),
                                     Mix(a.colour.Green, b.colour.Green, weight),
                                     Mix(a.colour.Red, b.colour.Red, weight)};
            Put(i, colour, a.depth + (((b.depth - a.depth) * weight) >> 8));
        }
    }

  private:
    PixelTriple* view_;
    std::int32_t* depth_;
    int width_;
};

// How many written pixels from `from` on, stepping by `step`, still belong to the
// background that `from` shows.
int BackgroundRun(std::span<const std::int32_t> depth, int from, int step, int most) {
    const std::int32_t limit = depth[static_cast<std::size_t>(from)] + kBackgroundSlack;
    int run = 0;
    for (int i = from; run < most && i >= 0 && i < static_cast<int>(depth.size()); i += step) {
        const std::int32_t d = depth[static_cast<std::size_t>(i)];
        if (d == kEmpty || d > limit) break;
        ++run;
    }
    return std::max(run, 1);
}

// The hole [begin, end) mirrors the background beside it: texture from the farther
// side, so that neither the nearer object nor one flat colour is drawn into it.
void FillHole(std::span<PixelTriple> view, std::span<std::int32_t> depth, int begin, int end) {
    const int width = static_cast<int>(view.size());
    const auto at = [](int i) { return static_cast<std::size_t>(i); };
    bool from_left = begin > 0;
    if (begin > 0 && end < width) from_left = depth[at(begin - 1)] <= depth[at(end)];
    const int edge = from_left ? begin - 1 : end;
    const int step = from_left ? -1 : 1;
    const int length = end - begin;
    const int run = BackgroundRun(depth, edge, step, length);
    for (int k = 0; k < length; ++k) {
        // Back and forth over the background run, as a mirror would show it.
        const int bounce = k % (2 * run);
        const int source = edge + step * (bounce < run ? bounce : 2 * run - 1 - bounce);
        const int target = from_left ? begin + k : end - 1 - k;
        view[at(target)] = view[at(source)];
        depth[at(target)] = depth[at(edge)];
    }
}

void FillHoles(std::span<PixelTriple> view, std::span<std::int32_t> depth,
               std::span<const PixelTriple> source) {
    const int width = static_cast<int>(view.size());
    int i = 0;
    while (i < width) {
        if (depth[static_cast<std::size_t>(i)] != kEmpty) {
            ++i;
            continue;
        }
        int end = i;
        while (end < width && depth[static_cast<std::size_t>(end)] == kEmpty) ++end;
        if (i == 0 && end == width) {
            // Nothing landed in the row (a width no shift can empty; kept for safety).
            std::copy(source.begin(), source.end(), view.begin());
            return;
        }
        FillHole(view, depth, i, end);
        i = end;
    }
}

}  // namespace

void ForwardWarpRow(std::span<const PixelTriple> source, std::span<const std::uint8_t> levels,
                    const LevelShifts& shifts, std::span<PixelTriple> view, WarpScratch scratch) {
    const int width = static_cast<int>(view.size());
    if (width == 0) return;
    std::span<std::int32_t> depth = scratch.depth.first(view.size());
    std::fill(depth.begin(), depth.end(), kEmpty);
    RowWriter writer(view, depth);
    const auto landing = [&](int x) {
        const std::uint8_t level = levels[static_cast<std::size_t>(x)];
        return Landing{x * kSubpixel + shifts[level], source[static_cast<std::size_t>(x)],
                       level * kSubpixel};
    };
    Landing previous = landing(0);
    writer.Box(previous.at - kHalf, previous.at, previous);
    for (int x = 1; x < width; ++x) {
        const Landing next = landing(x);
        const std::int32_t span = next.at - previous.at;
        if (span > 0 && span <= kMaxStretch) {
            writer.Span(previous, next);
        } else {
            // A hole opens, or the nearer of the two folds over the farther: each keeps
            // its own pixel's width, and the depth test sorts out the rest.
            writer.Box(previous.at, previous.at + kHalf, previous);
            writer.Box(next.at - kHalf, next.at, next);
        }
        previous = next;
    }
    writer.Box(previous.at, previous.at + kHalf, previous);
    FillHoles(view, depth, source);
}

}  // namespace stereo
