#include "tests/tools/convert_process.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QProcess>
#include <algorithm>
#include <stdexcept>

namespace tools_test {

namespace {

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
                      const std::vector<std::string>& environment, bool on_terminal) {
    QStringList words;
    for (const std::string& argument : arguments) words << QString::fromStdString(argument);
    QProcessEnvironment changed = QProcessEnvironment::systemEnvironment();
    for (const std::string& change : environment) {
        const std::size_t equals = change.find('=');
        changed.insert(QString::fromStdString(change.substr(0, equals)),
                       QString::fromStdString(change.substr(equals + 1)));
    }
    QProcess process;
    process.setProcessEnvironment(changed);
    process.setStandardInputFile(QProcess::nullDevice());
    int master = -1;
    int terminal = -1;
    if (on_terminal) {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            throw std::runtime_error("no pseudo-terminal");
        terminal = open(ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (terminal < 0) throw std::runtime_error("cannot open the pseudo-terminal");
        process.setChildProcessModifier([terminal] { dup2(terminal, 2); });
    }
    process.start(QStringLiteral(ZARVIK_CONVERT_PATH), words);
    if (!process.waitForStarted(-1)) throw std::runtime_error("cannot start the converter");
    std::string terminal_text;
    if (on_terminal) {
        close(terminal);
        terminal_text = DrainTerminal(master);
        close(master);
    }
    // A converter that hangs (on a pipe, say) is stopped after a minute and fails the test.
    if (!process.waitForFinished(60'000)) process.kill();
    process.waitForFinished(-1);
    ConvertRun run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = on_terminal ? terminal_text : process.readAllStandardError().toStdString();
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
