#pragma once
// Runs the built converter as a separate process, the way a user or a script does,
// over files in a temporary folder.
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace tools_test {

struct ConvertRun {
    int status = -1;  // the exit status; -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// `environment` holds "NAME=value" entries laid over this process's own. A converter
// that hangs (on a pipe, say) is stopped after a minute and fails the test.
inline ConvertRun RunConvert(const std::vector<std::string>& arguments,
                             const QStringList& environment = {}) {
    QStringList words;
    for (const std::string& argument : arguments) words << QString::fromStdString(argument);
    QProcess process;
    process.setEnvironment(QProcess::systemEnvironment() + environment);
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

// A fresh folder under the system's temporary folder, removed with everything in it.
struct TempFolder {
    TempFolder() {
        if (!dir.isValid()) throw std::runtime_error("no temporary folder");
    }
    std::string Root() const { return dir.path().toStdString(); }
    std::string Path(const std::string& name) const { return Root() + "/" + name; }
    QTemporaryDir dir;
};

// A picture whose neighbouring pixels all differ, so a decoder has real data to read.
inline QImage Pattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           qRgb((x * 37 + y * 11) % 256, (x * 5 + y * 71) % 256, x * 91 % 256));
    return image;
}

// Saved in the format its extension names.
inline void WritePattern(const std::string& path, int width, int height) {
    if (!Pattern(width, height).save(QString::fromStdString(path)))
        throw std::runtime_error("cannot write " + path);
}

inline QImage ReadPicture(const std::string& path) {
    return QImage(QString::fromStdString(path));
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    if (!(std::ofstream(path, std::ios::binary) << bytes))
        throw std::runtime_error("cannot write " + path);
}

// What is under `folder`: each entry's kind and, for a plain file, its bytes (a pipe
// is not read: that would wait for a writer). Two equal snapshots show that a run
// changed nothing there and left nothing behind.
inline std::map<std::string, std::string> Snapshot(const std::string& folder) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const fs::file_type kind = entry.symlink_status().type();
        entries[fs::relative(entry.path(), folder).string()] =
            std::to_string(static_cast<int>(kind)) +
            (kind == fs::file_type::regular ? ":" + ReadBytes(entry.path().string()) : "");
    }
    return entries;
}

}  // namespace tools_test
