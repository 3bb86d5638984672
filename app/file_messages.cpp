#include "app/file_messages.h"

#include <QDir>
#include <QFileInfo>

namespace filemessages {

namespace {

QString FailureText(const char* verb, const pictureio::FileError& error, const QString& path) {
    return QStringLiteral("Error %1 %2 file '%3'\r\n%4")
        .arg(error.number)
        .arg(QLatin1String(verb), path, error.description);
}

}  // namespace

QString TrimmedPath(const QString& chosen) {
    if (QFileInfo::exists(chosen)) return chosen;
    qsizetype first = 0;
    qsizetype last = chosen.size();
    while (first < last && chosen[first] == u' ') ++first;
    while (last > first && chosen[last - 1] == u' ') --last;
    return chosen.mid(first, last - first);
}

QString FileTitleOf(const QString& path) {
    return QFileInfo(path).fileName();
}

QString InitialFolderOf(const QString& path, const QString& file_title) {
    const QString folder = path.left(path.size() - file_title.size() - 1);
    // Unlike a drive letter, the root of this file system has no name of its own.
    if (folder.isEmpty() && path.startsWith(QDir::separator())) return QDir::rootPath();
    return folder;
}

QString WindowCaptionFor(const QString& file_title) {
    return QStringLiteral("Zarvik [") + file_title + QStringLiteral("]");
}

QString OpenFailureText(const pictureio::FileError& error, const QString& path) {
    return FailureText("opening", error, path);
}

QString SaveFailureText(const pictureio::FileError& error, const QString& path) {
    return FailureText("saving", error, path);
}

QString ConversionFailureText(const QString& failure) {
    return QStringLiteral("The picture could not be converted: %1.").arg(failure);
}

}  // namespace filemessages
