#include "stereo/stereo_composition.h"

#include <stdexcept>
#include <string>

#include "core/ddb_helper.h"
#include "core/pixel_grid.h"
#include "stereo/added_depth_shift.h"
#include "stereo/anaglyph_composition.h"
#include "stereo/field_widths.h"
#include "stereo/stereo_layouts.h"
#include "stereo/view_synthesis.h"

namespace stereo {

namespace {

using core::PixelGrid;

struct ViewGrids {
    PixelGrid left;
    PixelGrid right;
    std::int16_t bits = 0;
};

// The right view, moved by glbShift through PicBlue as the classic join moves it.
void ReadShifted(core::StageContext& context, platform::PictureSurface& view, PixelGrid& grid,
                 std::int16_t& bits) {
    platform::PictureSurface& shifted = context.surfaces.PicBlue;
    shifted.ClearPicture();
    shifted.SetPicture(view.ImageAsPicture());
    {
        const core::LongStepScope long_step(context.progress);
        ShiftPicture(context, shifted, shifted, context.globals.glbShift);
    }
    DDBHelper::GetBitmapPixels(shifted, grid, bits);
}

ViewGrids ReadViews(core::StageContext& context, platform::PictureSurface& left_view) {
    core::Workspace& s = context.surfaces;
    const bool swapped = context.settings.Lens != 0;
    platform::PictureSurface& left = swapped ? s.picResult : left_view;
    platform::PictureSurface& right = swapped ? left_view : s.picResult;
    ViewGrids views;
    std::int16_t right_bits = 0;
    DDBHelper::GetBitmapPixels(left, views.left, views.bits);
    if (context.settings.DoShift)
        ReadShifted(context, right, views.right, right_bits);
    else
        DDBHelper::GetBitmapPixels(right, views.right, right_bits);
    WidenFields(views.left, views.bits);
    WidenFields(views.right, views.bits);
    return views;
}

void CheckSize(ComposedSize size) {
    if (size.width > platform::kMaxBitmapSide || size.height > platform::kMaxBitmapSide)
        throw std::length_error("the two views side by side would be larger than " +
                                std::to_string(platform::kMaxBitmapSide) + " pixels");
}

void ShowComposed(core::Workspace& s, PixelGrid& composed, std::int16_t bits) {
    NarrowFields(composed, bits);
    s.PicFinal.ClearPicture();
    s.PicFinal.Resize(composed.Width(), composed.Height());
    DDBHelper::SetBitmapPixels(s.PicFinal, bits, composed);
    s.PicFinal.AssignImageToPicture();
    s.picOriginal.SetPicture(s.PicFinal.ImageAsPicture());
    s.picOriginal.AssignImageToPicture();
}

}  // namespace

void ComposeStereoPicture(core::StageContext& context, platform::PictureSurface& left_view) {
    ViewGrids views = ReadViews(context, left_view);
    const StereoComposer composer(views.left, views.right, *context.stereo);
    CheckSize(composer.Size());
    PixelGrid composed;
    composed.ResizeForOverwrite(composer.Size().width, composer.Size().height);
    for (int y = 0; y < composed.Height(); ++y) {
        composer.Row(y, composed.Row(y));
        if (!core::PollAfterRow(context)) return;
    }
    ShowComposed(context.surfaces, composed, views.bits);
}

void MakeStereoPicture(core::StageContext& context) {
    if (!context.stereo || context.stereo->Classic()) {
        MakeAnaglyph(context);
        return;
    }
    MakeSecondView(context);
    if (context.progress.Cancelled()) return;
    ComposeStereoPicture(context, context.surfaces.picOriginal);
}

}  // namespace stereo
