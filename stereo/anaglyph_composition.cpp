#include "stereo/anaglyph_composition.h"

#include "stereo/added_depth_shift.h"
#include "stereo/channel_masks.h"
#include "stereo/paint_picture.h"
#include "stereo/palette_join.h"
#include "stereo/view_synthesis.h"

namespace stereo {

namespace {

void SizeLike(platform::PictureSurface& surface, const platform::PictureSurface& model) {
    surface.SetWidth(model.Width());
    surface.SetHeight(model.Height());
}

void MakeMasks(core::StageContext& context, platform::PictureSurface& first,
               platform::PictureSurface& second) {
    core::Workspace& s = context.surfaces;
    if (context.settings.Lens == 0) {  // "Red - Blue": red from the first view
        MakeRedOnly(context, first, s.PicRed);
        MakeCyanOnly(context, second, s.PicBlue);
    } else {
        MakeCyanOnly(context, first, s.PicRed);
        MakeRedOnly(context, second, s.PicBlue);
    }
}

void ShowFinal(core::Workspace& s) {
    s.PicFinal.AssignImageToPicture();
    s.picOriginal.SetPicture(s.PicFinal.ImageAsPicture());
    s.picOriginal.AssignImageToPicture();
}

// On a palette display the masks are joined as colours (see stereo/palette_join.h);
// on every other display their fields do not overlap, and the OR of the bits is the
// join.
void JoinMasks(const platform::PictureSurface& second, platform::PictureSurface& joined) {
    if (joined.Image().BitsPixel() == 8)
        JoinPaletteMasks(second, joined);
    else
        PaintPictureOr(second, joined);
}

void AddDepth(core::StageContext& context) {
    core::Workspace& s = context.surfaces;
    const core::LongStepScope long_step(context.progress);
    ShiftPicture(context, s.PicBlue, s.PicBlue, context.globals.glbShift);
}

}  // namespace

void MakeAnaglyph(core::StageContext& context) {
    MakeSecondView(context);
    JoinAnaglyph(context, context.surfaces.picOriginal, context.surfaces.picResult);
}

void JoinAnaglyph(core::StageContext& context, platform::PictureSurface& first,
                  platform::PictureSurface& second) {
    core::Workspace& s = context.surfaces;
    s.PicRed.ClearPicture();
    s.PicBlue.ClearPicture();
    s.PicFinal.ClearPicture();
    SizeLike(s.PicRed, s.picOriginal);
    SizeLike(s.PicBlue, s.picOriginal);
    SizeLike(s.PicFinal, s.picOriginal);

    core::LetGoUnlessKept(context, s.picDepth);
    MakeMasks(context, first, second);
    if (context.settings.DoShift) AddDepth(context);

    // A mask that was cancelled left its surface without a picture; then PicFinal
    // keeps its cleared image.
    if (s.PicRed.HasPicture() && s.PicBlue.HasPicture()) {
        if (context.run.keep_stage_views) {
            s.PicFinal.SetPicture(s.PicRed.ImageAsPicture());
            s.PicFinal.AssignImageToPicture();
            JoinMasks(s.PicBlue, s.PicFinal);
        } else {
            // The first mask's bytes move to PicFinal and the second is ORed onto them
            // in place: no surface holds them any more, so nothing needs a copy.
            platform::Bitmap red = s.PicRed.Image();
            s.PicRed.ClearPicture();
            s.PicFinal.ReplaceImage(std::move(red));
            JoinMasks(s.PicBlue, s.PicFinal);
            s.PicBlue.ClearPicture();
        }
    }
    ShowFinal(s);
}

void ShowAnaglyph(core::Workspace& surfaces, platform::Bitmap joined) {
    surfaces.PicFinal.ReplaceImage(std::move(joined));
    ShowFinal(surfaces);
}

}  // namespace stereo
