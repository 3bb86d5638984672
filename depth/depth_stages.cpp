#include "depth/depth_stages.h"

#include "depth/blurs.h"
#include "depth/centre_depth.h"
#include "depth/gray_scale.h"
#include "depth/invert_depth.h"
#include "depth/warp_depth_map.h"

namespace depth {

void FillDepthStages(core::StageTable& table) {
    using core::StageContext;
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
    table.invert = [](StageContext& c) { InvertDepth(c); };
    table.centre = [](StageContext& c) { CentreDepth(c); };
    table.warp = [](StageContext& c) { WarpDepthMap(c, c.surfaces.picDepth); };
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
}

}  // namespace depth
