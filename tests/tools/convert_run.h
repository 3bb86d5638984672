#pragma once
// Runs the built converter as a separate process, the way a user or a script does,
// over files in a temporary folder.
#include <sys/resource.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstddef>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tools_test {

struct ConvertRun {
    int status = -1;  // the exit status; -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// `environment` holds "NAME=value" entries laid over this process's own; a non-zero
// `megabytes` limits the converter's address space, so that an allocation fails
// wherever the limit falls. A converter that hangs (on a pipe, say) is stopped after a
// minute and fails the test.
inline ConvertRun RunConvert(const std::vector<std::string>& arguments,
                             const QStringList& environment = {}, std::size_t megabytes = 0) {
    QStringList words;
    for (const std::string& argument : arguments) words << QString::fromStdString(argument);
    QProcess process;
    process.setEnvironment(QProcess::systemEnvironment() + environment);
    if (megabytes != 0)
        process.setChildProcessModifier([megabytes] {
            const rlimit limit{megabytes << 20, megabytes << 20};
            setrlimit(RLIMIT_AS, &limit);
        });
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QStringLiteral(ZARVIK_CONVERT_PATH), words);
    if (!process.waitForStarted(-1)) throw std::runtime_error("cannot start the converter");
    if (!process.waitForFinished(60'000)) process.kill();
    process.waitForFinished(-1);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

inline int Lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// A fresh folder under the system's temporary folder, removed with everything in it;
// one that cannot be made stops the test rather than have it write from the root.
struct TempFolder {
    TempFolder() {
        if (!dir.isValid()) throw std::runtime_error("no temporary folder");
    }
    std::string Path(const std::string& name = "") const {
        return dir.path().toStdString() + "/" + name;
    }
    QTemporaryDir dir;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline QImage ReadRgb(const std::string& path) {
    return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    if (!(std::ofstream(path, std::ios::binary) << bytes))
        throw std::runtime_error("cannot write " + path);
}

}  // namespace tools_test
