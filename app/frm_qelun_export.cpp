// Saving in the format a file's name asks for: Save Result As and the exports of the
// depth map, the second view and each eye's view.
#include <QFileInfo>

#include "app/file_messages.h"
#include "app/frm_qelun.h"
#include "app/wait_cursor.h"
#include "io/picture_formats.h"
#include "io/picture_io.h"

namespace {

QString CannotWriteText(const QString& path) {
    return QStringLiteral(
               "Zarvik cannot write a '.%1' file, so '%2' was not saved.\r\nName it .bmp, "
               ".png, .jpg, .tif or .webp to save it in that format.")
        .arg(QFileInfo(path).suffix(), path);
}

}  // namespace

// The extension names the format. A name without one takes the chosen filter's format
// and extension; with no filter either (the classic dialog) it is a Windows bitmap
// under the name as given, as it always was. An extension that names no writable
// format is refused, writing nothing.
void frmQelun::SaveView(platform::Bitmap bitmap, const QString& chosen, const QString& filter,
                        bool result) {
    QString path = filemessages::TrimmedPath(chosen);
    std::optional<QByteArray> format = pictureio::WriterFormatForPath(path);
    if (!format && !QFileInfo(path).suffix().isEmpty()) {
        ShowFileError(CannotWriteText(path));
        return;
    }
    if (!format) {
        format = pictureio::FormatOfFilter(filter);
        if (format)
            path += QLatin1Char('.') + pictureio::ExtensionOfFilter(filter);
        else
            format = QByteArray("bmp");
    }
    int quality = -1;
    if (pictureio::HasQuality(*format)) {
        const std::optional<int> asked =
            prompts_->AskQuality(this, QString::fromLatin1(format->toUpper()), jpeg_quality_);
        if (!asked) return;
        jpeg_quality_ = *asked;
        quality = *asked;
    }
    WaitCursor wait;
    Yield();
    const QString title = filemessages::FileTitleOf(path);
    initial_folder_ = filemessages::InitialFolderOf(path, title);
    const auto error = pictureio::SaveBitmapFile(bitmap, display_, path, format->constData(),
                                                 pictureio::WriteSettings{quality, -1});
    wait.Restore();
    // The caption names a file only once it holds what was saved, and only the result's.
    if (error)
        ShowFileError(filemessages::SaveFailureText(*error, path));
    else if (result)
        setWindowTitle(filemessages::WindowCaptionFor(title));
}

const platform::Bitmap& frmQelun::ExportedBitmap(Export view) const {
    switch (view) {
        case Export::kDepthMap:
            return surfaces_.picDepth.Image();
        case Export::kSecondView:
            return surfaces_.picResult.Image();
        case Export::kLeftView:
            return left_view_;
        case Export::kRightView:
            break;
    }
    return right_view_;
}

void frmQelun::ExportView(Export view) {
    if (Running() || !has_views_ || ExportedBitmap(view).Empty()) return;
    QString filter;
    const FileChoice choice =
        prompts_->AskSaveFormatFile(this, initial_folder_, pictureio::SaveFilters(), filter);
    if (!Chosen(choice)) return;
    SaveView(ExportedBitmap(view), choice.path, filter, false);
}
