#pragma once
// The settings one conversion runs with: the starting values (the defaults, or the
// desktop program's saved settings), with the command line's choices laid over them.
#include "conversion/run.h"
#include "tools/convert_options.h"

namespace convert_tool {

using RunSettings = conversion::Choices;

// The choices go on in a fixed order: the Cues entry first, as the menu would set
// it, then the raw cue numbers (which is how cues 1 and 5 are reached), then the rest.
void ApplyChoices(const SettingChoices& choices, RunSettings& run);

// The starting values, then the choices.
RunSettings ResolveSettings(const ConvertOptions& options);

}  // namespace convert_tool
