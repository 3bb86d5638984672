#pragma once
// Blank images handed out copy on write. Surfaces of one size and background that are
// cleared one after another (the anaglyph's three work surfaces, say) get the same
// bytes instead of each filling tens of megabytes; the first one drawn on takes a
// fresh copy of its own, as any shared bitmap does. The cache keeps no bytes alive:
// once no surface holds the last blank any more, the next one is filled afresh.
// Single-threaded, like the surfaces that use it.
#include <cstdint>
#include <memory>

#include "platform/bitmap.h"

namespace platform {

class BlankImages {
  public:
    // A new, unshared bitmap whose every pixel is `pixel` (its low bytes, little
    // endian), row padding 0.
    static Bitmap Filled(int width, int height, int bits_pixel, std::uint32_t pixel);
    // The same bytes as Filled gives, shared with the last blank of this shape and
    // pixel while some bitmap still holds that blank.
    Bitmap Shared(int width, int height, int bits_pixel, std::uint32_t pixel);

  private:
    int width_ = -1;
    int height_ = -1;
    int bits_pixel_ = -1;
    std::uint32_t pixel_ = 0;
    std::weak_ptr<std::uint8_t[]> bits_;
};

}  // namespace platform
