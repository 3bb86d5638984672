#include "depth/sky_region.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "depth/guided_filter.h"

namespace depth {

namespace {

// What a sky pixel looks like. A dusk or overcast sky is darker and greyer than a
// noon one, so brightness asks little; foliage and brick fail the colour test, walls
// and clouds with a texture fail the smoothness test.
constexpr float kMinimumLuma = 0.3f;
constexpr float kBlueBelowRed = 0.03f;    // blue may fall this far below red...
constexpr float kBlueBelowGreen = 0.08f;  // ...and this far below green
// A plainly blue pixel (a dusk sky, blue against a dark ground) may be much darker.
constexpr float kBlueMinimumLuma = 0.08f;
constexpr float kBlueAboveRed = 0.08f;
constexpr float kBlueAboveGreen = 0.04f;
constexpr float kMostTexture = 0.035f;  // mean brightness step to a neighbour
constexpr float kLargestStep = 0.08f;   // between two joined sky pixels
constexpr double kLeastShare = 0.02;    // of the picture, for a sky at all
// A "sky" that fills nearly the whole picture has nothing before it: a plain wall or
// a grey card, not a sky.
constexpr double kMostShare = 0.85;
constexpr double kHorizonSpan = 0.3;  // of a row's width, for that row to hold sky

// The mean size of the brightness steps around each pixel, over a small window.
FloatPlane Texture(const FloatPlane& luma) {
    const int width = luma.Width();
    const int height = luma.Height();
    FloatPlane steps(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float across = std::abs(luma(std::min(x + 1, width - 1), y) - luma(x, y));
            const float down = std::abs(luma(x, std::min(y + 1, height - 1)) - luma(x, y));
            steps(x, y) = across + down;
        }
    }
    return BoxMean(steps, 1);
}

bool LooksLikeSky(const ReducedPicture& p, const FloatPlane& texture, int x, int y) {
    const float r = p.red(x, y);
    const float g = p.green(x, y);
    const float b = p.blue(x, y);
    const float luma = p.luma(x, y);
    const bool grey_or_blue =
        luma >= kMinimumLuma && b >= r - kBlueBelowRed && b >= g - kBlueBelowGreen;
    const bool plainly_blue =
        luma >= kBlueMinimumLuma && b >= r + kBlueAboveRed && b >= g + kBlueAboveGreen;
    return (grey_or_blue || plainly_blue) && texture(x, y) <= kMostTexture;
}

int Horizon(const SkyRegion& sky) {
    int horizon = 0;
    for (int y = 0; y < sky.height; ++y) {
        int count = 0;
        for (int x = 0; x < sky.width; ++x) count += sky.IsSky(x, y) ? 1 : 0;
        if (count >= kHorizonSpan * sky.width) horizon = y + 1;
    }
    return horizon;
}

}  // namespace

SkyRegion FindSky(const ReducedPicture& picture) {
    SkyRegion sky;
    sky.width = picture.luma.Width();
    sky.height = picture.luma.Height();
    sky.mask.assign(static_cast<std::size_t>(sky.width) * static_cast<std::size_t>(sky.height), 0);
    if (sky.mask.empty()) return sky;
    const FloatPlane texture = Texture(picture.luma);
    const auto index = [&sky](int x, int y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(sky.width) +
               static_cast<std::size_t>(x);
    };

    std::deque<std::pair<int, int>> open;
    for (int x = 0; x < sky.width; ++x) {
        if (!LooksLikeSky(picture, texture, x, 0)) continue;
        sky.mask[index(x, 0)] = 1;
        open.emplace_back(x, 0);
    }
    std::size_t count = open.size();
    while (!open.empty()) {
        const auto [x, y] = open.front();
        open.pop_front();
        const std::pair<int, int> neighbours[] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
        for (const auto& [nx, ny] : neighbours) {
            if (nx < 0 || ny < 0 || nx >= sky.width || ny >= sky.height) continue;
            if (sky.mask[index(nx, ny)] != 0) continue;
            if (std::abs(picture.luma(nx, ny) - picture.luma(x, y)) > kLargestStep) continue;
            if (!LooksLikeSky(picture, texture, nx, ny)) continue;
            sky.mask[index(nx, ny)] = 1;
            open.emplace_back(nx, ny);
            ++count;
        }
    }
    sky.share = static_cast<double>(count) / static_cast<double>(sky.mask.size());
    if (sky.share < kLeastShare || sky.share > kMostShare) {
        std::fill(sky.mask.begin(), sky.mask.end(), std::uint8_t{0});
        sky.share = 0.0;
        return sky;
    }
    sky.horizon = Horizon(sky);
    return sky;
}

}  // namespace depth
