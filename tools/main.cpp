// zarvik-convert: the desktop program's conversion, run from the command line.
#include <QCoreApplication>

#include "core/large_allocations.h"
#include <cstdio>

#include "tools/batch.h"
#include "tools/convert_options.h"
#include "tools/help_text.h"
#include "tools/run_settings.h"
#include "tools/status_output.h"

namespace {

constexpr int kUsageErrorStatus = 2;

void PrintOut(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
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
            PrintOut(convert_tool::HelpText());
            return 0;
        case ParseStatus::kVersion:
            PrintOut(QStringLiteral("zarvik-convert " ZARVIK_VERSION "\n"));
            return 0;
        case ParseStatus::kUsageError:
            convert_tool::PrintError(parsed.error);
            convert_tool::PrintError(convert_tool::UsageHint());
            return kUsageErrorStatus;
        case ParseStatus::kRun:
            break;
    }
    return convert_tool::RunBatch(parsed.options, convert_tool::ResolveSettings(parsed.options));
}
