#pragma once
// How a picture file becomes the picture a conversion starts from.
#include <cstdint>

namespace core {

struct PictureChoices {
    // What transparent and partly transparent pixels are laid over, as 0xRRGGBB.
    // The colour hidden under a transparent pixel is not part of the picture.
    std::uint32_t background = 0xFFFFFF;

    friend bool operator==(const PictureChoices&, const PictureChoices&) = default;
};

}  // namespace core
