#pragma once
// Every picture of one command line, one after another.
#include "tools/convert_options.h"
#include "tools/run_settings.h"

namespace convert_tool {

// Converts every input, going on past failures, each of which gets its line on
// stderr. Returns the exit status: 0 when every picture converted, 1 otherwise.
int RunBatch(const ConvertOptions& options, const RunSettings& run);

}  // namespace convert_tool
