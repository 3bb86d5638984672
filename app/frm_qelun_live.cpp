// The live result: every change of a choice converts again on a worker thread, a
// run still going being cancelled. A large picture is also converted at the size it
// is shown at, on a second worker, so that the change shows at once; the full-size
// result replaces it when it comes.
#include <QLabel>

#include "app/conversion_runner.h"
#include "app/file_messages.h"
#include "app/frm_qelun.h"
#include "app/picture_view.h"
#include "app/preview_source.h"
#include "io/picture_io.h"

namespace {

// A preview pays only when the picture has several times the pixels it is shown with.
constexpr double kPreviewPixelShare = 0.25;

}  // namespace

void frmQelun::ChoicesChanged() {
    UpdateStatusLine();
    if (!live_ || !last_loaded_) return;
    // An Anaglyph run is what the user asked for: the live result waits for its end.
    if (Running()) {
        live_pending_ = true;
        return;
    }
    StartLiveRun();
}

bool frmQelun::LiveRunning() const {
    return live_runner_->Busy();
}

void frmQelun::StartLiveRun() {
    // A picture to be read again (laid over a new background, say) is read first.
    if (last_loaded_bytes_.isEmpty()) mnuFileReload_Click();
    if (!last_loaded_) return;
    const platform::Bitmap& original = last_loaded_->bitmap;
    const double ratio = view_->devicePixelRatioF();
    const QSize shown =
        (view_->viewport()->size() * ratio).boundedTo(QSize(original.Width(), original.Height()));
    const double share = static_cast<double>(shown.width()) * shown.height() /
                         (static_cast<double>(original.Width()) * original.Height());
    live_clock_.start();
    live_runner_->Start(
        *last_loaded_, display_, choices_,
        [this](conversion::Result& result) { LiveRunEnded(result, false); }, {}, depth_from_);
    preview_runner_->Cancel();
    // A depth map from a file has the picture's size, not the preview's.
    if (!shown.isEmpty() && share < kPreviewPixelShare && !depth_from_) {
        preview_runner_->Start(
            *last_loaded_, display_, choices_,
            [this](conversion::Result& result) { LiveRunEnded(result, true); },
            [source = preview_source_, shown, display = display_](const platform::Picture& p) {
                return source->Reduced(p, shown, display);
            });
    }
}

void frmQelun::LiveRunEnded(conversion::Result& result, bool preview) {
    if (result.outcome == conversion::Outcome::kFailed) {
        if (preview) return;  // the full-size run says it
        ShowFileError(
            filemessages::ConversionFailureText(QString::fromStdString(result.Failure())));
        return;
    }
    if (result.outcome != conversion::Outcome::kConverted) return;
    if (preview) {
        if (live_runner_->Busy()) ShowPreviewViews(result.views);
        return;
    }
    preview_runner_->Cancel();
    last_conversion_ms_ = live_clock_.elapsed();
    previews_ = {};
    ShowViews(std::move(result.views));
    ShowScenePicked(result.scene_picked);
    EnableReload(true);
    UpdateStatusLine();
}

void frmQelun::ShowPreviewViews(const conversion::Views& views) {
    previews_ = {pictureio::ImageFromBitmap(views.anaglyph.bitmap, display_),
                 pictureio::ImageFromBitmap(views.depth_map, display_),
                 pictureio::ImageFromBitmap(views.second_view, display_)};
    ShowStageBitmap();
}
