// zarvik-convert: the desktop program's conversion, run from the command line.
#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include "core/large_allocations.h"

#include "tools/batch.h"
#include "tools/convert_options.h"
#include "tools/help_text.h"
#include "tools/run_checks.h"
#include "tools/run_settings.h"
#include "tools/status_output.h"

namespace {

constexpr int kUsageErrorStatus = 2;

// False when the text did not all reach stdout (a full disk, a closed pipe).
bool PrintOut(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    const auto size = static_cast<std::size_t>(bytes.size());
    return std::fwrite(bytes.constData(), 1, size, stdout) == size && std::fflush(stdout) == 0 &&
           !std::ferror(stdout);
}

int Printed(const QString& text) {
    if (PrintOut(text)) return 0;
    const int error = errno;
    convert_tool::PrintError(QStringLiteral("cannot write to standard output: %1")
                                 .arg(QString::fromLocal8Bit(std::strerror(error))));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    core::KeepLargeBlocksForReuse();
    // Qt's image plugins need an application object, but no display.
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zarvik-convert"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZARVIK_VERSION));

    using convert_tool::ParseStatus;
    const convert_tool::ParseResult parsed =
        convert_tool::ParseCommandLine(QCoreApplication::arguments().mid(1));
    switch (parsed.status) {
        case ParseStatus::kHelp:
            return Printed(convert_tool::HelpText());
        case ParseStatus::kVersion:
            return Printed(QStringLiteral("zarvik-convert " ZARVIK_VERSION "\n"));
        case ParseStatus::kUsageError:
            convert_tool::PrintError(parsed.error);
            convert_tool::PrintError(convert_tool::UsageHint());
            return kUsageErrorStatus;
        case ParseStatus::kRun:
            break;
    }
    if (const auto refused = convert_tool::RefuseRun(parsed.options)) {
        convert_tool::PrintError(*refused);
        convert_tool::PrintError(convert_tool::UsageHint());
        return kUsageErrorStatus;
    }
    return convert_tool::RunBatch(parsed.options, convert_tool::ResolveSettings(parsed.options));
}
