#include "tools/run_checks.h"

#include <QFileInfo>
#include <cerrno>
#include <vector>

#include "io/file_reasons.h"
#include "tools/output_format.h"
#include "tools/output_identity.h"
#include "tools/status_output.h"

namespace convert_tool {

namespace {

using Refusal = std::optional<QString>;

// Every file the run writes, with the part it plays.
std::vector<RunFile> Outputs(const ConvertOptions& options) {
    std::vector<RunFile> outputs;
    if (options.output_dir.isEmpty()) {
        outputs.push_back({options.output, QStringLiteral("the output")});
    } else {
        for (const QString& input : options.inputs)
            outputs.push_back({OutputPathInDir(options.output_dir, input, options.extension),
                               QStringLiteral("the anaglyph of ") + QuotedPath(input)});
    }
    if (!options.depth_map.isEmpty())
        outputs.push_back({options.depth_map, QStringLiteral("the depth map")});
    if (!options.second_view.isEmpty())
        outputs.push_back({options.second_view, QStringLiteral("the second view")});
    return outputs;
}

// A name that does not exist yet is fine; one that cannot be looked up, or names a
// folder, cannot be written.
Refusal UnusableName(const RunFile& output) {
    const QString named = output.role + QLatin1Char(' ') + QuotedPath(output.name);
    if (output.name.isEmpty()) return output.role + QStringLiteral(": the file name is empty");
    if (const auto error = pictureio::LookUpError(output.name); error && *error != ENOENT)
        return named + QStringLiteral(": ") + pictureio::ReasonForError(*error);
    if (QFileInfo(output.name).isDir()) return named + QStringLiteral(": is a folder");
    // The folder a new file goes in must exist (an output folder is made, so its
    // outputs are left to that); a missing one is "not found" in the write's words.
    return std::nullopt;
}

Refusal UnwritableExtension(const RunFile& output) {
    const QString extension = QFileInfo(output.name).suffix();
    if (extension.isEmpty() || FormatForExtension(extension)) return std::nullopt;
    return QStringLiteral("%1 %2: cannot write .%3 pictures; the extension must be one of %4")
        .arg(output.role, QuotedPath(output.name), extension, WritableExtensions());
}

Refusal UnusableOutputFolder(const QString& folder) {
    const QString named = QStringLiteral("--output-dir ") + QuotedPath(folder);
    if (const auto error = pictureio::LookUpError(folder)) {
        if (*error == ENOENT) return std::nullopt;  // made before the first write
        return named + QStringLiteral(": ") + pictureio::ReasonForError(*error);
    }
    if (!QFileInfo(folder).isDir()) return named + QStringLiteral(": is not a folder");
    return std::nullopt;
}

}  // namespace

std::optional<QString> RefuseRun(const ConvertOptions& options) {
    if (!options.output_dir.isEmpty())
        if (Refusal refused = UnusableOutputFolder(options.output_dir)) return refused;
    const std::vector<RunFile> outputs = Outputs(options);
    for (const RunFile& output : outputs) {
        if (Refusal refused = UnusableName(output)) return refused;
        if (Refusal refused = UnwritableExtension(output)) return refused;
    }
    std::vector<RunFile> inputs;
    for (const QString& input : options.inputs)
        inputs.push_back({input, QStringLiteral("the input")});
    return SameFileRefusal(inputs, outputs);
}

}  // namespace convert_tool
