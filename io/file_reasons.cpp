#include "io/file_reasons.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include <QFile>

namespace pictureio {

QString ReasonForError(int error_number) {
    switch (error_number) {
        case ENOENT:
            return QStringLiteral("not found");
        case ELOOP:
            return QStringLiteral("too many levels of symbolic links");
        case ENAMETOOLONG:
            return QStringLiteral("name too long");
        case ENOTDIR:
            return QStringLiteral("a part of the path is not a folder");
        case EACCES:
        case EPERM:
            return QStringLiteral("permission denied");
        case EISDIR:
            return QStringLiteral("is a folder");
        default:
            return QString::fromLocal8Bit(std::strerror(error_number));
    }
}

std::optional<int> LookUpError(const QString& path) {
    if (path.isEmpty()) return ENOENT;
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) == 0) return std::nullopt;
    return errno;
}

}  // namespace pictureio
