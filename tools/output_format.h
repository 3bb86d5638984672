#pragma once
// Which picture format a file is written in: the one its extension names, among
// those this build can write, and a Windows bitmap for any other name.
#include <QByteArray>
#include <QString>
#include <optional>

namespace convert_tool {

// Qt's writer format for an extension ("jpg" gives "jpeg"), case-insensitive; none
// when the extension names no format that the converter writes here.
std::optional<QByteArray> FormatForExtension(const QString& extension);

// The format for an output file, by its extension; "bmp" when that is unknown.
QByteArray FormatForPath(const QString& path);

// The extensions FormatForExtension accepts in this build, for the help text.
QString WritableExtensions();

// Where the anaglyph of `input` goes in an output folder: <base name>.anaglyph.<extension>.
QString OutputPathInDir(const QString& dir, const QString& input, const QString& extension);

}  // namespace convert_tool
