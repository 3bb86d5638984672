// The main window's menu handlers: option groups, toggles, the conversion command,
// the tuning dialogs and About.
#include <limits>

#include "app/about_text.h"
#include "app/file_messages.h"
#include "app/frm_depth_grain.h"
#include "app/frm_qelun.h"
#include "app/frm_warp_shift.h"
#include "app/option_group.h"
#include "app/surface_view.h"
#include "app/window_progress.h"
#include "core/ddb_helper.h"
#include "depth/gray_scale.h"

namespace {

constexpr char kAnaglyphCaption[] = "Anaglyph";
constexpr char kCancelCaption[] = "Cancel";

template <std::size_t N>
bool InGroup(const std::array<QAction*, N>& /*group*/, int index) {
    return index >= 0 && index < static_cast<int>(N);
}

}  // namespace

void frmQelun::ShowToggleChecks() {
    menus_.mnuWarp->setChecked(settings_.DoWarp);
    menus_.mnuShift->setChecked(settings_.DoShift);
}

void frmQelun::ShowGroupChecks() {
    CheckOnly(menus_.mnuBlur, settings_.BlurChoice);
    CheckOnly(menus_.mnuRedBlue, settings_.Lens);
    CheckOnly(menus_.mnuBlackWhite, settings_.FrameColor);
    CheckOnly(menus_.mnuFrameYesNo, settings_.ShowFrame);
    CheckOnly(menus_.mnuFrameFull, settings_.FrameType);
}

void frmQelun::mnuFrameYesNo_Click(int index) {
    if (!InGroup(menus_.mnuFrameYesNo, index)) return;
    CheckOnly(menus_.mnuFrameYesNo, index);
    settings_.ShowFrame = static_cast<std::int16_t>(index);
}

void frmQelun::mnuBlackWhite_Click(int index) {
    if (!InGroup(menus_.mnuBlackWhite, index)) return;
    CheckOnly(menus_.mnuBlackWhite, index);
    settings_.FrameColor = static_cast<std::int16_t>(index);
}

void frmQelun::mnuFrameFull_Click(int index) {
    if (!InGroup(menus_.mnuFrameFull, index)) return;
    CheckOnly(menus_.mnuFrameFull, index);
    settings_.FrameType = static_cast<std::int16_t>(index);
}

// Start-up calls this with the stored Cue, which may lie outside the menu: then no
// setting changes and no entry is checked.
void frmQelun::mnuCue_Click(int index) {
    const bool fits = index >= std::numeric_limits<std::int16_t>::min() &&
                      index <= std::numeric_limits<std::int16_t>::max();
    GrayScale::SelectCue(settings_, fits ? static_cast<std::int16_t>(index) : std::int16_t{-1});
    CheckOnly(menus_.mnuCue, index);
}

void frmQelun::mnuBlur_Click(int index) {
    if (!InGroup(menus_.mnuBlur, index)) return;
    settings_.BlurChoice = static_cast<std::int16_t>(index);
    CheckOnly(menus_.mnuBlur, index);
}

void frmQelun::mnuRedBlue_Click(int index) {
    if (!InGroup(menus_.mnuRedBlue, index)) return;
    CheckOnly(menus_.mnuRedBlue, index);
    settings_.Lens = static_cast<std::int16_t>(index);
}

void frmQelun::mnuWarp_Click() {
    settings_.DoWarp = !settings_.DoWarp;
    ShowToggleChecks();
}

void frmQelun::mnuShift_Click() {
    settings_.DoShift = !settings_.DoShift;
    ShowToggleChecks();
}

void frmQelun::mnuSetWarpShift_Click() {
    frmWarpShift dialog(globals_, this);
    prompts_->ShowModal(dialog);
}

void frmQelun::mnuAnaglyph_Click() {
    switch (run_state_) {
        case RunState::Cancelling: return;
        case RunState::Running: CancelRun(); return;
        case RunState::Idle: break;
    }
    RunConversion();
    original_view_->SurfaceChanged();
    UpdateCommandStates();
    if (close_pending_) {
        close_pending_ = false;
        close();
    }
}

// The command reads "Anaglyph" again at once; the run notices the cancel at its next
// row and unwinds, leaving the picture it started from.
void frmQelun::CancelRun() {
    progress_->Cancel();
    run_state_ = RunState::Cancelling;
    SetCommandCaption(kAnaglyphCaption);
    SetBandVisible(false);
}

// Every run starts from the file as it is now. The run works on surfaces of its own;
// the window's show its results once it has converted, and keep what they showed when
// it is cancelled or fails.
void frmQelun::RunConversion() {
    mnuFileReload_Click();
    const platform::PictureSurface& original = surfaces_.picOriginal;
    const platform::Picture picture =
        original.HasPicture() ? *original.GetPicture() : original.ImageAsPicture();
    run_state_ = RunState::Running;
    SetCommandCaption(kCancelCaption);
    WindowProgress progress(*this, *band_);
    progress.Advance(0.0);
    SetBandVisible(true);
    progress_ = &progress;
    conversion::Result result = conversion::Run(picture, display_, choices_, progress, DepthFrom());
    progress_ = nullptr;
    last_outcome_ = result.outcome;
    SetCommandCaption(kAnaglyphCaption);
    SetBandVisible(false);
    EnableReload(true);
    run_state_ = RunState::Idle;
    if (result.outcome == conversion::Outcome::kConverted) {
        ShowViews(std::move(result.views));
        ShowScenePicked(result.scene_picked);
    }
    if (result.outcome == conversion::Outcome::kFailed)
        ShowFileError(filemessages::ConversionFailureText(QString::fromStdString(result.Failure())));
}

void frmQelun::ShowViews(conversion::Views views) {
    surfaces_.picOriginal.SetPicture(std::move(views.anaglyph));
    surfaces_.picDepth.ReplaceImage(std::move(views.depth_map));
    surfaces_.picResult.ReplaceImage(std::move(views.second_view));
}

void frmQelun::mnuDepthGrain_Click() {
    DrawDepthHistogram();
}

void frmQelun::DrawDepthHistogram() {
    if (Running()) return;
    frmDepthGrain dialog(globals_, this);
    core::PixelGrid grid;
    std::int16_t bits_per_pixel = 0;
    DDBHelper::GetBitmapPixels(surfaces_.picDepth, grid, bits_per_pixel);
    dialog.ShowHistogram(depthhistogram::CountRedValues(grid));
    prompts_->ShowModal(dialog);
}

void frmQelun::mnuBatch_Click() {
    prompts_->ShowMessage(this, QString::fromUtf8(filemessages::kTitle), AboutText(),
                          MessageIcon::None);
}
