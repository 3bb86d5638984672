// Cues 0 to 4, whose grey depends on the pixel alone.
#include <algorithm>

#include "depth/cue_frame.h"
#include "depth/cue_greys.h"
#include "depth/gray_scale.h"
#include "depth/rounded_quotients.h"

namespace GrayScale {

namespace {

using core::PixelTriple;
using detail::RunPointCue;

auto MeanOfThree() {
    return [](const PixelTriple& p) {
        return static_cast<std::uint8_t>(
            ::depth::RoundedThird(static_cast<std::uint16_t>(p.Red + p.Green + p.Blue)));
    };
}

template <std::uint8_t PixelTriple::*A, std::uint8_t PixelTriple::*B>
auto MeanOfTwo() {
    return [](const PixelTriple& p) {
        return static_cast<std::uint8_t>(
            ::depth::RoundedHalf(static_cast<std::uint16_t>(p.*A + p.*B)));
    };
}

template <std::uint8_t PixelTriple::*Channel>
auto OneChannel() {
    return [](const PixelTriple& p) { return p.*Channel; };
}

}  // namespace

void GrayFromMean(core::StageContext& context, platform::PictureSurface& original,
                  platform::PictureSurface& depth) {
    RunPointCue(context, original, depth, MeanOfThree());
}

void GrayFromWeights(core::StageContext& context, platform::PictureSurface& original,
                     platform::PictureSurface& depth) {
    RunPointCue(context, original, depth, detail::WeightedGrey());
}

void GrayFromColor(core::StageContext& context, platform::PictureSurface& original,
                   platform::PictureSurface& depth, std::int16_t cue_color) {
    context.host.Yield();
    switch (cue_color) {
        case 0:
            RunPointCue(context, original, depth, OneChannel<&PixelTriple::Red>());
            break;
        case 1:
            RunPointCue(context, original, depth, OneChannel<&PixelTriple::Green>());
            break;
        case 2:
            RunPointCue(context, original, depth, OneChannel<&PixelTriple::Blue>());
            break;
        // "Yellow" has always taken red with blue, and "Magenta" red with green.
        case 3:
            RunPointCue(context, original, depth,
                        MeanOfTwo<&PixelTriple::Red, &PixelTriple::Blue>());
            break;
        case 4:
            RunPointCue(context, original, depth,
                        MeanOfTwo<&PixelTriple::Red, &PixelTriple::Green>());
            break;
        case 5:
            RunPointCue(context, original, depth,
                        MeanOfTwo<&PixelTriple::Green, &PixelTriple::Blue>());
            break;
        default:
            RunPointCue(context, original, depth, MeanOfThree());
            break;
    }
}

void GrayFromLightness(core::StageContext& context, platform::PictureSurface& original,
                       platform::PictureSurface& depth) {
    // Selects on ints, which the compiler keeps free of branches: on a noisy picture
    // the order of the channels changes from pixel to pixel and branches would miss.
    RunPointCue(context, original, depth, [](const PixelTriple& p) {
        const int r = p.Red;
        const int g = p.Green;
        const int b = p.Blue;
        const int low_rg = r < g ? r : g;
        const int high_rg = r < g ? g : r;
        const int smallest = low_rg < b ? low_rg : b;
        const int largest = high_rg < b ? b : high_rg;
        return static_cast<std::uint8_t>(
            ::depth::RoundedHalf(static_cast<std::uint16_t>(smallest + largest)));
    });
}

void GrayFromMaximum(core::StageContext& context, platform::PictureSurface& original,
                     platform::PictureSurface& depth) {
    RunPointCue(context, original, depth,
                [](const PixelTriple& p) { return std::max(std::max(p.Red, p.Green), p.Blue); });
}

}  // namespace GrayScale
