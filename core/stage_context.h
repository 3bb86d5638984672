#pragma once
// Everything an image stage may touch: the surfaces, the settings, the values the
// dialogs set, the caller's progress, and the count of polled rows.
#include "core/conversion_settings.h"
#include "core/parallax_choices.h"
#include "core/progress.h"
#include "core/stereo_choices.h"
#include "core/tavs_mod.h"
#include "core/workspace.h"

namespace core {

// How far one run has got; belongs to that run alone.
struct RunState {
    long long polls = 0;           // rows (passes, for the banded cue) polled so far
    long long expected_polls = 0;  // what a run with a cue from 0 to 4 polls in all
    // The caller takes the depth map and the eyes' views back. When it does not, the
    // anaglyph lets each go once it has read it.
    bool keep_stage_views = true;
};

struct StageContext {
    Workspace& surfaces;
    const ConversionSettings& settings;
    const TavsMod::Values& globals;
    Progress& progress;
    RunState& run;
    const ParallaxChoices& parallax;
    const StereoChoices* stereo = nullptr;  // none: the classic anaglyph
};

// The rule every polling stage follows after each row (each pass, for the banded
// cue): report one more row done, then either stop (false: the run was cancelled,
// and the stage must return without writing) or yield once and go on (true).
bool PollAfterRow(StageContext& context);

// A stage done with a view the caller does not take back lets it go, so that the
// whole picture's memory is free for the stages after it.
void LetGoUnlessKept(StageContext& context, platform::PictureSurface& surface);

}  // namespace core
