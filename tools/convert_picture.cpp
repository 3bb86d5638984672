#include "tools/convert_picture.h"

#include <QImageReader>
#include <exception>
#include <new>

#include "conversion/run.h"
#include "io/depth_file.h"
#include "io/picture_io.h"
#include "io/plugin_messages.h"
#include "tools/output_format.h"
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

Loaded Load(const QString& input, const platform::Display& display, std::uint32_t background) {
    PluginMessages messages(QImageReader::imageFormat(input));
    pictureio::LoadedPicture loaded = pictureio::LoadPictureFile(input, display, background);
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
          const pictureio::WriteSettings& write, QStringList& failures) {
    if (path.isEmpty()) return;
    PluginMessages messages(FormatForPath(path));
    const auto failure =
        pictureio::SaveBitmapFile(bitmap, display, path, FormatForPath(path), write);
    if (failure) {
        failures << QStringLiteral("cannot write %1: %2")
                        .arg(QuotedPath(path),
                             WithDetail(failure->description, messages.Messages()));
    }
}

QStringList ConvertLoaded(const PictureJob& job, const platform::Picture& picture,
                          const RunSettings& run, const platform::Display& display,
                          QStringList& notes) {
    std::optional<core::DepthLevels> depth;
    if (!job.parallax.depth_from.isEmpty()) {
        pictureio::LoadedDepth loaded =
            pictureio::LoadDepthFile(job.parallax.depth_from, picture.bitmap.Width(),
                                     picture.bitmap.Height(), job.parallax.depth_from_black_near);
        if (!loaded.levels)
            return {InputFailure(job.input, QStringLiteral("cannot read the depth map %1: %2")
                                                .arg(QuotedPath(job.parallax.depth_from),
                                                     loaded.error.description))};
        depth = std::move(loaded.levels);
    }
    core::Progress progress;
    const bool stage_views = !job.depth_map.isEmpty() || !job.second_view.isEmpty() ||
                             !job.parallax.left_view.isEmpty() ||
                             !job.parallax.right_view.isEmpty();
    const conversion::Result result =
        conversion::Run(picture, display, run, progress,
                        {.depth_from = depth ? &*depth : nullptr, .stage_views = stage_views});
    if (result.outcome != conversion::Outcome::kConverted)
        return {InputFailure(job.input, QString::fromStdString(result.Failure()))};
    if (!result.scene_picked.empty())
        notes << QStringLiteral("%1: scene %2")
                     .arg(QuotedPath(job.input), QString::fromStdString(result.scene_picked));
    QStringList failures;
    Save(result.views.anaglyph.bitmap, display, job.output, job.write, failures);
    Save(result.views.depth_map, display, job.depth_map, job.write, failures);
    Save(result.views.second_view, display, job.second_view, job.write, failures);
    Save(result.views.left_view, display, job.parallax.left_view, job.write, failures);
    Save(result.views.right_view, display, job.parallax.right_view, job.write, failures);
    return failures;
}

}  // namespace

PictureOutcome ConvertPicture(const PictureJob& job, const RunSettings& run,
                              const platform::Display& display) {
    PictureOutcome outcome;
    try {
        Loaded loaded = Load(job.input, display, run.picture.background);
        if (!loaded.picture) {
            outcome.failures << InputFailure(job.input, loaded.failure);
            return outcome;
        }
        for (const QString& warning : loaded.warnings)
            outcome.warnings
                << QStringLiteral("warning: %1: %2").arg(QuotedPath(job.input), warning);
        outcome.failures = ConvertLoaded(job, *loaded.picture, run, display, outcome.notes);
    } catch (const std::bad_alloc&) {
        outcome.failures << InputFailure(job.input, QStringLiteral("Out of memory"));
    } catch (const std::exception& error) {
        outcome.failures << InputFailure(job.input, QString::fromLocal8Bit(error.what()));
    }
    return outcome;
}

}  // namespace convert_tool
