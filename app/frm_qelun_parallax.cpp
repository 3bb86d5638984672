// The scaled strength in the window: the Strength group, the Screen Plane dialog, a
// depth map opened from a file, and the hint for pictures too wide for Classic.
#include <QStatusBar>

#include "app/file_messages.h"
#include "app/frm_qelun.h"
#include "app/frm_screen_plane.h"
#include "app/option_group.h"
#include "app/wait_cursor.h"
#include "io/depth_file.h"

namespace {

// Wider than this, the classic one to three pixels are too small a share of the
// picture to show depth.
constexpr int kClassicWidthLimit = 1500;

int StrengthIndex(double percent) {
    for (std::size_t i = 0; i < kStrengthPercents.size(); ++i)
        if (kStrengthPercents[i] == percent) return static_cast<int>(i);
    return -1;
}

}  // namespace

void frmQelun::ConnectParallaxMenus() {
    const ParallaxMenus& m = menus_.parallax;
    connect(m.mnuOpenDepthMap, &QAction::triggered, this, [this] { mnuOpenDepthMap_Click(); });
    connect(m.mnuCloseDepthMap, &QAction::triggered, this, [this] { mnuCloseDepthMap_Click(); });
    for (int i = 0; i < static_cast<int>(kStrengthPercents.size()); ++i)
        connect(m.mnuStrengthLevel[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, i] { mnuStrength_Click(i); });
    connect(m.mnuScreenPlane, &QAction::triggered, this, [this] { mnuScreenPlane_Click(); });
    ShowParallaxChecks();
}

void frmQelun::ShowParallaxChecks() {
    CheckOnly(menus_.parallax.mnuStrengthLevel, StrengthIndex(choices_.parallax.parallax_percent));
    menus_.parallax.mnuCloseDepthMap->setEnabled(depth_from_.has_value());
}

void frmQelun::mnuStrength_Click(int index) {
    if (index < 0 || index >= static_cast<int>(kStrengthPercents.size())) return;
    choices_.parallax.parallax_percent = kStrengthPercents[static_cast<std::size_t>(index)];
    ShowParallaxChecks();
    SuggestScaledStrength();
    ChoicesChanged();
}

void frmQelun::mnuScreenPlane_Click() {
    frmScreenPlane dialog(choices_.parallax, this);
    connect(&dialog, &frmScreenPlane::ValuesChanged, this, [this] { ChoicesChanged(); });
    prompts_->ShowModal(dialog);
}

void frmQelun::mnuOpenDepthMap_Click() {
    if (Running()) return;
    const FileChoice choice = prompts_->AskOpenFileName(this, initial_folder_);
    if (!Chosen(choice)) return;
    OpenDepthMapPath(choice.path);
}

// The map is brought to the size of the picture now open; opening another picture
// closes it, as that picture's depth is another.
void frmQelun::OpenDepthMapPath(const QString& chosen) {
    if (Running()) return;
    const platform::PictureSurface& original = surfaces_.picOriginal;
    if (current_file_.isEmpty()) {
        ShowFileError(QStringLiteral("Open a picture first: a depth map is brought to its size."));
        return;
    }
    WaitCursor wait;
    const QString path = filemessages::TrimmedPath(chosen);
    pictureio::LoadedDepth loaded =
        pictureio::LoadDepthFile(path, original.ScaleWidth(), original.ScaleHeight(), false);
    wait.Restore();
    if (!loaded.levels) {
        ShowFileError(filemessages::OpenFailureText(loaded.error, path));
        return;
    }
    depth_from_ = std::move(loaded.levels);
    ShowParallaxChecks();
    ChoicesChanged();
    statusBar()->showMessage(QStringLiteral("Depth map %1 takes the place of the cue.")
                                 .arg(filemessages::FileTitleOf(path)));
}

void frmQelun::mnuCloseDepthMap_Click() {
    if (Running()) return;
    depth_from_.reset();
    ShowParallaxChecks();
    statusBar()->clearMessage();
    ChoicesChanged();
}

void frmQelun::PictureOpened() {
    depth_from_.reset();
    ShowParallaxChecks();
    SuggestScaledStrength();
}

void frmQelun::SuggestScaledStrength() {
    const int width = surfaces_.picOriginal.ScaleWidth();
    if (current_file_.isEmpty() || choices_.parallax.Scaled() || width <= kClassicWidthLimit) {
        if (statusBar()->currentMessage().startsWith(QStringLiteral("This picture is")))
            statusBar()->clearMessage();
        return;
    }
    // Short, as it shares the line with the size and the strength: the Classic
    // strength moves pixels by at most 3, which looks flat on so wide a picture.
    statusBar()->showMessage(
        QStringLiteral("This picture is %1 pixels wide: try WarpDepth › Strength › 2 %.")
            .arg(width));
}

const core::DepthLevels* frmQelun::DepthFrom() const {
    return depth_from_ ? &*depth_from_ : nullptr;
}
