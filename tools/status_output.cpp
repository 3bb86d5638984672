#include "tools/status_output.h"

#include <unistd.h>

#include <cstdio>

namespace convert_tool {

namespace {

void Write(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

// Back to the start of the line and erase it, so a shorter name leaves no tail.
constexpr const char* kEraseLine = "\r\033[K";

}  // namespace

QString QuotedPath(const QString& path) {
    QString quoted(QLatin1Char('"'));
    for (const QChar c : path) {
        if (c == u'\n')
            quoted += QLatin1String("\\n");
        else if (c == u'\t')
            quoted += QLatin1String("\\t");
        else if (c == u'\r')
            quoted += QLatin1String("\\r");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            quoted += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            quoted += c;
    }
    return quoted + QLatin1Char('"');
}

void PrintError(const QString& text) {
    Write(QStringLiteral("zarvik-convert: ") + text + QLatin1Char('\n'));
}

StatusOutput::StatusOutput(int total, bool want_progress)
    : total_(total), progress_(want_progress && isatty(STDERR_FILENO) == 1) {}

StatusOutput::~StatusOutput() {
    Finish();
}

void StatusOutput::Progress(int number, const QString& name) {
    if (!progress_) return;
    Write(QLatin1String(kEraseLine) + QStringLiteral("[%1/%2] ").arg(number).arg(total_) + name);
    progress_shown_ = true;
}

void StatusOutput::Line(const QString& text) {
    ClearProgress();
    PrintError(text);
}

void StatusOutput::Finish() {
    ClearProgress();
}

void StatusOutput::ClearProgress() {
    if (!progress_shown_) return;
    Write(QLatin1String(kEraseLine));
    progress_shown_ = false;
}

}  // namespace convert_tool
