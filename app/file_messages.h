#pragma once
// The texts and names that the file commands derive from a chosen path.
#include <QString>

#include "io/picture_io.h"

namespace filemessages {

inline constexpr char kTitle[] = "Zarvik";
inline constexpr char kSelectError[] = "Error selecting file.";

// The dialog's path without leading and trailing spaces. A path whose spaces are
// part of an existing file's name is kept as it is.
QString TrimmedPath(const QString& chosen);
// The file name without its folder.
QString FileTitleOf(const QString& path);
// The folder part of `path`, without its final separator: the next dialog's
// starting folder. A file in the root gives the root itself.
QString InitialFolderOf(const QString& path, const QString& file_title);
// "Zarvik [" + file title + "]"
QString WindowCaptionFor(const QString& file_title);
// "Error " + number + " opening file '" + path + "'" + CR LF + description
QString OpenFailureText(const pictureio::FileError& error, const QString& path);
// "Error " + number + " saving file '" + path + "'" + CR LF + description
QString SaveFailureText(const pictureio::FileError& error, const QString& path);
// "The picture could not be converted: " + what failed
QString ConversionFailureText(const QString& failure);

}  // namespace filemessages
