// Start-up and exit of the main window: placing the controls, reading the stored
// settings into the menus, and writing them back.
#include <QApplication>
#include <QCloseEvent>
#include <algorithm>

#include "app/frm_qelun.h"
#include "app/picture_view.h"
#include "app/progress_band.h"
#include "io/settings_store.h"

void frmQelun::PlaceControls() {
    EnableReload(false);
    for (platform::PictureSurface* surface :
         {&surfaces_.picDepth, &surfaces_.picResult, &surfaces_.PicFinal, &surfaces_.PicRed,
          &surfaces_.PicBlue}) {
        surface->Move(-10000, surface->Top());
    }
    platform::PictureSurface& original = surfaces_.picOriginal;
    original.Move(10, band_->HeightTwips());
    view_->BitmapChanged();
    SetOuterSize(original.Left() + original.Width() + 95,
                 original.Top() + original.Height() + band_->HeightTwips());
}

void frmQelun::Form_Load() {
    using core::ReadStep;
    settingsstore::PrepareForReading(choices_);
    PlaceControls();
    const auto store = settingsstore::OpenSettingsSection();
    settingsstore::ReadSettings(*store, ReadStep::kBeforeShow, choices_);
    ShowToggleChecks();
    show();
    settingsstore::ReadSettings(*store, ReadStep::kCues, choices_);
    mnuCue_Click(settings_.Cue);
    settingsstore::ReadSettings(*store, ReadStep::kMenuGroups, choices_);
    ShowGroupChecks();
    settingsstore::ReadSettings(*store, ReadStep::kAdded, choices_);
    ShowStereoChecks();
    ShowBackgroundCheck(menus_.background, choices_.picture.background);
    ShowParallaxChecks();
    ShowSceneChecks();
}

// Settings are written however the window is left, minimized or not.
void frmQelun::Form_Unload() {
    QWidgetList others = QApplication::topLevelWidgets();
    std::reverse(others.begin(), others.end());
    for (QWidget* other : others)
        if (other != this && other->isVisible()) other->close();
    settingsstore::WriteStoredSettings(choices_);
    WriteWindowSettings();
}

// Closing during a conversion cancels it; the window closes once the run has
// unwound (see mnuAnaglyph_Click), so no stage ever loses its surfaces.
void frmQelun::closeEvent(QCloseEvent* event) {
    if (Running()) {
        close_pending_ = true;
        if (run_state_ == RunState::Running) mnuAnaglyph_Click();
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}
