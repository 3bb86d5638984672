#include "conversion/standard_stages.h"

#include "depth/blurs.h"
#include "depth/centre_depth.h"
#include "depth/gray_scale.h"
#include "depth/invert_depth.h"
#include "depth/warp_depth_map.h"
#include "stereo/anaglyph_composition.h"
#include "stereo/frame.h"
#include "stereo/scaled_stereo_picture.h"
#include "stereo/stereo_composition.h"

namespace conversion {

using core::StageContext;

namespace {

StageTable MakeStandardStages() {
    StageTable table;
    table.cues = {
        [](StageContext& c) {
            GrayScale::GrayFromMean(c, c.surfaces.picOriginal, c.surfaces.picDepth);
        },
        [](StageContext& c) {
            GrayScale::GrayFromWeights(c, c.surfaces.picOriginal, c.surfaces.picDepth);
        },
        [](StageContext& c) {
            GrayScale::GrayFromColor(c, c.surfaces.picOriginal, c.surfaces.picDepth,
                                     c.settings.CueColor);
        },
        [](StageContext& c) {
            GrayScale::GrayFromLightness(c, c.surfaces.picOriginal, c.surfaces.picDepth);
        },
        [](StageContext& c) {
            GrayScale::GrayFromMaximum(c, c.surfaces.picOriginal, c.surfaces.picDepth);
        },
        [](StageContext& c) {
            GrayScale::GrayFromBands(c, c.surfaces.picOriginal, c.surfaces.picDepth);
        },
    };
    table.invert = [](StageContext& c) { depth::InvertDepth(c); };
    table.centre = [](StageContext& c) { depth::CentreDepth(c); };
    table.warp = [](StageContext& c) { depth::WarpDepthMap(c, c.surfaces.picDepth); };
    table.blurs[1] = [](StageContext& c) { Blurs::SmereDepth(c, c.surfaces.picDepth); };
    table.blurs[2] = [](StageContext& c) {
        Blurs::BlurDepth(c, c.surfaces.picDepth, c.surfaces.picDepth);
    };
    table.blurs[3] = [](StageContext& c) {
        Blurs::MeanDepth(c, c.surfaces.picDepth, c.surfaces.picDepth);
    };
    table.blurs[4] = [](StageContext& c) {
        Blurs::MedianDepth(c, c.surfaces.picDepth, c.surfaces.picDepth);
    };
    table.blurs[5] = [](StageContext& c) {
        Blurs::MaxDepth(c, c.surfaces.picDepth, c.surfaces.picDepth);
    };
    table.anaglyph = stereo::MakeStereoPicture;
    table.scaled_anaglyph = stereo::MakeScaledStereoPicture;
    table.frame = [](StageContext& c) { stereo::DrawFrame(c, c.surfaces.picOriginal); };
    return table;
}

}  // namespace

const StageTable& StandardStages() {
    static const StageTable table = MakeStandardStages();
    return table;
}

}  // namespace conversion
