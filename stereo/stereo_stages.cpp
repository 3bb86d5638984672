#include "stereo/stereo_stages.h"

#include "stereo/anaglyph_composition.h"
#include "stereo/frame.h"

namespace stereo {

void FillStereoStages(core::StageTable& table) {
    table.anaglyph = MakeAnaglyph;
    table.frame = [](core::StageContext& context) {
        DrawFrame(context, context.surfaces.picOriginal);
    };
}

}  // namespace stereo
