#pragma once
// Depth maps from other programs (a depth estimator's output): any grey picture Qt
// reads, white near, brought to the picture's size.
#include <QString>
#include <optional>

#include "core/depth_levels.h"
#include "io/picture_io.h"

namespace pictureio {

struct LoadedDepth {
    std::optional<core::DepthLevels> levels;
    FileError error;  // set when levels is empty
};

// Reads the file as levels 0 (far) to 255 (near), `width` x `height`. A colour picture
// is turned grey by its luminance, a 16-bit one rounded to 8 bits; a map of another
// size is resized with a smooth filter. `black_near` turns a map whose black is near
// the right way round.
LoadedDepth LoadDepthFile(const QString& path, int width, int height, bool black_near);

}  // namespace pictureio
