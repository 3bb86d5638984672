#include "tests/tools/convert_process.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QProcess>
#include <algorithm>
#include <stdexcept>

namespace tools_test {

namespace {

// Starts the converter with nothing on stdin, this process's environment with
// `changes` ("NAME=value") laid over it, and stderr on `terminal` when one is given.
void Start(QProcess& process, const std::vector<std::string>& arguments,
           const std::vector<std::string>& changes = {}, int terminal = -1) {
    QStringList words;
    for (const std::string& argument : arguments) words << QString::fromStdString(argument);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const std::string& change : changes) {
        const std::size_t equals = change.find('=');
        environment.insert(QString::fromStdString(change.substr(0, equals)),
                           QString::fromStdString(change.substr(equals + 1)));
    }
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    if (terminal >= 0) process.setChildProcessModifier([terminal] { dup2(terminal, 2); });
    process.start(QStringLiteral(ZARVIK_CONVERT_PATH), words);
    if (!process.waitForStarted(-1)) throw std::runtime_error("cannot start the converter");
}

// A converter that hangs (on a pipe, say) is stopped after a minute and fails the test.
ConvertRun Finish(QProcess& process) {
    if (!process.waitForFinished(60'000)) process.kill();
    process.waitForFinished(-1);
    ConvertRun run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

// Reads a terminal's master side until every writer has closed the other side.
std::string DrainTerminal(int master) {
    std::string text;
    char buffer[4096];
    pollfd ready{master, POLLIN, 0};
    while (poll(&ready, 1, 60'000) > 0) {
        const ssize_t count = read(master, buffer, sizeof buffer);
        if (count > 0)
            text.append(buffer, static_cast<std::size_t>(count));
        else if (count == 0 || errno != EINTR)
            break;  // EIO: the converter has exited and closed the terminal
    }
    return text;
}

}  // namespace

ConvertRun RunConvert(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment) {
    QProcess process;
    Start(process, arguments, environment);
    return Finish(process);
}

ConvertRun RunConvertOnTerminal(const std::vector<std::string>& arguments) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        throw std::runtime_error("no pseudo-terminal");
    const int terminal = open(ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal < 0) throw std::runtime_error("cannot open the pseudo-terminal");
    QProcess process;
    Start(process, arguments, {}, terminal);
    close(terminal);
    const std::string err = DrainTerminal(master);
    close(master);
    ConvertRun run = Finish(process);
    run.err = err;
    return run;
}

int LineCount(const std::string& text) {
    const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    return lines + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

std::string CannotConvert(const std::string& path) {
    return "cannot convert \"" + path + "\": ";
}

}  // namespace tools_test
