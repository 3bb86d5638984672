#include "stereo/anaglyph_composition.h"

#include <exception>
#include <string>

#include "core/pipeline.h"
#include "stereo/added_depth_shift.h"
#include "stereo/channel_masks.h"
#include "stereo/paint_picture.h"
#include "stereo/view_synthesis.h"

namespace stereo {

namespace {

// A step that fails (a grid that cannot be allocated) is skipped and the composition
// goes on with its next step, as every stage of a conversion does.
template <typename Step>
void ResumeNext(Step step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

void SizeLike(platform::PictureSurface& surface, const platform::PictureSurface& model) {
    surface.SetWidth(model.Width());
    surface.SetHeight(model.Height());
}

void MakeMasks(core::StageContext& context) {
    core::Workspace& s = context.surfaces;
    if (context.settings.Lens == 0) {  // "Red - Blue": red from the first view
        ResumeNext([&] { MakeRedOnly(context, s.picOriginal, s.PicRed); });
        ResumeNext([&] { MakeCyanOnly(context, s.picResult, s.PicBlue); });
    } else {
        ResumeNext([&] { MakeCyanOnly(context, s.picOriginal, s.PicRed); });
        ResumeNext([&] { MakeRedOnly(context, s.picResult, s.PicBlue); });
    }
}

void AddDepth(core::StageContext& context) {
    const std::string saved = context.host.WindowCaption();
    context.host.SetWindowCaption(core::kPleaseWaitCaption);
    core::Workspace& s = context.surfaces;
    ResumeNext([&] { ShiftPicture(context, s.PicBlue, s.PicBlue, context.globals.glbShift); });
    context.host.SetWindowCaption(saved);
}

}  // namespace

void MakeAnaglyph(core::StageContext& context) {
    core::Workspace& s = context.surfaces;
    ResumeNext([&] { MakeSecondView(context); });

    s.PicRed.ClearPicture();
    s.PicBlue.ClearPicture();
    s.PicFinal.ClearPicture();
    SizeLike(s.PicRed, s.picOriginal);
    SizeLike(s.PicBlue, s.picOriginal);
    SizeLike(s.PicFinal, s.picOriginal);

    MakeMasks(context);
    if (context.settings.DoShift) AddDepth(context);

    // A mask that was cancelled left its surface without a picture; then PicFinal
    // keeps its cleared image.
    if (s.PicRed.HasPicture() && s.PicBlue.HasPicture()) {
        s.PicFinal.SetPicture(s.PicRed.ImageAsPicture());
        s.PicFinal.AssignImageToPicture();
        PaintPictureOr(s.PicBlue, s.PicFinal);
    }
    s.PicFinal.AssignImageToPicture();
    s.picOriginal.SetPicture(s.PicFinal.ImageAsPicture());
    s.picOriginal.AssignImageToPicture();
}

}  // namespace stereo
