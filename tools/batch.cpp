#include "tools/batch.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <optional>
#include <vector>

#include "platform/display.h"
#include "tools/convert_picture.h"
#include "tools/output_format.h"
#include "tools/parallel_batch.h"
#include "tools/status_output.h"

namespace convert_tool {

namespace {

PictureJob JobFor(const ConvertOptions& options, const QString& input) {
    PictureJob job{input,
                   options.output,
                   options.depth_map,
                   options.second_view,
                   {options.batch.quality, options.batch.png_compression}};
    job.parallax = options.parallax;
    if (!options.output_dir.isEmpty())
        job.output = OutputPathInDir(options.output_dir, input, options.extension);
    return job;
}

// The outputs written so far, and by which input; shared by the jobs of a batch.
class WrittenOutputs {
  public:
    std::optional<QString> WriterOf(const QString& key) const {
        const QMutexLocker lock(&mutex_);
        const auto found = written_by_.constFind(key);
        if (found == written_by_.cend()) return std::nullopt;
        return *found;
    }
    void Add(const QString& key, const QString& input) {
        const QMutexLocker lock(&mutex_);
        written_by_.insert(key, input);
    }

  private:
    mutable QMutex mutex_;
    QHash<QString, QString> written_by_;
};

QString OutputKey(const PictureJob& job) {
    return QFileInfo(job.output).absoluteFilePath();
}

// Converts one input unless an earlier one already wrote its output name; reports
// every failure and warning. Returns whether it converted.
bool ConvertOne(const PictureJob& job, const RunSettings& run, const platform::Display& display,
                WrittenOutputs& written, QStringList& lines, bool verbose) {
    const QString key = OutputKey(job);
    if (const auto earlier = written.WriterOf(key)) {
        lines << QStringLiteral("cannot convert %1: its output %2 is already the anaglyph of %3")
                     .arg(QuotedPath(job.input), QuotedPath(job.output), QuotedPath(*earlier));
        return false;
    }
    const PictureOutcome outcome = ConvertPicture(job, run, display);
    lines << outcome.warnings;
    if (verbose) lines << outcome.notes;
    lines << outcome.failures;
    if (!outcome.failures.isEmpty()) return false;
    written.Add(key, job.input);
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
    WrittenOutputs written;
    std::vector<PictureJob> jobs;
    std::vector<QString> keys;
    for (const QString& input : options.inputs) {
        jobs.push_back(JobFor(options, input));
        keys.push_back(OutputKey(jobs.back()));
    }
    bool all_converted = true;
    ConvertInOrder(
        total, JobsToRun(options.batch), keys,
        [&](int i) {
            PictureReport report;
            report.converted = ConvertOne(jobs[static_cast<std::size_t>(i)], run, display, written,
                                          report.lines, options.verbose);
            return report;
        },
        [&](int i, const PictureReport& report) {
            status.Progress(i + 1, QFileInfo(options.inputs[i]).fileName());
            for (const QString& line : report.lines) status.Line(line);
            if (!report.converted) all_converted = false;
        });
    status.Finish();
    return all_converted ? 0 : 1;
}

}  // namespace convert_tool
