#include "tests/tools/convert_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>

extern char** environ;

namespace tools_test {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using TempFile = std::unique_ptr<std::FILE, FileCloser>;

TempFile MakeTempFile() {
    TempFile file(std::tmpfile());
    if (!file) throw std::runtime_error("no temporary file");
    return file;
}

std::string ReadAll(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, count);
    return text;
}

// Null-terminated pointers into `words`, which must outlive them.
std::vector<char*> Argv(std::vector<std::string>& words) {
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    return argv;
}

// This process's environment with `changes` ("NAME=value") laid over it.
std::vector<std::string> Environment(const std::vector<std::string>& changes) {
    const auto name_of = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text(*entry);
        bool replaced = false;
        for (const std::string& change : changes)
            replaced = replaced || name_of(change) == name_of(text);
        if (!replaced) entries.push_back(text);
    }
    entries.insert(entries.end(), changes.begin(), changes.end());
    return entries;
}

// Starts the converter with stdout on `out_fd` and stderr on `err_fd`.
pid_t Spawn(const std::vector<std::string>& arguments, int out_fd, int err_fd,
            const std::vector<std::string>& environment = {}) {
    std::vector<std::string> words{ZARVIK_CONVERT_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv = Argv(words);
    std::vector<std::string> variables = Environment(environment);
    std::vector<char*> envp = Argv(variables);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out_fd, 1);
    posix_spawn_file_actions_adddup2(&actions, err_fd, 2);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) throw std::runtime_error("cannot start " + words.front());
    return pid;
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Reads a terminal's master side until every writer has closed the other side.
std::string DrainTerminal(int master) {
    std::string text;
    char buffer[4096];
    while (true) {
        pollfd ready{master, POLLIN, 0};
        if (poll(&ready, 1, 60'000) <= 0) break;
        const ssize_t count = read(master, buffer, sizeof buffer);
        if (count > 0) {
            text.append(buffer, static_cast<std::size_t>(count));
        } else if (count == 0 || errno != EINTR) {
            break;  // EIO: the converter has exited and closed the terminal
        }
    }
    return text;
}

}  // namespace

ConvertRun RunConvert(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment) {
    const TempFile out = MakeTempFile();
    const TempFile err = MakeTempFile();
    ConvertRun run;
    run.status = WaitFor(Spawn(arguments, fileno(out.get()), fileno(err.get()), environment));
    run.out = ReadAll(out.get());
    run.err = ReadAll(err.get());
    return run;
}

ConvertRun RunConvertOnTerminal(const std::vector<std::string>& arguments) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        throw std::runtime_error("no pseudo-terminal");
    const int terminal = open(ptsname(master), O_RDWR | O_NOCTTY);
    if (terminal < 0) throw std::runtime_error("cannot open the pseudo-terminal");
    const TempFile out = MakeTempFile();
    const pid_t pid = Spawn(arguments, fileno(out.get()), terminal);
    close(terminal);
    ConvertRun run;
    run.err = DrainTerminal(master);
    run.status = WaitFor(pid);
    close(master);
    run.out = ReadAll(out.get());
    return run;
}

int LineCount(const std::string& text) {
    int lines = 0;
    for (char c : text) lines += c == '\n' ? 1 : 0;
    if (!text.empty() && text.back() != '\n') ++lines;
    return lines;
}

}  // namespace tools_test
