#include "tests/tools/test_files.h"

#include <QString>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace tools_test {

TempFolder::TempFolder() {
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::string pattern = (base / "zarvik-convert-test-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data())) throw std::runtime_error("no temporary folder");
    root_ = name.data();
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Tests take permissions away; give them back so that everything can go.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root_, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(root_, ignored);
}

QImage PatternImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = qRgb((x * 7 + y * 3) % 256, (x * 3 + y * 11) % 256, (x * 13 + y * 5) % 256);
    }
    return image;
}

void WritePattern(const std::string& path, int width, int height, const char* format) {
    if (!PatternImage(width, height).save(QString::fromStdString(path), format))
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

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

std::string SamplePicture() {
    return ZARVIK_SAMPLE_PICTURE;
}

}  // namespace tools_test
