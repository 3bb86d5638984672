#pragma once
// Everything an image stage may touch: the surfaces, the settings, the values the
// dialogs set, the caller's progress, and the count of polled rows.
#include "core/conversion_settings.h"
#include "core/parallax_choices.h"
#include "core/progress.h"
#include "core/tavs_mod.h"
#include "core/workspace.h"

namespace core {

// How far one run has got; belongs to that run alone.
struct RunState {
    long long polls = 0;           // rows (passes, for the banded cue) polled so far
    long long expected_polls = 0;  // what a run with a cue from 0 to 4 polls in all
};

struct StageContext {
    Workspace& surfaces;
    const ConversionSettings& settings;
    const TavsMod::Values& globals;
    Progress& progress;
    RunState& run;
    const ParallaxChoices& parallax;
};

// The rule every polling stage follows after each row (each pass, for the banded
// cue): report one more row done, then either stop (false: the run was cancelled,
// and the stage must return without writing) or yield once and go on (true).
bool PollAfterRow(StageContext& context);

}  // namespace core
