#include "tests/tools/test_files.h"

#include <QString>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tests/support/hostile_files.h"

namespace tools_test {

namespace fs = std::filesystem;

void WritePattern(const std::string& path, int width, int height) {
    if (!hostile::Pattern(width, height).save(QString::fromStdString(path)))
        throw std::runtime_error("cannot write " + path);
}

QImage ReadPicture(const std::string& path) {
    return QImage(QString::fromStdString(path));
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> entries;
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(
             folder, fs::directory_options::skip_permission_denied, ignored)) {
        // Only plain files are read: reading a pipe would wait for a writer.
        const fs::file_type kind = entry.symlink_status().type();
        entries[fs::relative(entry.path(), folder).string()] =
            std::to_string(static_cast<int>(kind)) +
            (kind == fs::file_type::regular ? ":" + ReadBytes(entry.path().string()) : "");
    }
    return entries;
}

}  // namespace tools_test
