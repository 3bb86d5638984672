#include "io/plugin_messages.h"

#include <unistd.h>

#include <QMutex>

namespace convert_tool {

namespace {

// Each thread's collector; Qt calls the handler on the thread that said something.
thread_local PluginMessages* active = nullptr;
// The handler stays installed while any collector on any thread lives.
QMutex handler_mutex;
int collectors = 0;
QtMessageHandler previous_handler = nullptr;
// stderr is the process's: one collector at a time takes it over, and a collector on
// another thread waits for its turn rather than have its lines mixed in.
QMutex stderr_mutex;

QString ReadFrom(std::FILE* file) {
    QByteArray bytes;
    std::rewind(file);
    char buffer[1024];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, count);
    return QString::fromLocal8Bit(bytes);
}

// libpng and libtiff print their complaints on stderr by themselves. Qt's readers and
// writers of these formats pass everything the libraries under them say through its
// own messages, which each thread collects for itself.
bool SpeaksOnlyThroughQt(const QByteArray& format) {
    const QByteArray name = format.toLower();
    return name == "jpg" || name == "jpeg" || name == "bmp" || name == "gif" || name == "webp";
}

}  // namespace

PluginMessages::StderrTurn::StderrTurn() {
    stderr_mutex.lock();
}

PluginMessages::StderrTurn::~StderrTurn() {
    stderr_mutex.unlock();
}

PluginMessages::PluginMessages(const QByteArray& format) {
    {
        const QMutexLocker lock(&handler_mutex);
        if (collectors++ == 0) previous_handler = qInstallMessageHandler(&PluginMessages::Collect);
    }
    active = this;
    collecting_ = true;
    if (SpeaksOnlyThroughQt(format)) return;
    stderr_mutex.lock();
    holds_stderr_ = true;
    std::fflush(stderr);
    captured_ = std::tmpfile();
    if (captured_) saved_stderr_ = dup(STDERR_FILENO);
    if (saved_stderr_ >= 0) dup2(fileno(captured_), STDERR_FILENO);
}

PluginMessages::~PluginMessages() {
    Stop();
    if (captured_) std::fclose(captured_);
}

void PluginMessages::Stop() {
    if (!collecting_) return;
    collecting_ = false;
    active = nullptr;
    {
        const QMutexLocker lock(&handler_mutex);
        if (--collectors == 0) qInstallMessageHandler(previous_handler);
    }
    if (saved_stderr_ >= 0) {
        std::fflush(stderr);
        dup2(saved_stderr_, STDERR_FILENO);
        close(saved_stderr_);
        saved_stderr_ = -1;
    }
    if (holds_stderr_) {
        holds_stderr_ = false;
        stderr_mutex.unlock();
    }
    if (!captured_) return;
    for (const QString& line : ReadFrom(captured_).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        Add(line.trimmed());
}

void PluginMessages::Collect(QtMsgType /*type*/, const QMessageLogContext& /*context*/,
                             const QString& text) {
    if (active) active->Add(text);
}

void PluginMessages::Add(const QString& text) {
    if (!text.isEmpty() && !messages_.contains(text)) messages_ << text;
}

const QStringList& PluginMessages::Messages() {
    Stop();
    return messages_;
}

QString PluginMessages::TruncationMessage() {
    // libjpeg's words for a file that stops early ("Premature end of JPEG file",
    // "premature end of data segment"); its other warnings are about oddities it
    // decodes through, and those pictures are converted.
    for (const QString& message : Messages())
        if (message.contains(QLatin1String("premature end"), Qt::CaseInsensitive)) return message;
    return {};
}

}  // namespace convert_tool
