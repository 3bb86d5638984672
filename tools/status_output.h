#pragma once
// What the converter says on stderr: one line per failure and, for several
// pictures on a terminal, a progress line that each picture overwrites.
#include <QString>

namespace convert_tool {

class StatusOutput {
  public:
    // The progress line shows only when asked for and stderr is a terminal.
    StatusOutput(int total, bool want_progress);
    ~StatusOutput();
    StatusOutput(const StatusOutput&) = delete;
    StatusOutput& operator=(const StatusOutput&) = delete;

    // "[number/total] name", in place of the previous one.
    void Progress(int number, const QString& name);
    // One line, "zarvik-convert: " and the text; it never ends up inside the progress line.
    void Line(const QString& text);
    // Takes the progress line away.
    void Finish();

  private:
    void ClearProgress();

    int total_;
    bool progress_;
    bool progress_shown_ = false;
};

// Writes "zarvik-convert: <text>" as a line on stderr.
void PrintError(const QString& text);

// The path in double quotes, with its control characters written as escapes (\n,
// \t, \r, \xNN), so that no file name can split the one line a failure gets.
QString QuotedPath(const QString& path);

}  // namespace convert_tool
