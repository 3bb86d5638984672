#pragma once
// The picture formats a file can be written in, by extension and by the name filters
// of a save dialog. TIFF and WebP come from the optional image formats plugins, so they
// count only where Qt reports a writer for them.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace pictureio {

// Qt's writer format for an extension ("jpg" gives "jpeg"), case-insensitive; none
// when the extension names no format this build writes.
std::optional<QByteArray> WriterFormatForExtension(const QString& extension);

// The writer format a file name asks for by its extension; none for a name without a
// writable extension.
std::optional<QByteArray> WriterFormatForPath(const QString& path);

// "PNG picture (*.png)" and so on, one per writable format, the bitmap first.
QStringList SaveFilters();
// The format a filter of SaveFilters() names, and the extension a name without one
// is given under it.
std::optional<QByteArray> FormatOfFilter(const QString& filter);
QString ExtensionOfFilter(const QString& filter);

// Formats that trade size for a quality from 0 to 100.
bool HasQuality(const QByteArray& format);

}  // namespace pictureio
