#include "tools/batch.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include "platform/display.h"
#include "tools/convert_picture.h"
#include "tools/output_format.h"
#include "tools/status_output.h"

namespace convert_tool {

namespace {

PictureJob JobFor(const ConvertOptions& options, const QString& input) {
    PictureJob job{input, options.output, options.depth_map, options.second_view};
    job.parallax = options.parallax;
    if (!options.output_dir.isEmpty())
        job.output = OutputPathInDir(options.output_dir, input, options.extension);
    return job;
}

// Converts one input unless an earlier one already wrote its output name; reports
// every failure and warning. Returns whether it converted.
bool ConvertOne(const PictureJob& job, const RunSettings& run, const platform::Display& display,
                QHash<QString, QString>& written_by, StatusOutput& status, bool verbose) {
    const QString key = QFileInfo(job.output).absoluteFilePath();
    if (const auto earlier = written_by.constFind(key); earlier != written_by.cend()) {
        status.Line(QStringLiteral("cannot convert %1: its output %2 is already the anaglyph of %3")
                        .arg(QuotedPath(job.input), QuotedPath(job.output), QuotedPath(*earlier)));
        return false;
    }
    const PictureOutcome outcome = ConvertPicture(job, run, display);
    for (const QString& warning : outcome.warnings) status.Line(warning);
    if (verbose)
        for (const QString& note : outcome.notes) status.Line(note);
    for (const QString& failure : outcome.failures) status.Line(failure);
    if (!outcome.failures.isEmpty()) return false;
    written_by.insert(key, job.input);
    return true;
}

}  // namespace

int RunBatch(const ConvertOptions& options, const RunSettings& run) {
    if (!options.output_dir.isEmpty() && !QDir().mkpath(options.output_dir)) {
        PrintError(QStringLiteral("cannot create the output folder %1")
                       .arg(QuotedPath(options.output_dir)));
        return 1;
    }
    const platform::Display display(options.display_bpp);
    const auto total = static_cast<int>(options.inputs.size());
    StatusOutput status(total, total > 1);
    // Two inputs with the same base name would share one output name in the folder;
    // the later one is refused rather than overwriting the earlier one's anaglyph.
    QHash<QString, QString> written_by;
    bool all_converted = true;
    for (int i = 0; i < total; ++i) {
        const QString& input = options.inputs[i];
        status.Progress(i + 1, QFileInfo(input).fileName());
        if (!ConvertOne(JobFor(options, input), run, display, written_by, status, options.verbose))
            all_converted = false;
    }
    status.Finish();
    return all_converted ? 0 : 1;
}

}  // namespace convert_tool
