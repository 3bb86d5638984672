// Cues 0 to 4, whose grey depends on the pixel alone.
#include <algorithm>

#include "core/vector_clones.h"
#include "depth/cue_frame.h"
#include "depth/cue_greys.h"
#include "depth/gray_scale.h"
#include "depth/mean_of_three_row.h"
#include "depth/rounded_quotients.h"

namespace GrayScale {

namespace {

using core::PixelTriple;
using detail::GreyRow;
using detail::RunPointCue;

template <std::uint8_t PixelTriple::*A, std::uint8_t PixelTriple::*B>
std::uint8_t MeanOfTwo(const PixelTriple& p) {
    return static_cast<std::uint8_t>(::depth::RoundedHalf(static_cast<std::uint16_t>(p.*A + p.*B)));
}

template <std::uint8_t PixelTriple::*Channel>
std::uint8_t OneChannel(const PixelTriple& p) {
    return p.*Channel;
}

// Selects on ints, which the compiler keeps free of branches: on a noisy picture the
// order of the channels changes from pixel to pixel and branches would miss.
std::uint8_t Lightness(const PixelTriple& p) {
    const int r = p.Red;
    const int g = p.Green;
    const int b = p.Blue;
    const int low_rg = r < g ? r : g;
    const int high_rg = r < g ? g : r;
    const int smallest = low_rg < b ? low_rg : b;
    const int largest = high_rg < b ? b : high_rg;
    return static_cast<std::uint8_t>(
        ::depth::RoundedHalf(static_cast<std::uint16_t>(smallest + largest)));
}

std::uint8_t Maximum(const PixelTriple& p) {
    return std::max(std::max(p.Red, p.Green), p.Blue);
}

// One row function per grey, each compiled for the vector units that can gather the
// three bytes of a pixel (see core/vector_clones.h).
ZARVIK_VECTOR_CLONES void RedRow(PixelTriple* cells, int count) {
    GreyRow(cells, count, OneChannel<&PixelTriple::Red>);
}
ZARVIK_VECTOR_CLONES void GreenRow(PixelTriple* cells, int count) {
    GreyRow(cells, count, OneChannel<&PixelTriple::Green>);
}
ZARVIK_VECTOR_CLONES void BlueRow(PixelTriple* cells, int count) {
    GreyRow(cells, count, OneChannel<&PixelTriple::Blue>);
}
// "Yellow" has always taken red with blue, and "Magenta" red with green.
ZARVIK_VECTOR_CLONES void YellowRow(PixelTriple* cells, int count) {
    GreyRow(cells, count, MeanOfTwo<&PixelTriple::Red, &PixelTriple::Blue>);
}
ZARVIK_VECTOR_CLONES void MagentaRow(PixelTriple* cells, int count) {
    GreyRow(cells, count, MeanOfTwo<&PixelTriple::Red, &PixelTriple::Green>);
}
ZARVIK_VECTOR_CLONES void CyanRow(PixelTriple* cells, int count) {
    GreyRow(cells, count, MeanOfTwo<&PixelTriple::Green, &PixelTriple::Blue>);
}
ZARVIK_VECTOR_CLONES void LightnessRow(PixelTriple* cells, int count) {
    GreyRow(cells, count, Lightness);
}
ZARVIK_VECTOR_CLONES void MaximumRow(PixelTriple* cells, int count) {
    GreyRow(cells, count, Maximum);
}

}  // namespace

void GrayFromMean(core::StageContext& context, platform::PictureSurface& original,
                  platform::PictureSurface& depth) {
    RunPointCue(context, original, depth, detail::MeanOfThreeRow);
}

void GrayFromWeights(core::StageContext& context, platform::PictureSurface& original,
                     platform::PictureSurface& depth) {
    // Table lookups, which no vector unit here gathers: one plain loop for every target.
    RunPointCue(context, original, depth,
                [weighted = detail::WeightedGrey()](PixelTriple* cells, int count) {
                    GreyRow(cells, count, weighted);
                });
}

void GrayFromColor(core::StageContext& context, platform::PictureSurface& original,
                   platform::PictureSurface& depth, std::int16_t cue_color) {
    context.progress.Yield();
    switch (cue_color) {
        case 0:
            RunPointCue(context, original, depth, RedRow);
            break;
        case 1:
            RunPointCue(context, original, depth, GreenRow);
            break;
        case 2:
            RunPointCue(context, original, depth, BlueRow);
            break;
        case 3:
            RunPointCue(context, original, depth, YellowRow);
            break;
        case 4:
            RunPointCue(context, original, depth, MagentaRow);
            break;
        case 5:
            RunPointCue(context, original, depth, CyanRow);
            break;
        default:
            RunPointCue(context, original, depth, detail::MeanOfThreeRow);
            break;
    }
}

void GrayFromLightness(core::StageContext& context, platform::PictureSurface& original,
                       platform::PictureSurface& depth) {
    RunPointCue(context, original, depth, LightnessRow);
}

void GrayFromMaximum(core::StageContext& context, platform::PictureSurface& original,
                     platform::PictureSurface& depth) {
    RunPointCue(context, original, depth, MaximumRow);
}

}  // namespace GrayScale
