#pragma once
// The depth cues: each turns the colour picture of `original` into a grey depth map
// on `depth`. A cue first gives `depth` a colour copy of the original (which is what
// stays there when the run is cancelled), turns every pixel grey in a grid of its
// own, polls after every row, and only then writes the grid and makes it the
// picture of `depth`. `original` is never changed.
#include <array>
#include <cstdint>
#include <string_view>

#include "core/conversion_settings.h"
#include "core/stage_context.h"
#include "platform/picture_surface.h"

namespace GrayScale {

// DepthCue 0: the channel mean.
void GrayFromMean(core::StageContext& context, platform::PictureSurface& original,
                  platform::PictureSurface& depth);
// DepthCue 1: weights 0.222, 0.707, 0.071 for red, green, blue.
void GrayFromWeights(core::StageContext& context, platform::PictureSurface& original,
                     platform::PictureSurface& depth);
// DepthCue 2: one channel or the mean of two, by cue_color (0 red, 1 green, 2 blue,
// 3 "Yellow" = red with blue, 4 "Magenta" = red with green, 5 "Cyan" = green with
// blue); any other cue_color gives the mean of all three. Yields once on entry.
void GrayFromColor(core::StageContext& context, platform::PictureSurface& original,
                   platform::PictureSurface& depth, std::int16_t cue_color);
// DepthCue 3: the middle of the largest and the smallest channel.
void GrayFromLightness(core::StageContext& context, platform::PictureSurface& original,
                       platform::PictureSurface& depth);
// DepthCue 4: the largest channel.
void GrayFromMaximum(core::StageContext& context, platform::PictureSurface& original,
                     platform::PictureSurface& depth);
// DepthCue 5: the mean, banded down to 0, 25, ..., 225, 250; a mean of 255 matches
// no band and the pixel keeps its own colour. Polls once per band, eleven times.
void GrayFromBands(core::StageContext& context, platform::PictureSurface& original,
                   platform::PictureSurface& depth);

// Captions of the Cues menu entries, by entry index.
inline constexpr std::array<std::string_view, 10> kCueCaptions = {
    "RGB", "UTI", "Red", "Green", "Blue", "Yellow", "Magenta", "Cyan", "Luminance", "Saturation"};

// What choosing Cues entry `index` does to the settings: DepthCue, CueColor (colour
// entries only) and Cue. An index outside 0..9 changes nothing. Checking the entry
// is the window's part.
void SelectCue(core::ConversionSettings& settings, std::int16_t index);

}  // namespace GrayScale
