#include "tools/output_identity.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <map>

#include "tools/status_output.h"

namespace convert_tool {

namespace {

// The absolute path a new file would get: its folder's real path where that folder
// exists, so that "dir/../x" and a link to the folder agree with the kernel.
QString PathOfNewFile(const QString& name) {
    QFileInfo info(name);
    // A dangling symbolic link is written through to its target.
    if (info.isSymLink()) info = QFileInfo(info.symLinkTarget());
    const QString folder = info.absolutePath();
    QString real = QFileInfo(folder).canonicalFilePath();
    if (real.isEmpty()) real = QDir::cleanPath(folder);
    return QDir::cleanPath(real + QLatin1Char('/') + info.fileName());
}

QString Described(const RunFile& file) {
    return file.role + QLatin1Char(' ') + QuotedPath(file.name);
}

}  // namespace

FileIdentity IdentityOf(const QString& name) {
    struct stat status {};
    if (!name.isEmpty() && ::stat(QFile::encodeName(name).constData(), &status) == 0)
        return {true, status.st_dev, status.st_ino, {}};
    return {false, 0, 0, PathOfNewFile(name)};
}

std::optional<QString> SameFileRefusal(std::span<const RunFile> inputs,
                                       std::span<const RunFile> outputs) {
    std::map<FileIdentity, const RunFile*> inputs_by_identity;
    for (const RunFile& input : inputs)
        inputs_by_identity.try_emplace(IdentityOf(input.name), &input);
    std::map<FileIdentity, const RunFile*> outputs_by_identity;
    for (const RunFile& output : outputs) {
        const FileIdentity identity = IdentityOf(output.name);
        if (const auto input = inputs_by_identity.find(identity); input != inputs_by_identity.end())
            return QStringLiteral("%1 is %2: an output never replaces an input")
                .arg(Described(output), Described(*input->second));
        const auto [earlier, fresh] = outputs_by_identity.try_emplace(identity, &output);
        if (!fresh)
            return QStringLiteral("%1 and %2 are the same file: one would replace the other")
                .arg(Described(*earlier->second), Described(output));
    }
    return std::nullopt;
}

}  // namespace convert_tool
