#pragma once
// Everything an image stage may touch: the surfaces, the settings, the
// process-wide values and the host window.
#include "core/conversion_host.h"
#include "core/conversion_settings.h"
#include "core/tavs_mod.h"
#include "core/workspace.h"

namespace core {

struct StageContext {
    Workspace& surfaces;
    ConversionSettings& settings;
    TavsMod::Values& globals;
    ConversionHost& host;
};

// The rule every polling stage follows after each row (each pass, for the banded
// cue): grow the band by one step, then either stop (false: the run was cancelled,
// and the stage must return without writing) or yield once and go on (true).
bool PollAfterRow(StageContext& context);

}  // namespace core
