#include "stereo/scaled_stereo_picture.h"

#include "stereo/anaglyph_composition.h"
#include "stereo/direct_views.h"
#include "stereo/scaled_views.h"
#include "stereo/stereo_composition.h"

namespace stereo {

namespace {

bool ClassicJoin(const core::StageContext& context) {
    return !context.stereo || context.stereo->Classic();
}

// Added depth shifts the whole second mask, which a row at a time cannot do.
bool JoinsWhileWarping(const core::StageContext& context) {
    return !context.run.keep_stage_views && ClassicJoin(context) && !context.settings.DoShift &&
           CanWarpImagesDirectly(context.surfaces);
}

void JoinWhileWarping(core::StageContext& context) {
    core::Workspace& surfaces = context.surfaces;
    const int width = surfaces.picOriginal.ScaleWidth();
    // The masks' two passes over the rows are not made.
    context.run.expected_polls -= 2LL * surfaces.picOriginal.ScaleHeight();
    auto anaglyph = WarpIntoAnaglyph(context, ShiftsOfView(context.parallax, width, true),
                                     ShiftsOfView(context.parallax, width, false));
    if (!anaglyph) return;
    core::LetGoUnlessKept(context, surfaces.picDepth);
    ShowAnaglyph(surfaces, std::move(*anaglyph));
}

}  // namespace

void MakeScaledStereoPicture(core::StageContext& context) {
    if (JoinsWhileWarping(context)) {
        JoinWhileWarping(context);
        return;
    }
    MakeScaledViews(context);
    if (context.progress.Cancelled()) return;
    if (ClassicJoin(context))
        JoinAnaglyph(context, context.surfaces.picLeft, context.surfaces.picResult);
    else
        ComposeStereoPicture(context, context.surfaces.picLeft);
}

}  // namespace stereo
