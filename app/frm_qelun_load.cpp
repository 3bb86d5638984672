// Opening a picture off the UI thread: while the file is read the window stays
// responsive, the band shows that it works, and "Anaglyph" reads "Cancel", which gives
// up the opening and leaves the window as it was.
#include <QTimer>

#include "app/background_load.h"
#include "app/frm_qelun.h"
#include "app/progress_band.h"

std::optional<pictureio::LoadedPicture> frmQelun::LoadOffTheUiThread(const QString& path) {
    run_state_ = RunState::Running;
    SetCommandCaption("Cancel");
    // How long a decoder takes is not known beforehand: the band spans the window.
    band_->SetWidthTwips(static_cast<float>(OuterWidth()));
    SetBandVisible(true);
    std::optional<pictureio::LoadedPicture> loaded =
        loader_->Load(path, display_, choices_.picture.background);
    SetBandVisible(false);
    run_state_ = RunState::Idle;
    SetCommandCaption("Anaglyph");
    live_pending_ = false;  // no result to follow: a picture is being opened
    if (close_pending_) {
        close_pending_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
        return std::nullopt;
    }
    return loaded;
}
