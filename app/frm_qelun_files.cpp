// The File menu: Open, Save As and Reload, and opening a dropped file.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "app/conversion_runner.h"
#include "app/file_messages.h"
#include "app/frm_qelun.h"
#include "app/picture_view.h"
#include "app/preview_source.h"
#include "app/progress_band.h"
#include "app/wait_cursor.h"
#include "io/picture_formats.h"
#include "io/picture_io.h"

namespace {

// The one local file a drag carries, or nothing.
QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return {};
    return urls.front().toLocalFile();
}

}  // namespace

void frmQelun::ShowFileError(const QString& text) {
    prompts_->ShowMessage(this, QString::fromUtf8(filemessages::kTitle), text, MessageIcon::None);
}

void frmQelun::LoadIntoSurfaces(const platform::Picture& picture) {
    surfaces_.picOriginal.SetPicture(picture);
    surfaces_.picResult.SetPicture(picture);
    surfaces_.picDepth.SetPicture(picture);
    has_views_ = false;
    left_view_ = {};
    right_view_ = {};
    previews_ = {};
    ShowStageBitmap();
    UpdateCommandStates();
}

void frmQelun::LayoutPictureBoxes() {
    const platform::PictureSurface& original = surfaces_.picOriginal;
    for (platform::PictureSurface* surface : {&surfaces_.picDepth, &surfaces_.picResult}) {
        surface->SetHeight(original.Height());
        surface->SetWidth(original.Width());
    }
    surfaces_.picDepth.Move(surfaces_.picDepth.Left(), original.Top() + original.Height() + 40);
    surfaces_.picResult.Move(original.Left() + original.Width() + 40, surfaces_.picResult.Top());
}

// A cancelled dialog ends the command silently; a dialog that failed beeps and says so.
bool frmQelun::Chosen(const FileChoice& choice) {
    if (choice.outcome == FileChoice::Outcome::Cancelled) return false;
    if (choice.outcome == FileChoice::Outcome::Failed) {
        prompts_->Beep();
        prompts_->ShowMessage(this, QString::fromUtf8(filemessages::kTitle),
                              QString::fromUtf8(filemessages::kSelectError),
                              MessageIcon::Exclamation);
        return false;
    }
    return true;
}

void frmQelun::mnuFileOpen_Click() {
    if (Running()) return;
    const FileChoice choice = prompts_->AskOpenFileName(this, initial_folder_);
    if (!Chosen(choice)) return;
    OpenPicturePath(choice.path);
}

// The picture is read before anything else changes: a file that cannot be read
// (or is too large to convert) leaves the caption, the current file and the
// surfaces as they were.
void frmQelun::OpenPicturePath(const QString& chosen) {
    if (Running()) return;
    WaitCursor wait;
    Yield();
    const QString path = filemessages::TrimmedPath(chosen);
    const QString title = filemessages::FileTitleOf(path);
    initial_folder_ = filemessages::InitialFolderOf(path, title);
    std::optional<pictureio::LoadedPicture> read = LoadOffTheUiThread(path);
    if (!read) return;  // cancelled
    pictureio::LoadedPicture loaded = std::move(*read);
    if (!loaded.picture) {
        wait.Restore();
        ShowFileError(filemessages::OpenFailureText(loaded.error, path));
        return;
    }
    live_runner_->Cancel();
    preview_runner_->Cancel();
    preview_source_->Forget();
    setWindowTitle(filemessages::WindowCaptionFor(title));
    current_file_ = path;
    AddRecentFile(path);
    last_loaded_ = std::move(loaded.picture);
    last_loaded_bytes_ = std::move(loaded.bytes);
    LoadIntoSurfaces(*last_loaded_);
    LayoutPictureBoxes();
    wait.Restore();
    const platform::PictureSurface& original = surfaces_.picOriginal;
    SetOuterSize(original.Left() + original.Width() + 95,
                 original.Top() + original.Height() + band_->HeightTwips() + 650);
    view_->FitToWindow();
    EnableReload(false);
    PictureOpened();
    UpdateStatusLine();
    PrepareFirstPreview();
}

// Also the conversion's first and (after a cancel) last step. When the file can no
// longer be read, the picture it held when opened is put back instead, so that a
// run never starts from, or leaves behind, a half-made result.
void frmQelun::mnuFileReload_Click() {
    if (current_file_.isEmpty()) return;
    if (!last_loaded_ || !pictureio::FileHolds(current_file_, last_loaded_bytes_)) {
        pictureio::LoadedPicture loaded =
            pictureio::LoadPictureFile(current_file_, display_, choices_.picture.background);
        if (loaded.picture) {
            last_loaded_ = std::move(loaded.picture);
            last_loaded_bytes_ = std::move(loaded.bytes);
        }
    }
    if (last_loaded_) LoadIntoSurfaces(*last_loaded_);
    EnableReload(false);
}

void frmQelun::mnuFileSaveAs_Click() {
    if (Running()) return;
    QString filter;
    const FileChoice choice =
        prompts_->AskSaveFormatFile(this, initial_folder_, pictureio::SaveFilters(), filter);
    if (!Chosen(choice)) return;
    const platform::Picture* picture = surfaces_.picOriginal.GetPicture();
    SaveView(picture ? picture->bitmap : platform::Bitmap{}, choice.path, filter, true);
}

void frmQelun::dragEnterEvent(QDragEnterEvent* event) {
    if (!Running() && !DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

// Opened once the drop has finished, so that the hourglass and the yield of Open
// do not run inside the drag and drop machinery.
void frmQelun::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty() || Running()) return;
    event->acceptProposedAction();
    QTimer::singleShot(0, this, [this, path] { OpenPicturePath(path); });
}
