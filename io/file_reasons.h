#pragma once
// Why a file name cannot be used, in the user's words, from what the system said
// about it. "File not found" for a symbolic-link loop or a name too long would send
// a user looking for a file that is there.
#include <QString>
#include <optional>

namespace pictureio {

// The reason for a system error number met while looking a name up or opening it:
// "not found", "too many levels of symbolic links", "name too long", "a part of the
// path is not a folder", "permission denied"; the system's own words for others.
QString ReasonForError(int error_number);

// Looks `path` up (following links). Nothing when it names something that exists;
// otherwise the system's error number for it.
std::optional<int> LookUpError(const QString& path);

}  // namespace pictureio
