#include "app/frm_qelun.h"

#include <algorithm>

#include <QCoreApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/background_load.h"
#include "app/conversion_runner.h"
#include "app/display_depth.h"
#include "app/picture_view.h"
#include "app/preview_source.h"
#include "app/progress_band.h"
#include "app/twips.h"

namespace {

constexpr char kDesignedCaption[] = "Zarvik Fast 2D 2 3D";

struct DesignedPlace {
    int left, top, width, height;
};

void PlaceSurface(platform::PictureSurface& surface, DesignedPlace place) {
    surface.Move(place.left, place.top);
    surface.SetWidth(place.width);
    surface.SetHeight(place.height);
}

int DisplayBits(int requested) {
    return requested != 0 ? requested : SurfaceBitsForPrimaryScreen();
}

}  // namespace

frmQelun::frmQelun(std::unique_ptr<UserPrompts> prompts, int surface_bits)
    : prompts_(prompts ? std::move(prompts) : std::make_unique<QtUserPrompts>()),
      display_(DisplayBits(surface_bits)),
      surfaces_(display_) {
    display_.SetEventPump([] { QCoreApplication::processEvents(); });
    setWindowTitle(QString::fromUtf8(kDesignedCaption));
    setAcceptDrops(true);

    PlaceSurface(surfaces_.picOriginal, {120, 240, 5055, 4335});
    PlaceSurface(surfaces_.picDepth, {120, 3120, 2415, 2775});
    PlaceSurface(surfaces_.picResult, {5400, 240, 2415, 2775});
    PlaceSurface(surfaces_.PicRed, {2640, 6120, 1935, 1695});
    PlaceSurface(surfaces_.PicBlue, {5040, 6120, 1695, 1695});
    PlaceSurface(surfaces_.PicFinal, {6960, 6120, 1695, 1695});

    auto* client = new QWidget(this);
    setCentralWidget(client);
    // The picture lies below the progress band's strip, as it always has.
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, twips::ToPixels(ProgressBand::kHeightTwips), 0, 0);
    view_ = new PictureView(display_, client);
    layout->addWidget(view_);
    band_ = new ProgressBand(client);
    loader_ = std::make_unique<BackgroundLoad>();
    runner_ = new ConversionRunner(this);
    live_runner_ = new ConversionRunner(this);
    preview_runner_ = new ConversionRunner(this);
    preview_source_ = std::make_shared<PreviewSource>();
    for (platform::PictureSurface* shown :
         {&surfaces_.picOriginal, &surfaces_.picDepth, &surfaces_.picResult})
        shown->SetRefreshHandler([this] { view_->BitmapChanged(); });

    menuBar()->setNativeMenuBar(false);
    menus_ = BuildMainMenus(*menuBar());
    ConnectMenus();
    ConnectRunProgress();
    BuildStatusLine();
    ShowStageBitmap();
}

// The runners go first: no run's result may arrive at a window half taken apart.
frmQelun::~frmQelun() {
    delete runner_;
    delete live_runner_;
    delete preview_runner_;
    for (platform::PictureSurface* shown :
         {&surfaces_.picOriginal, &surfaces_.picDepth, &surfaces_.picResult})
        shown->SetRefreshHandler({});
}

void frmQelun::ConnectMenus() {
    const MainMenus& m = menus_;
    auto on = [this](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, handler);
    };
    on(m.mnuFileOpen, [this] { mnuFileOpen_Click(); });
    on(m.mnuFileSaveAs, [this] { mnuFileSaveAs_Click(); });
    on(m.mnuFileReload, [this] { mnuFileReload_Click(); });
    for (int i = 0; i < 2; ++i) {
        const auto at = static_cast<std::size_t>(i);
        on(m.mnuFrameYesNo[at], [this, i] { mnuFrameYesNo_Click(i); });
        on(m.mnuBlackWhite[at], [this, i] { mnuBlackWhite_Click(i); });
        on(m.mnuFrameFull[at], [this, i] { mnuFrameFull_Click(i); });
        on(m.mnuRedBlue[at], [this, i] { mnuRedBlue_Click(i); });
    }
    for (int i = 0; i < static_cast<int>(m.mnuCue.size()); ++i)
        on(m.mnuCue[static_cast<std::size_t>(i)], [this, i] { mnuCue_Click(i); });
    for (int i = 0; i < static_cast<int>(m.mnuBlur.size()); ++i)
        on(m.mnuBlur[static_cast<std::size_t>(i)], [this, i] { mnuBlur_Click(i); });
    on(m.mnuWarp, [this] { mnuWarp_Click(); });
    on(m.mnuShift, [this] { mnuShift_Click(); });
    on(m.mnuSetWarpShift, [this] { mnuSetWarpShift_Click(); });
    on(m.mnuAnaglyph, [this] { mnuAnaglyph_Click(); });
    on(m.mnuDepthGrain, [this] { mnuDepthGrain_Click(); });
    on(m.mnuBatch, [this] { mnuBatch_Click(); });
    ConnectStereoMenus();
    ConnectViewMenus();
    ConnectBackgroundMenu();
    ConnectParallaxMenus();
    ConnectSceneMenus();
}

int frmQelun::OuterWidth() const {
    return twips::FromPixels(width());
}
int frmQelun::OuterHeight() const {
    return twips::FromPixels(height());
}

// A picture larger than the screen would push the window, and every box centred
// on it, off the screen: the window stops at the screen's free area. A window
// narrower than its menu bar would hide "Anaglyph" behind an overflow button, where
// the old menu bar wrapped onto a second line instead: the window widens to the bar.
// The status line below the picture adds its own height.
void frmQelun::SetOuterSize(int width_twips, int height_twips) {
    QSize size(std::max(twips::ToPixels(width_twips), menuBar()->sizeHint().width()),
               twips::ToPixels(height_twips) + statusBar()->sizeHint().height());
    if (const QScreen* shown_on = screen()) size = size.boundedTo(shown_on->availableSize());
    resize(size);
}

void frmQelun::UpdateCommandStates() {
    // A run works on the surfaces and the current file; commands that replace,
    // write or inspect them wait until it has unwound.
    const bool idle = !Running();
    menus_.mnuFileOpen->setEnabled(idle);
    // Nothing to convert before a picture is opened, nothing to save before one is shown.
    menus_.mnuAnaglyph->setEnabled(!idle || !current_file_.isEmpty());
    menus_.mnuFileSaveAs->setEnabled(idle && surfaces_.picOriginal.HasPicture());
    menus_.mnuDepthGrain->setEnabled(idle);
    menus_.mnuFileReload->setEnabled(idle && reload_allowed_);
    menus_.parallax.mnuOpenDepthMap->setEnabled(idle);
    menus_.view.mnuFileRecent->setEnabled(idle && !recent_files_.isEmpty());
    menus_.view.mnuFileExportDepth->setEnabled(idle && has_views_);
    menus_.view.mnuFileExportSecond->setEnabled(idle && has_views_);
    menus_.view.mnuFileExportLeft->setEnabled(idle && has_views_ && !left_view_.Empty());
    menus_.view.mnuFileExportRight->setEnabled(idle && has_views_ && !right_view_.Empty());
}

void frmQelun::Yield() {
    QCoreApplication::processEvents();
}

void frmQelun::SetBandVisible(bool visible) {
    band_->setVisible(visible);
    if (visible) band_->raise();
}

void frmQelun::SetCommandCaption(const char* caption) {
    menus_.mnuAnaglyph->setText(QString::fromUtf8(caption));
    UpdateCommandStates();
}

void frmQelun::EnableReload(bool enabled) {
    reload_allowed_ = enabled;
    UpdateCommandStates();
}
