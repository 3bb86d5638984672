#include "tools/convert_picture.h"

#include <exception>
#include <new>

#include "app/picture_io.h"
#include "core/conversion/headless_host.h"
#include "core/workspace.h"
#include "tools/output_format.h"
#include "tools/plugin_messages.h"
#include "tools/status_output.h"

namespace convert_tool {

namespace {

QString InputFailure(const QString& input, const QString& reason) {
    return QStringLiteral("cannot convert %1: %2").arg(QuotedPath(input), reason);
}

// The reader's reason, with the decoder's own words on it when it had any
// ("Unable to read image data (libpng error: Read Error)"). Its last message is the
// one it gave up on.
QString WithDetail(const QString& reason, const QStringList& details) {
    if (details.isEmpty()) return reason;
    return reason + QStringLiteral(" (") + details.back() + QLatin1Char(')');
}

struct Loaded {
    std::optional<platform::Picture> picture;
    QString failure;
    QStringList warnings;
};

Loaded Load(const QString& input, const platform::Display& display) {
    PluginMessages messages;
    pictureio::LoadedPicture loaded = pictureio::LoadPictureFile(input, display);
    if (!loaded.picture)
        return {std::nullopt, WithDetail(loaded.error.description, messages.Messages()), {}};
    if (const QString cut = messages.TruncationMessage(); !cut.isEmpty()) {
        return {std::nullopt,
                WithDetail(QStringLiteral("Invalid picture: the file ends before the picture does"),
                           {cut}),
                {}};
    }
    return {std::move(loaded.picture), {}, messages.Messages()};
}

void Save(const platform::Bitmap& bitmap, const platform::Display& display, const QString& path,
          QStringList& failures) {
    if (path.isEmpty()) return;
    PluginMessages messages;
    const auto failure = pictureio::SaveBitmapFile(bitmap, display, path, FormatForPath(path));
    if (failure) {
        failures << QStringLiteral("cannot write %1: %2")
                        .arg(QuotedPath(path),
                             WithDetail(failure->description, messages.Messages()));
    }
}

QStringList ConvertLoaded(const PictureJob& job, platform::Picture picture, RunSettings run,
                          const platform::Display& display, const core::StageTable& stages) {
    core::Workspace surfaces(display);
    core::HeadlessHost host(surfaces, std::move(picture));
    core::AnaglyphCommand command(core::StageContext{surfaces, run.settings, run.values, host},
                                  stages);
    command.mnuAnaglyph_Click();
    if (command.StageFailed())
        return {QStringLiteral("cannot convert %1: a conversion step failed (out of memory)")
                    .arg(QuotedPath(job.input))};

    // What "Save Result As" writes: the picture of picOriginal, the anaglyph by now.
    const platform::PictureSurface& original = surfaces.picOriginal;
    const platform::Bitmap& result =
        original.HasPicture() ? original.GetPicture()->bitmap : original.Image();
    QStringList failures;
    Save(result, display, job.output, failures);
    Save(surfaces.picDepth.Image(), display, job.depth_map, failures);
    Save(surfaces.picResult.Image(), display, job.second_view, failures);
    return failures;
}

}  // namespace

PictureOutcome ConvertPicture(const PictureJob& job, const RunSettings& run,
                              const platform::Display& display, const core::StageTable& stages) {
    PictureOutcome outcome;
    try {
        Loaded loaded = Load(job.input, display);
        if (!loaded.picture) {
            outcome.failures << InputFailure(job.input, loaded.failure);
            return outcome;
        }
        for (const QString& warning : loaded.warnings)
            outcome.warnings
                << QStringLiteral("warning: %1: %2").arg(QuotedPath(job.input), warning);
        outcome.failures = ConvertLoaded(job, std::move(*loaded.picture), run, display, stages);
    } catch (const std::bad_alloc&) {
        outcome.failures << InputFailure(job.input, QStringLiteral("Out of memory"));
    } catch (const std::exception& error) {
        outcome.failures << InputFailure(job.input, QString::fromLocal8Bit(error.what()));
    }
    return outcome;
}

}  // namespace convert_tool
