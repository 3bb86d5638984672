#include "depth/scene_depth.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/ddb_helper.h"
#include "depth/guided_filter.h"
#include "depth/reduced_picture.h"
#include "depth/scene_choice.h"
#include "depth/scene_priors.h"
#include "depth/sky_region.h"

namespace depth {

namespace {

// The longer side of the reduced copy: enough for the layout, the sky and the
// object borders, and small enough that only the last step costs per pixel.
constexpr int kReducedSide = 512;
// The guided filter's window half-size, as a share of the picture's longer side:
// textures finer than this are flattened, objects larger keep their own depth.
constexpr double kRadiusShare = 1.0 / 48.0;
// The guide's variance (brightness from 0 to 1) under which depth is averaged across
// it and above which depth follows its edges: a brightness step of about 0.1.
constexpr float kEdgeVariance = 0.01f;

bool GoOn(core::StageContext& context) {
    if (context.progress.Cancelled()) return false;
    context.progress.Yield();
    return !context.progress.Cancelled();
}

// The cue from 0 to 1 over its own range; a flat cue sits in the middle.
void Normalise(FloatPlane& plane) {
    const auto values = plane.Values();
    if (values.empty()) return;
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    const float low = *lo;
    const float span = *hi - *lo;
    for (float& v : values) v = span > 1e-6f ? (v - low) / span : 0.5f;
}

// Folds a stretch of the filtered depth to the range 0..1 into its coefficients.
void StretchToFullRange(GuidedCoefficients& c, const FloatPlane& guide) {
    const auto a = c.a.Values();
    const auto b = c.b.Values();
    const auto g = guide.Values();
    float low = 1e30f, high = -1e30f;
    for (std::size_t k = 0; k < a.size(); ++k) {
        const float q = a[k] * g[k] + b[k];
        low = std::min(low, q);
        high = std::max(high, q);
    }
    const float span = high - low;
    if (!(span > 1e-6f)) return;
    for (std::size_t k = 0; k < a.size(); ++k) {
        a[k] /= span;
        b[k] = (b[k] - low) / span;
    }
}

// Where a picture coordinate falls between the centres of two reduced pixels.
struct Between {
    int first;
    int second;
    float weight;  // of the second
};

Between Locate(int coordinate, int factor, int reduced_size) {
    const float at = (static_cast<float>(coordinate) + 0.5f) / static_cast<float>(factor) - 0.5f;
    const int first = std::clamp(static_cast<int>(std::floor(at)), 0, reduced_size - 1);
    const int second = std::min(first + 1, reduced_size - 1);
    return {first, second, std::clamp(at - static_cast<float>(first), 0.0f, 1.0f)};
}

// The fitted coefficients carried up to every picture pixel between the centres of
// the reduced ones, applied to the pixel's own brightness: the picture's full detail
// shapes the depth at edges without costing a full-size filter.
void WriteDepth(const core::PixelGrid& picture, const ChannelRange& range,
                const GuidedCoefficients& c, int factor, float top, core::PixelGrid& map) {
    const int width = picture.Width();
    const int reduced_width = c.a.Width();
    std::vector<Between> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        columns[static_cast<std::size_t>(x)] = Locate(x, factor, reduced_width);
    std::vector<float> row_a(static_cast<std::size_t>(reduced_width));
    std::vector<float> row_b(static_cast<std::size_t>(reduced_width));
    const LumaWeights luma(range);
    for (int y = 0; y < picture.Height(); ++y) {
        const Between rows = Locate(y, factor, c.a.Height());
        for (int x = 0; x < reduced_width; ++x) {
            const auto i = static_cast<std::size_t>(x);
            row_a[i] =
                c.a(x, rows.first) + rows.weight * (c.a(x, rows.second) - c.a(x, rows.first));
            row_b[i] =
                c.b(x, rows.first) + rows.weight * (c.b(x, rows.second) - c.b(x, rows.first));
        }
        const auto cells = picture.Row(y);
        const auto out = map.Row(y);
        for (std::size_t x = 0; x < cells.size(); ++x) {
            const Between& at = columns[x];
            const auto p = static_cast<std::size_t>(at.first);
            const auto q = static_cast<std::size_t>(at.second);
            const float a = row_a[p] + at.weight * (row_a[q] - row_a[p]);
            const float b = row_b[p] + at.weight * (row_b[q] - row_b[p]);
            const float depth = std::clamp(a * luma(cells[x]) + b, 0.0f, 1.0f);
            const auto v = static_cast<std::uint8_t>(depth * top + 0.5f);
            out[x] = {v, v, v};
        }
    }
}

}  // namespace

core::Scene SceneDepth(core::StageContext& context, core::Scene scene) {
    if (scene == core::Scene::kClassic) return scene;
    platform::PictureSurface& depth = context.surfaces.picDepth;
    core::PixelGrid picture, map;
    std::int16_t picture_bits = 0, map_bits = 0;
    DDBHelper::GetBitmapPixels(context.surfaces.picOriginal, picture, picture_bits);
    DDBHelper::GetBitmapPixels(depth, map, map_bits);
    const int width = picture.Width();
    const int height = picture.Height();
    if (width == 0 || height == 0 || map.Width() != width || map.Height() != height)
        return core::Scene::kClassic;
    if (!GoOn(context)) return core::Scene::kClassic;

    const ChannelRange range = ChannelRangeOf(picture_bits);
    const int factor = ReductionFactor(width, height, kReducedSide);
    ReducedPicture reduced = Reduce(picture, map, range, factor);
    const SkyRegion sky = FindSky(reduced);
    if (scene == core::Scene::kAuto) scene = PickScene(GatherEvidence(reduced, sky));

    const int radius =
        std::max(1, static_cast<int>(std::lround(std::max(width, height) * kRadiusShare / factor)));
    Normalise(reduced.cue);
    const FloatPlane combined = CombineWithLayout(BoxMean(reduced.cue, radius), scene, sky);
    GuidedCoefficients fit =
        GuidedFilterCoefficients(reduced.luma, combined, radius, kEdgeVariance);
    StretchToFullRange(fit, reduced.luma);
    if (!GoOn(context)) return core::Scene::kClassic;

    WriteDepth(picture, range, fit, factor, ChannelRangeOf(map_bits).red, map);
    DDBHelper::SetBitmapPixels(depth, map_bits, map);
    depth.AssignImageToPicture();
    return scene;
}

}  // namespace depth
