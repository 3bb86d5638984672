#pragma once
// What Qt's image plugins and the libraries under them say while a picture is read
// or written. Left alone, libjpeg and libpng print their complaints on stderr with
// no file name attached; collected here, they become part of the converter's own
// line about that file.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstdio>

namespace convert_tool {

// Collects, for as long as it lives, the Qt messages of its own thread and, unless
// its format needs no such thing, whatever is written straight to stderr. Collectors on other
// threads that take stderr over too wait for each other; one on the same thread must not be made
// inside another.
class PluginMessages {
  public:
    // Keeps stderr from being taken over while it lives, for a thread that writes its
    // own lines while collectors may be running on others.
    class StderrTurn {
      public:
        StderrTurn();
        ~StderrTurn();
        StderrTurn(const StderrTurn&) = delete;
        StderrTurn& operator=(const StderrTurn&) = delete;
    };

    // For a file of `format`: stderr is taken over (waiting for its turn) unless the
    // format's reader and writer are known to speak only through Qt's messages, so
    // that the files of most pictures in a batch are read and written side by side.
    explicit PluginMessages(const QByteArray& format = {});
    ~PluginMessages();
    PluginMessages(const PluginMessages&) = delete;
    PluginMessages& operator=(const PluginMessages&) = delete;

    // Each different message once, in the order they came; ends the collecting.
    const QStringList& Messages();
    // The decoder's words if it reached the end of the file before the end of the
    // picture and filled the rest in itself: a cut-off file, not a picture to convert.
    QString TruncationMessage();

  private:
    static void Collect(QtMsgType type, const QMessageLogContext& context, const QString& text);
    void Add(const QString& text);
    void Stop();

    std::FILE* captured_ = nullptr;  // where stderr goes meanwhile
    int saved_stderr_ = -1;
    bool collecting_ = false;
    bool holds_stderr_ = false;  // this collector's turn with stderr
    QStringList messages_;
};

}  // namespace convert_tool
