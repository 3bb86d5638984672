#pragma once
// The bridge between a picture surface's image bitmap, in the display's own pixel
// format, and a PixelGrid. No channel scaling: on 15- and 16-bit displays the grid
// holds the raw field values. Failures are raised (see raised_error.h) and the
// operation goes on with its next step; nothing reaches the caller.
#include <cstdint>

#include "core/pixel_grid.h"
#include "core/raised_error.h"
#include "platform/picture_surface.h"

namespace DDBHelper {

inline constexpr std::int32_t kInvalidDepthError = core::vbObjectError + 1001;
inline constexpr std::int32_t kPaletteError = core::vbObjectError + 1002;

// Replaces `grid` with the surface's image and reports its bits per pixel
// (8, 15, 16, 24 or 32; 15 is told from 16 by a probe of the top-left pixel).
void GetBitmapPixels(platform::PictureSurface& surface, core::PixelGrid& grid,
                     std::int16_t& bits_per_pixel);
// Writes `grid` into the surface's image in the given format and repaints it.
// At 15 and 16 bits the grid's over-range channels are clamped in place.
void SetBitmapPixels(platform::PictureSurface& surface, std::int16_t bits_per_pixel,
                     core::PixelGrid& grid);
// The palette an 8-bit surface's indices refer to. A surface whose picture was
// cleared has none; its indices are then the display's own, so the system palette
// stands in rather than turning every pixel black.
platform::Palette IndexPalette(const platform::PictureSurface& surface);
// Makes the picture's palette an identity copy of the system palette, so that the
// indices of an 8-bit image and the entries read back agree. Yields once.
void MatchColorPalette(platform::PictureSurface& surface);

}  // namespace DDBHelper
