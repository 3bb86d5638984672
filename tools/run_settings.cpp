#include "tools/run_settings.h"

#include "depth/gray_scale.h"
#include "io/settings_store.h"

namespace convert_tool {

namespace {

template <typename T>
void SetIfGiven(T& field, const std::optional<T>& choice) {
    if (choice) field = *choice;
}

}  // namespace

void ApplyChoices(const SettingChoices& choices, RunSettings& run) {
    core::ConversionSettings& s = run.settings;
    TavsMod::Values& v = run.values;
    if (choices.cue) GrayScale::SelectCue(s, *choices.cue);
    SetIfGiven(s.DepthCue, choices.depth_cue);
    SetIfGiven(s.CueColor, choices.cue_color);
    SetIfGiven(s.BlurChoice, choices.blur_choice);
    SetIfGiven(s.DoWarp, choices.do_warp);
    SetIfGiven(v.glbWarp, choices.warp);
    SetIfGiven(s.DoShift, choices.do_shift);
    SetIfGiven(v.glbShift, choices.shift);
    SetIfGiven(v.Depth, choices.levels);
    SetIfGiven(s.Lens, choices.lens);
    SetIfGiven(s.ShowFrame, choices.show_frame);
    SetIfGiven(s.FrameType, choices.frame_type);
    SetIfGiven(s.FrameColor, choices.frame_color);
    SetIfGiven(run.picture.background, choices.background);
}

RunSettings ResolveSettings(const ConvertOptions& options) {
    RunSettings run;
    // Read as the desktop program reads them at start-up, stored Cues entry included;
    // the converter never writes them back.
    if (options.saved_settings) settingsstore::ReadStoredSettings(run);
    ApplyChoices(options.choices, run);
    return run;
}

}  // namespace convert_tool
