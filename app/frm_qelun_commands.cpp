// The main window's menu handlers: option groups, toggles, the conversion command,
// the tuning dialogs and About.
#include <limits>

#include "app/about_text.h"
#include "app/background_load.h"
#include "app/conversion_runner.h"
#include "app/file_messages.h"
#include "app/frm_depth_grain.h"
#include "app/frm_qelun.h"
#include "app/frm_warp_shift.h"
#include "app/option_group.h"
#include "app/picture_view.h"
#include "app/progress_band.h"
#include "app/twips.h"
#include "core/ddb_helper.h"
#include "depth/gray_scale.h"

namespace {

constexpr char kAnaglyphCaption[] = "Anaglyph";
constexpr char kCancelCaption[] = "Cancel";
constexpr char kPleaseWaitCaption[] = "Please Wait...";

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
    ChoicesChanged();
}

void frmQelun::mnuBlackWhite_Click(int index) {
    if (!InGroup(menus_.mnuBlackWhite, index)) return;
    CheckOnly(menus_.mnuBlackWhite, index);
    settings_.FrameColor = static_cast<std::int16_t>(index);
    ChoicesChanged();
}

void frmQelun::mnuFrameFull_Click(int index) {
    if (!InGroup(menus_.mnuFrameFull, index)) return;
    CheckOnly(menus_.mnuFrameFull, index);
    settings_.FrameType = static_cast<std::int16_t>(index);
    ChoicesChanged();
}

// Start-up calls this with the stored Cue, which may lie outside the menu: then no
// setting changes and no entry is checked.
void frmQelun::mnuCue_Click(int index) {
    const bool fits = index >= std::numeric_limits<std::int16_t>::min() &&
                      index <= std::numeric_limits<std::int16_t>::max();
    GrayScale::SelectCue(settings_, fits ? static_cast<std::int16_t>(index) : std::int16_t{-1});
    CheckOnly(menus_.mnuCue, index);
    ChoicesChanged();
}

void frmQelun::mnuBlur_Click(int index) {
    if (!InGroup(menus_.mnuBlur, index)) return;
    settings_.BlurChoice = static_cast<std::int16_t>(index);
    CheckOnly(menus_.mnuBlur, index);
    ChoicesChanged();
}

void frmQelun::mnuRedBlue_Click(int index) {
    if (!InGroup(menus_.mnuRedBlue, index)) return;
    CheckOnly(menus_.mnuRedBlue, index);
    settings_.Lens = static_cast<std::int16_t>(index);
    ChoicesChanged();
}

void frmQelun::mnuWarp_Click() {
    settings_.DoWarp = !settings_.DoWarp;
    ShowToggleChecks();
    ChoicesChanged();
}

void frmQelun::mnuShift_Click() {
    settings_.DoShift = !settings_.DoShift;
    ShowToggleChecks();
    ChoicesChanged();
}

void frmQelun::mnuSetWarpShift_Click() {
    frmWarpShift dialog(globals_, this);
    connect(&dialog, &frmWarpShift::ValuesChanged, this, [this] { ChoicesChanged(); });
    prompts_->ShowModal(dialog);
}

void frmQelun::mnuAnaglyph_Click() {
    switch (run_state_) {
        case RunState::Cancelling:
            return;
        case RunState::Running:
            CancelRun();
            return;
        case RunState::Idle:
            break;
    }
    RunConversion();
}

// The command reads "Anaglyph" again at once; the run notices the cancel at its next
// row and unwinds, leaving the picture it started from.
void frmQelun::CancelRun() {
    if (loader_->Loading()) {
        loader_->Cancel();
        return;
    }
    runner_->Cancel();
    run_state_ = RunState::Cancelling;
    SetCommandCaption(kAnaglyphCaption);
    SetBandVisible(false);
    // The runner drops a cancelled run's result; the run is over for the window once
    // the events already posted have been handled.
    QMetaObject::invokeMethod(
        this,
        [this] {
            conversion::Result cancelled;
            cancelled.outcome = conversion::Outcome::kCancelled;
            RunEnded(cancelled);
        },
        Qt::QueuedConnection);
}

// Every run starts from the file as it is now. The run works on surfaces of its own,
// on a worker thread; the window's show its results once it has converted, and keep
// what they showed when it is cancelled or fails.
void frmQelun::RunConversion() {
    live_runner_->Cancel();
    preview_runner_->Cancel();
    mnuFileReload_Click();
    const platform::PictureSurface& original = surfaces_.picOriginal;
    platform::Picture picture =
        original.HasPicture() ? *original.GetPicture() : original.ImageAsPicture();
    run_state_ = RunState::Running;
    SetCommandCaption(kCancelCaption);
    band_->SetWidthTwips(1.0f);
    SetBandVisible(true);
    saved_title_ = windowTitle();
    run_clock_.start();
    runner_->Start(
        std::move(picture), display_, choices_,
        [this](conversion::Result& result) { RunEnded(result); }, {}, depth_from_);
}

void frmQelun::RunEnded(conversion::Result& result) {
    if (run_state_ == RunState::Idle) return;
    last_outcome_ = result.outcome;
    setWindowTitle(saved_title_);
    SetBandVisible(false);
    EnableReload(true);
    run_state_ = RunState::Idle;
    SetCommandCaption(kAnaglyphCaption);
    if (result.outcome == conversion::Outcome::kConverted) {
        last_conversion_ms_ = run_clock_.elapsed();
        ShowViews(std::move(result.views));
        ShowScenePicked(result.scene_picked);
    }
    UpdateStatusLine();
    if (result.outcome == conversion::Outcome::kFailed)
        ShowFileError(
            filemessages::ConversionFailureText(QString::fromStdString(result.Failure())));
    if (close_pending_) {
        close_pending_ = false;
        close();
        return;
    }
    if (live_pending_) {
        live_pending_ = false;
        ChoicesChanged();
    }
}

// The band starts one twip wide and, over a run with a cue from 0 to 4, grows by the
// window's outer width; "Please Wait..." stands in the title while a step polls no rows.
void frmQelun::ConnectRunProgress() {
    connect(runner_, &ConversionRunner::Advanced, this, [this](double done) {
        band_->SetWidthTwips(1.0f + static_cast<float>(done) * static_cast<float>(OuterWidth()));
    });
    connect(runner_, &ConversionRunner::LongStep, this, [this](bool begins) {
        setWindowTitle(begins ? QString::fromUtf8(kPleaseWaitCaption) : saved_title_);
    });
}

void frmQelun::ShowViews(conversion::Views views) {
    surfaces_.picOriginal.SetPicture(std::move(views.anaglyph));
    surfaces_.picDepth.ReplaceImage(std::move(views.depth_map));
    surfaces_.picResult.ReplaceImage(std::move(views.second_view));
    left_view_ = std::move(views.left_view);
    right_view_ = std::move(views.right_view);
    has_views_ = true;
    ShowStageBitmap();
    UpdateCommandStates();
}

void frmQelun::mnuDepthGrain_Click() {
    DrawDepthHistogram();
}

void frmQelun::DrawDepthHistogram() {
    if (Running()) return;
    frmDepthGrain dialog(globals_, this);
    connect(&dialog, &frmDepthGrain::ValuesChanged, this, [this] { ChoicesChanged(); });
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
