#include "depth/depth_stages.h"

namespace depth {

void FillDepthStages(core::StageTable& /*table*/) {}

}  // namespace depth
