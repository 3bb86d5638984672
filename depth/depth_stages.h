#pragma once
#include "core/pipeline.h"

namespace depth {

// Puts this subsystem's stages into the conversion's stage table.
void FillDepthStages(core::StageTable& table);

}  // namespace depth
