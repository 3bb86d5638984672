#include "io/picture_formats.h"

#include <QFileInfo>
#include <QImageWriter>
#include <array>

namespace pictureio {

namespace {

struct KnownFormat {
    const char* extension;
    const char* format;
    const char* filter;  // none for a second extension of the same format
};

constexpr std::array<KnownFormat, 7> kKnownFormats = {{
    {"bmp", "bmp", "Windows bitmap (*.bmp)"},
    {"png", "png", "PNG picture (*.png)"},
    {"jpg", "jpeg", "JPEG picture (*.jpg *.jpeg)"},
    {"jpeg", "jpeg", nullptr},
    {"tif", "tiff", "TIFF picture (*.tif *.tiff)"},
    {"tiff", "tiff", nullptr},
    {"webp", "webp", "WebP picture (*.webp)"},
}};

bool CanWrite(const char* format) {
    static const QList<QByteArray> writable = QImageWriter::supportedImageFormats();
    return writable.contains(QByteArray(format));
}

const KnownFormat* KnownFilter(const QString& filter) {
    for (const KnownFormat& known : kKnownFormats)
        if (known.filter && filter == QLatin1String(known.filter) && CanWrite(known.format))
            return &known;
    return nullptr;
}

}  // namespace

std::optional<QByteArray> WriterFormatForExtension(const QString& extension) {
    const QString wanted = extension.toLower();
    for (const KnownFormat& known : kKnownFormats) {
        if (wanted == QLatin1String(known.extension) && CanWrite(known.format))
            return QByteArray(known.format);
    }
    return std::nullopt;
}

std::optional<QByteArray> WriterFormatForPath(const QString& path) {
    return WriterFormatForExtension(QFileInfo(path).suffix());
}

QStringList SaveFilters() {
    QStringList filters;
    for (const KnownFormat& known : kKnownFormats)
        if (known.filter && CanWrite(known.format)) filters << QLatin1String(known.filter);
    return filters;
}

std::optional<QByteArray> FormatOfFilter(const QString& filter) {
    const KnownFormat* known = KnownFilter(filter);
    if (!known) return std::nullopt;
    return QByteArray(known->format);
}

QString ExtensionOfFilter(const QString& filter) {
    const KnownFormat* known = KnownFilter(filter);
    return known ? QLatin1String(known->extension) : QString();
}

bool HasQuality(const QByteArray& format) {
    return format == "jpeg" || format == "webp";
}

}  // namespace pictureio
