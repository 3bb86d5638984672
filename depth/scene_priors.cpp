#include "depth/scene_priors.h"

#include <algorithm>
#include <cmath>

namespace depth {

namespace {

// How much of the depth the layout decides, against the colour cue. The layout
// ranks the pixels of real scenes by depth about twice as well as the cue does
// (landscape), so it carries the larger share; a subject's own shading says more
// about its relief than the ground's does, so the portrait's cue weighs more.
constexpr float kLandscapeLayoutWeight = 0.7f;
constexpr float kPortraitLayoutWeight = 0.6f;
// Where the ground meets the horizon, above the sky at 0.
constexpr float kHorizonDepth = 0.15f;
// The subject's half sizes, as shares of the picture's width and height, and where
// its centre lies from the top.
constexpr float kSubjectHalfWidth = 0.28f;
constexpr float kSubjectHalfHeight = 0.38f;
constexpr float kSubjectCentre = 0.45f;

}  // namespace

FloatPlane LandscapeLayout(int width, int height, int horizon) {
    FloatPlane layout(width, height);
    const int last = std::max(height - 1, 1);
    for (int y = 0; y < height; ++y) {
        float depth = static_cast<float>(y) / static_cast<float>(last);
        if (horizon > 0) {
            const float below =
                static_cast<float>(y - horizon) / static_cast<float>(std::max(last - horizon, 1));
            depth = y < horizon ? kHorizonDepth
                                : kHorizonDepth + (1.0f - kHorizonDepth) * std::min(below, 1.0f);
        }
        std::fill(layout.Row(y).begin(), layout.Row(y).end(), depth);
    }
    return layout;
}

FloatPlane PortraitLayout(int width, int height) {
    FloatPlane layout(width, height);
    for (int y = 0; y < height; ++y) {
        const float dy =
            ((static_cast<float>(y) + 0.5f) / static_cast<float>(height) - kSubjectCentre) /
            kSubjectHalfHeight;
        auto row = layout.Row(y);
        for (int x = 0; x < width; ++x) {
            const float dx = ((static_cast<float>(x) + 0.5f) / static_cast<float>(width) - 0.5f) /
                             kSubjectHalfWidth;
            row[static_cast<std::size_t>(x)] = std::exp(-0.5f * (dx * dx + dy * dy));
        }
    }
    return layout;
}

FloatPlane CombineWithLayout(const FloatPlane& cue, core::Scene scene, const SkyRegion& sky) {
    const int width = cue.Width();
    const int height = cue.Height();
    if (scene != core::Scene::kLandscape && scene != core::Scene::kPortrait) return cue;
    const bool landscape = scene == core::Scene::kLandscape;
    const FloatPlane layout =
        landscape ? LandscapeLayout(width, height, sky.horizon) : PortraitLayout(width, height);
    const float weight = landscape ? kLandscapeLayoutWeight : kPortraitLayoutWeight;
    FloatPlane combined(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            combined(x, y) =
                sky.IsSky(x, y) ? 0.0f : (1.0f - weight) * cue(x, y) + weight * layout(x, y);
        }
    }
    return combined;
}

}  // namespace depth
