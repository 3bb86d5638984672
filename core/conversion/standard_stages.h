#pragma once
#include "core/pipeline.h"

namespace core {

// Every stage of a conversion, as the desktop program and the converter run them.
StageTable StandardStages();

}  // namespace core
