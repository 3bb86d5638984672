#include "tools/output_format.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QStringList>
#include <array>

namespace convert_tool {

namespace {

struct KnownFormat {
    const char* extension;
    const char* format;
};

// TIFF and WebP come from the optional image formats plugins, so they are offered
// only where Qt reports a writer for them.
constexpr std::array<KnownFormat, 7> kKnownFormats = {{
    {"bmp", "bmp"},
    {"png", "png"},
    {"jpg", "jpeg"},
    {"jpeg", "jpeg"},
    {"tif", "tiff"},
    {"tiff", "tiff"},
    {"webp", "webp"},
}};

bool CanWrite(const char* format) {
    static const QList<QByteArray> writable = QImageWriter::supportedImageFormats();
    return writable.contains(QByteArray(format));
}

}  // namespace

std::optional<QByteArray> FormatForExtension(const QString& extension) {
    const QString wanted = extension.toLower();
    for (const KnownFormat& known : kKnownFormats) {
        if (wanted == QLatin1String(known.extension) && CanWrite(known.format))
            return QByteArray(known.format);
    }
    return std::nullopt;
}

QByteArray FormatForPath(const QString& path) {
    return FormatForExtension(QFileInfo(path).suffix()).value_or(QByteArray("bmp"));
}

QString WritableExtensions() {
    QStringList names;
    for (const KnownFormat& known : kKnownFormats)
        if (CanWrite(known.format)) names << QLatin1String(known.extension);
    return names.join(QStringLiteral(", "));
}

QString OutputPathInDir(const QString& dir, const QString& input, const QString& extension) {
    const QFileInfo info(input);
    // A name such as ".hidden" has no base before its only dot; keep it whole.
    QString base = info.completeBaseName();
    if (base.isEmpty()) base = info.fileName();
    return QDir(dir).filePath(base + QStringLiteral(".anaglyph.") + extension);
}

}  // namespace convert_tool
