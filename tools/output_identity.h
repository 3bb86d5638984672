#pragma once
// Whether two names mean one file. "./a.png", "dir/../a.png", a symbolic link to it
// and a hard link to it all name the same picture; an output written under any of
// them would replace it.
#include <sys/types.h>

#include <QString>
#include <compare>
#include <optional>
#include <span>

namespace convert_tool {

// A file that exists is known by its device and inode; a name that does not exist
// yet by its absolute path, with the folders it lies in resolved as far as they exist.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    QString path;  // only when the file does not exist

    friend std::weak_ordering operator<=>(const FileIdentity&, const FileIdentity&) = default;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

FileIdentity IdentityOf(const QString& name);

// A file the run reads or writes, with the words that name its part in the run.
struct RunFile {
    QString name;
    QString role;  // "the input", "the depth map", "the anaglyph of \"x.png\""...
};

// The refusal, in one line naming both, for the first output that is an input or
// another output; nothing when every output is a file of its own.
std::optional<QString> SameFileRefusal(std::span<const RunFile> inputs,
                                       std::span<const RunFile> outputs);

}  // namespace convert_tool
