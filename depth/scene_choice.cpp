#include "depth/scene_choice.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace depth {

namespace {

constexpr double kSkyShare = 0.05;     // of the picture: a sky worth the name
constexpr float kHorizonStep = 0.08f;  // brightness step between two rows' pixels
constexpr double kHorizonSpan = 0.6;   // of the width, on one row
constexpr double kFlatSpread = 0.04;   // brightness standard deviation of a flat picture
// A centred subject: much of the centre's colour is missing from the border, and the
// centre is sharper than the border (a close-up's background is out of focus). Both
// are asked for, as either alone also holds for scenes with a floor: tried on a
// dozen pictures, these picked the close-ups and left the stereo scenes alone.
constexpr double kSubjectForeign = 0.25;  // share of the centre in colours foreign to the border
constexpr double kSubjectFocus = 1.5;     // centre sharpness over border sharpness
constexpr double kForeignColour = 0.002;  // a colour bin holding less of the border
constexpr double kBorder = 0.12;          // of each side, for the border ring
constexpr double kCentreLow = 0.3;        // the centre box, as shares of each side
constexpr double kCentreHigh = 0.7;
constexpr int kBinsPerChannel = 8;

enum class Part { kCentre, kBorder, kNeither };

Part PartOf(int x, int y, int width, int height) {
    const double sx = (x + 0.5) / width;
    const double sy = (y + 0.5) / height;
    if (sx >= kCentreLow && sx <= kCentreHigh && sy >= kCentreLow && sy <= kCentreHigh)
        return Part::kCentre;
    if (sx < kBorder || sx > 1.0 - kBorder || sy < kBorder || sy > 1.0 - kBorder)
        return Part::kBorder;
    return Part::kNeither;
}

std::size_t ColourBin(const ReducedPicture& p, int x, int y) {
    const auto bin = [](float v) {
        return static_cast<std::size_t>(
            std::clamp(static_cast<int>(v * kBinsPerChannel), 0, kBinsPerChannel - 1));
    };
    return (bin(p.red(x, y)) * kBinsPerChannel + bin(p.green(x, y))) * kBinsPerChannel +
           bin(p.blue(x, y));
}

float Sharpness(const FloatPlane& luma, int x, int y) {
    const int right = std::min(x + 1, luma.Width() - 1);
    const int below = std::min(y + 1, luma.Height() - 1);
    return std::abs(luma(right, y) - luma(x, y)) + std::abs(luma(x, below) - luma(x, y));
}

struct SubjectMeasures {
    double foreign = 0.0;
    double focus = 0.0;
};

SubjectMeasures MeasureSubject(const ReducedPicture& p) {
    const int width = p.luma.Width();
    const int height = p.luma.Height();
    std::vector<double> border_bins(kBinsPerChannel * kBinsPerChannel * kBinsPerChannel, 0.0);
    double border_count = 0.0, border_sharpness = 0.0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (PartOf(x, y, width, height) != Part::kBorder) continue;
            border_bins[ColourBin(p, x, y)] += 1.0;
            border_sharpness += Sharpness(p.luma, x, y);
            border_count += 1.0;
        }
    }
    double centre_count = 0.0, foreign = 0.0, centre_sharpness = 0.0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (PartOf(x, y, width, height) != Part::kCentre) continue;
            const double share =
                border_count > 0 ? border_bins[ColourBin(p, x, y)] / border_count : 0;
            foreign += share < kForeignColour ? 1.0 : 0.0;
            centre_sharpness += Sharpness(p.luma, x, y);
            centre_count += 1.0;
        }
    }
    if (centre_count == 0 || border_count == 0) return {};
    return {foreign / centre_count,
            (centre_sharpness / centre_count) / (border_sharpness / border_count + 1e-3)};
}

bool HasHorizon(const FloatPlane& luma) {
    const int width = luma.Width();
    for (int y = 1; y + 1 < luma.Height(); ++y) {
        int steps = 0;
        for (int x = 0; x < width; ++x)
            steps += std::abs(luma(x, y + 1) - luma(x, y - 1)) >= kHorizonStep ? 1 : 0;
        if (steps >= kHorizonSpan * width) return true;
    }
    return false;
}

double BrightnessSpread(const FloatPlane& luma) {
    const auto values = luma.Values();
    if (values.empty()) return 0.0;
    double sum = 0.0, squares = 0.0;
    for (const float v : values) {
        sum += v;
        squares += static_cast<double>(v) * v;
    }
    const double n = static_cast<double>(values.size());
    return std::sqrt(std::max(squares / n - (sum / n) * (sum / n), 0.0));
}

}  // namespace

SceneEvidence GatherEvidence(const ReducedPicture& picture, const SkyRegion& sky) {
    const SubjectMeasures subject = MeasureSubject(picture);
    return {sky.share, HasHorizon(picture.luma), subject.foreign, subject.focus,
            BrightnessSpread(picture.luma)};
}

core::Scene PickScene(const SceneEvidence& evidence) {
    if (evidence.sky_share >= kSkyShare || evidence.horizon) return core::Scene::kLandscape;
    if (evidence.subject_foreign >= kSubjectForeign && evidence.subject_focus >= kSubjectFocus)
        return core::Scene::kPortrait;
    if (evidence.brightness_spread < kFlatSpread) return core::Scene::kFlat;
    return core::Scene::kLandscape;
}

std::string_view SceneName(core::Scene scene) {
    switch (scene) {
        case core::Scene::kAuto:
            return "auto";
        case core::Scene::kLandscape:
            return "landscape";
        case core::Scene::kPortrait:
            return "portrait";
        case core::Scene::kFlat:
            return "flat";
        case core::Scene::kClassic:
            break;
    }
    return "classic";
}

}  // namespace depth
