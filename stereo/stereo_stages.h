#pragma once
#include "core/pipeline.h"

namespace stereo {

// Puts this subsystem's stages into the conversion's stage table.
void FillStereoStages(core::StageTable& table);

}  // namespace stereo
