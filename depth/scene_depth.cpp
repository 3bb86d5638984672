#include "depth/scene_depth.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "depth/guided_filter.h"
#include "depth/pixel_rows.h"
#include "depth/reduced_picture.h"
#include "depth/scene_choice.h"
#include "depth/scene_priors.h"
#include "depth/sky_region.h"
#include "depth/upsampled_depth.h"

namespace depth {

namespace {

// The longer side of the reduced copy: enough for the layout, the sky and the
// object borders, and small enough that only the last step costs per pixel. The
// stereo scenes of bench/depth_quality.py rank the same at 256 as at 512, where the
// work on the reduced copy cost a fifth of the classic stages at 12 megapixels.
constexpr int kReducedSide = 256;
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

// The picture and its classic depth map brought down together; nothing when the map
// is not the picture's size. Either one's full-size copy, where its format needs one,
// is let go before the depth is written.
struct ReducedSurfaces {
    ReducedPicture reduced;
    int width = 0;
    int height = 0;
    std::int16_t depth_bits = 0;
};

std::optional<ReducedSurfaces> ReduceSurfaces(core::StageContext& context) {
    const PixelRows picture(context.surfaces.picOriginal);
    const PixelRows map(context.surfaces.picDepth);
    const int width = picture.Width();
    const int height = picture.Height();
    if (width == 0 || height == 0 || map.Width() != width || map.Height() != height)
        return std::nullopt;
    if (!GoOn(context)) return std::nullopt;
    const int factor = ReductionFactor(width, height, kReducedSide);
    return ReducedSurfaces{Reduce(picture, map, ChannelRangeOf(picture.BitsPerPixel()), factor),
                           width, height, map.BitsPerPixel()};
}

}  // namespace

core::Scene SceneDepth(core::StageContext& context, core::Scene scene) {
    if (scene == core::Scene::kClassic) return scene;
    std::optional<ReducedSurfaces> surfaces = ReduceSurfaces(context);
    if (!surfaces) return core::Scene::kClassic;
    ReducedPicture& reduced = surfaces->reduced;
    const SkyRegion sky = FindSky(reduced);
    if (scene == core::Scene::kAuto) scene = PickScene(GatherEvidence(reduced, sky));

    const int radius =
        std::max(1, static_cast<int>(std::lround(std::max(surfaces->width, surfaces->height) *
                                                 kRadiusShare / reduced.factor)));
    Normalise(reduced.cue);
    const FloatPlane combined = CombineWithLayout(BoxMean(reduced.cue, radius), scene, sky);
    GuidedCoefficients fit =
        GuidedFilterCoefficients(reduced.luma, combined, radius, kEdgeVariance);
    StretchToFullRange(fit, reduced.luma);
    if (!GoOn(context)) return core::Scene::kClassic;

    platform::PictureSurface& depth = context.surfaces.picDepth;
    WriteUpsampledDepth(reduced.guide, surfaces->height, fit, reduced.factor, depth,
                        surfaces->depth_bits);
    depth.AssignImageToPicture();
    return scene;
}

}  // namespace depth
