#include "core/pipeline.h"

#include <exception>
#include <string>

namespace core {

void AnaglyphCommand::mnuAnaglyph_Click() {
    switch (state_) {
        case State::Idle: Run(); break;
        case State::Running: Cancel(); break;
        case State::Cancelling: break;
    }
}

void AnaglyphCommand::Cancel() {
    context_.host.SetCommandCaption(kAnaglyphCaption);
    context_.globals.glbBusy = 0;
    context_.host.SetBandVisible(false);
    state_ = State::Cancelling;
}

// A stage that fails is skipped and the run goes on, as with every other step.
void AnaglyphCommand::RunStage(Stage stage) {
    if (!stage) return;
    try {
        stage(context_);
    } catch (const std::exception&) {
        stage_failed_ = true;
    }
}

void AnaglyphCommand::RunWithPleaseWait(Stage stage) {
    if (!stage) return;
    const std::string saved = context_.host.WindowCaption();
    context_.host.SetWindowCaption(kPleaseWaitCaption);
    RunStage(stage);
    context_.host.SetWindowCaption(saved);
}

void AnaglyphCommand::Run() {
    ConversionHost& host = context_.host;
    TavsMod::Values& g = context_.globals;
    const ConversionSettings& s = context_.settings;
    state_ = State::Running;
    stage_failed_ = false;

    host.Reload();
    g.glbBusy = TavsMod::kTrue;
    host.SetCommandCaption(kCancelCaption);
    // Nine polled row passes make a run with cues 0 to 4: cue 1, inversion 1,
    // centring 2, second view 3, masks 2. A picture without rows keeps the old step.
    const int rows = context_.surfaces.picOriginal.ScaleHeight();
    if (rows > 0) g.glbBandStep = host.WindowWidth() / (static_cast<float>(rows) * 9.0f);
    g.glbBandWidth = 1.0f;
    host.SetBandWidth(g.glbBandWidth);
    host.SetBandVisible(true);

    if (g.glbBusy && s.DepthCue >= 0 && s.DepthCue <= 5)
        RunStage(stages_.cues[static_cast<std::size_t>(s.DepthCue)]);
    if (g.glbBusy) RunStage(stages_.invert);
    if (g.glbBusy) RunStage(stages_.centre);
    if (s.DoWarp) RunWithPleaseWait(stages_.warp);
    if (s.BlurChoice >= 1 && s.BlurChoice <= 5)
        RunWithPleaseWait(stages_.blurs[static_cast<std::size_t>(s.BlurChoice)]);
    if (g.glbBusy) RunStage(stages_.anaglyph);
    if (s.ShowFrame == 1) RunStage(stages_.frame);

    host.SetCommandCaption(kAnaglyphCaption);
    host.SetBandVisible(false);
    host.EnableReload(true);
    if (g.glbBusy == 0) host.Reload();
    g.glbBusy = 0;
    state_ = State::Idle;
}

}  // namespace core
