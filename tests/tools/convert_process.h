#pragma once
// Runs the built converter as a separate process, the way a user or a script does.
#include <string>
#include <vector>

namespace tools_test {

struct ConvertRun {
    int status = -1;  // the exit status; -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// Runs zarvik-convert with these arguments, stdout and stderr captured; `environment`
// holds "NAME=value" entries that are added to, or replace, this process's own. On a
// terminal, stderr goes to a pseudo-terminal, for what only a person watching sees.
ConvertRun RunConvert(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment = {}, bool on_terminal = false);

// Counts the lines of a text (a last line without its newline counts too).
int LineCount(const std::string& text);

// The converter's one failure line for a bad input: "cannot convert \"path\": ".
std::string CannotConvert(const std::string& path);

}  // namespace tools_test
