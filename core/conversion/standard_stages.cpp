#include "core/conversion/standard_stages.h"

#include "depth/depth_stages.h"
#include "stereo/stereo_stages.h"

namespace core {

StageTable StandardStages() {
    StageTable table;
    depth::FillDepthStages(table);
    stereo::FillStereoStages(table);
    return table;
}

}  // namespace core
