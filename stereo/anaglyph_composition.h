#pragma once
// The anaglyph: the red channel of one view joined with the green and blue of the
// other, left as the picture of picOriginal.
#include "core/stage_context.h"

namespace stereo {

// Makes the second view, masks the first view into PicRed and the second into
// PicBlue (the lens order decides which view gives red), shifts PicBlue when
// "Added Depth" is on, ORs the masks together in PicFinal and makes the result the
// picture of picOriginal. Does not look at the run flag itself; when a mask is
// cancelled, PicFinal and then picOriginal show PicFinal's cleared image.
void MakeAnaglyph(core::StageContext& context);

// The join alone, from two views already made: the first (left) view's mask and the
// second (right) view's, as MakeAnaglyph joins the picture and its second view.
// The scaled strength joins picLeft with picResult through it.
void JoinAnaglyph(core::StageContext& context, platform::PictureSurface& first,
                  platform::PictureSurface& second);

// A joined anaglyph made elsewhere, put where JoinAnaglyph puts its own: PicFinal's
// image, and the picture of picOriginal.
void ShowAnaglyph(core::Workspace& surfaces, platform::Bitmap joined);

}  // namespace stereo
