#pragma once
// The smoothing filters. Each reads the source twice, into an input grid and an
// output grid, computes every interior pixel of the output from the 3 x 3 window
// around it in the input (which is never written, so no result feeds another), and
// writes the output to the destination: the outermost rows and columns keep the
// source's pixels, and a source under 3 pixels high or wide comes out unchanged.
// None polls or moves the progress band; on 15- and 16-bit displays they compute on
// the raw field values alike.
#include <cstdint>
#include <span>

#include "core/stage_context.h"
#include "platform/picture_surface.h"

namespace Blurs {

// "Smere": per channel, (8 x centre + the eight neighbours) / 16, a half to even.
void SmereDepth(core::StageContext& context, platform::PictureSurface& surface);
// "Blur": per channel, the nine cells / 9.
void BlurDepth(core::StageContext& context, platform::PictureSurface& source,
               platform::PictureSurface& destination);
// "Mean": grey, the mean of the nine cell greys.
void MeanDepth(core::StageContext& context, platform::PictureSurface& source,
               platform::PictureSurface& destination);
// "Median": grey, the median of the nine cell greys.
void MedianDepth(core::StageContext& context, platform::PictureSurface& source,
                 platform::PictureSurface& destination);
// "Max": a copy of the cell with the greatest grey, the first in raster order on a
// tie (top-left first). Yields once before it starts.
void MaxDepth(core::StageContext& context, platform::PictureSurface& source,
              platform::PictureSurface& destination);

// The middle value of an odd count of values, the lower middle of an even count, 0
// for none; the values are left as they are.
std::int16_t GetMedian(std::span<const std::int16_t> values);

}  // namespace Blurs
