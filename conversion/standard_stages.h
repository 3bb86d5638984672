#pragma once
#include "conversion/stage_table.h"

namespace conversion {

// Every stage of a conversion, as the desktop program and the converter run them.
const StageTable& StandardStages();

}  // namespace conversion
