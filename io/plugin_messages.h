#pragma once
// What Qt's image plugins and the libraries under them say while a picture is read
// or written. Left alone, libjpeg and libpng print their complaints on stderr with
// no file name attached; collected here, they become part of the converter's own
// line about that file.
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstdio>

namespace convert_tool {

// Collects, for as long as it lives, Qt's messages and whatever is written straight
// to stderr (one collector at a time; single thread).
class PluginMessages {
  public:
    PluginMessages();
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

    QtMessageHandler previous_ = nullptr;
    std::FILE* captured_ = nullptr;  // where stderr goes meanwhile
    int saved_stderr_ = -1;
    bool collecting_ = false;
    QStringList messages_;
};

}  // namespace convert_tool
