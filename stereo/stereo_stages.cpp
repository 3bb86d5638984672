#include "stereo/stereo_stages.h"

namespace stereo {

void FillStereoStages(core::StageTable& /*table*/) {}

}  // namespace stereo
