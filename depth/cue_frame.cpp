#include "depth/cue_frame.h"

#include "core/ddb_helper.h"

namespace GrayScale::detail {

void PrepareDepth(const platform::PictureSurface& original, platform::PictureSurface& depth) {
    depth.SetHeight(original.Height());
    depth.SetWidth(original.Width());
    depth.SetPicture(original.ImageAsPicture());
}

CueGrid BeginCue(platform::PictureSurface& original, platform::PictureSurface& depth) {
    PrepareDepth(original, depth);
    CueGrid cue;
    DDBHelper::GetBitmapPixels(original, cue.grid, cue.bits_per_pixel);
    return cue;
}

void EndCue(platform::PictureSurface& depth, CueGrid& cue) {
    DDBHelper::SetBitmapPixels(depth, cue.bits_per_pixel, cue.grid);
    depth.AssignImageToPicture();
}

}  // namespace GrayScale::detail
