// The View menu: zoom, which stage is shown, Space for a look at the original; and
// the status line under the picture.
#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>

#include "app/frm_qelun.h"
#include "app/picture_view.h"

namespace {

// "Classic", or the parallax in % of the picture's width with the depth that lies on
// the screen, as the Strength menu and the Screen Plane dialog name them.
QString StrengthText(const core::ParallaxChoices& parallax) {
    if (!parallax.Scaled()) return QStringLiteral("Classic strength");
    return QStringLiteral("%1 % parallax, screen plane at %2 %")
        .arg(parallax.parallax_percent)
        .arg(parallax.screen_plane);
}

}  // namespace

void frmQelun::ConnectViewMenus() {
    const ViewMenus& v = menus_.view;
    connect(v.mnuZoomIn, &QAction::triggered, view_, &PictureView::ZoomIn);
    connect(v.mnuZoomOut, &QAction::triggered, view_, &PictureView::ZoomOut);
    connect(v.mnuFitToWindow, &QAction::triggered, view_, &PictureView::FitToWindow);
    connect(v.mnuActualSize, &QAction::triggered, view_, &PictureView::ActualSize);
    for (std::size_t i = 0; i < v.mnuStage.size(); ++i) {
        connect(v.mnuStage[i], &QAction::triggered, this,
                [this, i] { ShowStage(static_cast<Stage>(i)); });
    }
    connect(v.mnuLiveResult, &QAction::toggled, this, [this](bool on) {
        live_ = on;
        if (on) ChoicesChanged();
    });
    connect(v.mnuFileQuit, &QAction::triggered, this, &QWidget::close);
    const std::array<std::pair<QAction*, Export>, 4> exports = {
        {{v.mnuFileExportDepth, Export::kDepthMap},
         {v.mnuFileExportSecond, Export::kSecondView},
         {v.mnuFileExportLeft, Export::kLeftView},
         {v.mnuFileExportRight, Export::kRightView}}};
    for (const auto& [action, exported] : exports)
        connect(action, &QAction::triggered, this, [this, e = exported] { ExportView(e); });
    connect(view_, &PictureView::ZoomChanged, this, [this] { UpdateStatusLine(); });
    ReadWindowSettings();
}

void frmQelun::ShowStage(Stage stage) {
    stage_ = stage;
    menus_.view.mnuStage[static_cast<std::size_t>(stage)]->setChecked(true);
    ShowStageBitmap();
}

// Before the first conversion picDepth and picResult hold the opened picture, as they
// always have; the views say so by showing it.
void frmQelun::ShowStageBitmap() {
    const Stage shown = space_held_ ? Stage::kOriginal : stage_;
    const platform::Bitmap* bitmap = &surfaces_.picOriginal.Image();
    switch (shown) {
        case Stage::kOriginal:
            if (last_loaded_) bitmap = &last_loaded_->bitmap;
            break;
        case Stage::kDepthMap:
            bitmap = &surfaces_.picDepth.Image();
            break;
        case Stage::kSecondView:
            bitmap = &surfaces_.picResult.Image();
            break;
        case Stage::kResult:
            break;
    }
    view_->ShowBitmap(bitmap);
    static constexpr std::array<int, 4> kPreviewOf = {-1, 1, 2, 0};
    const int preview = kPreviewOf[static_cast<std::size_t>(shown)];
    if (preview >= 0 && !previews_[static_cast<std::size_t>(preview)].isNull())
        view_->ShowPreview(previews_[static_cast<std::size_t>(preview)]);
}

// Space held shows the original for a before-and-after look; auto-repeat keeps it.
void frmQelun::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        space_held_ = true;
        ShowStageBitmap();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void frmQelun::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        space_held_ = false;
        ShowStageBitmap();
        return;
    }
    QMainWindow::keyReleaseEvent(event);
}

void frmQelun::BuildStatusLine() {
    status_size_ = new QLabel(this);
    status_strength_ = new QLabel(this);
    status_time_ = new QLabel(this);
    // Permanent, so that a message (the hint for wide pictures, the scene a run
    // followed) shows beside them rather than over them.
    statusBar()->addPermanentWidget(status_size_);
    statusBar()->addPermanentWidget(status_strength_);
    statusBar()->addPermanentWidget(status_time_);
    statusBar()->setSizeGripEnabled(false);
    UpdateStatusLine();
}

// The picture's size and zoom, the strength chosen under WarpDepth › Strength, and
// how long the last conversion took.
void frmQelun::UpdateStatusLine() {
    if (!status_size_) return;
    if (last_loaded_) {
        status_size_->setText(QStringLiteral("%1 × %2  %3%")
                                  .arg(last_loaded_->bitmap.Width())
                                  .arg(last_loaded_->bitmap.Height())
                                  .arg(qRound(view_->Zoom() * 100.0)));
    } else {
        status_size_->setText(QStringLiteral("No picture"));
    }
    status_strength_->setText(StrengthText(choices_.parallax));
    status_time_->setText(
        last_conversion_ms_ < 0
            ? QString()
            : QStringLiteral("Converted in %1 s")
                  .arg(static_cast<double>(last_conversion_ms_) / 1000.0, 0, 'f', 2));
}
