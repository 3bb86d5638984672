// The live result: every change of a choice converts again on a worker thread, a
// run still going being cancelled. A large picture is also converted at the size it
// is shown at, on a second worker, so that the change shows at once; the full-size
// result replaces it when it comes.
#include <QLabel>
#include <QtConcurrent/QtConcurrentRun>

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

// The size the picture is shown at, in device pixels, when a preview pays; empty
// otherwise. A depth map from a file has the picture's size, not the preview's.
QSize frmQelun::PreviewSize() const {
    if (!last_loaded_ || depth_from_) return {};
    const platform::Bitmap& original = last_loaded_->bitmap;
    const double ratio = view_->devicePixelRatioF();
    const QSize shown =
        (view_->viewport()->size() * ratio).boundedTo(QSize(original.Width(), original.Height()));
    const double share = static_cast<double>(shown.width()) * shown.height() /
                         (static_cast<double>(original.Width()) * original.Height());
    return share < kPreviewPixelShare ? shown : QSize();
}

// The reduction every preview of this picture starts from, made on a worker.
ConversionRunner::Reduce frmQelun::ReducedForPreview(QSize size) const {
    platform::Display display = display_;
    display.SetEventPump({});  // a worker yields to nobody
    return [source = preview_source_, size, display](const platform::Picture& picture) {
        return source->Reduced(picture, size, display);
    };
}

// Made while the user looks at the picture just opened, so that the first change of
// a choice finds it ready rather than making it alongside the full-size run.
void frmQelun::PrepareFirstPreview() {
    const QSize size = PreviewSize();
    if (!live_ || size.isEmpty()) return;
    // The task keeps what it needs; nothing waits for it or its result.
    (void)QtConcurrent::run(
        [reduce = ReducedForPreview(size), picture = *last_loaded_] { reduce(picture); });
}

void frmQelun::StartLiveRun() {
    // A picture to be read again (laid over a new background, say) is read first.
    if (last_loaded_bytes_.isEmpty()) mnuFileReload_Click();
    if (!last_loaded_) return;
    live_clock_.start();
    live_runner_->Start(
        *last_loaded_, display_, choices_,
        [this](conversion::Result& result) { LiveRunEnded(result, false); }, {}, depth_from_);
    preview_runner_->Cancel();
    const QSize preview = PreviewSize();
    if (!preview.isEmpty()) {
        preview_runner_->Start(
            *last_loaded_, display_, choices_,
            [this](conversion::Result& result) { LiveRunEnded(result, true); },
            ReducedForPreview(preview));
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
