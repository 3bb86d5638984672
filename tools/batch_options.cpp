#include "tools/batch_options.h"

#include "tools/number_argument.h"
#include "tools/parallel_batch.h"

namespace convert_tool {

namespace {

// A whole number from `low` to `high`, or the line that says it is not one.
std::optional<QString> ReadInRange(int& field, const char* option, const QString& text, int low,
                                   int high) {
    const auto value = ParseInt16(text.toStdString());
    if (value && *value >= low && *value <= high) {
        field = *value;
        return std::nullopt;
    }
    return QStringLiteral("%1: '%2' is not a whole number from %3 to %4")
        .arg(QLatin1String(option), text)
        .arg(low)
        .arg(high);
}

}  // namespace

std::optional<QString> SetJobs(BatchChoices& choices, const QString& text) {
    return ReadInRange(choices.jobs, "--jobs", text, 1, 256);
}

std::optional<QString> SetQuality(BatchChoices& choices, const QString& text) {
    return ReadInRange(choices.quality, "--quality", text, 0, 100);
}

std::optional<QString> SetPngCompression(BatchChoices& choices, const QString& text) {
    return ReadInRange(choices.png_compression, "--png-compression", text, 0, 9);
}

int JobsToRun(const BatchChoices& choices) {
    return choices.jobs > 0 ? choices.jobs : DefaultJobCount();
}

}  // namespace convert_tool
