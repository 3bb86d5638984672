#pragma once
// Folders, files and pictures for the converter's tests.
#include <QImage>
#include <QTemporaryDir>
#include <map>
#include <stdexcept>
#include <string>

namespace tools_test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder() {
        if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
    }
    const std::string& Root() const { return root_; }
    std::string Path(const std::string& name) const { return root_ + "/" + name; }

  private:
    QTemporaryDir dir_;
    std::string root_ = dir_.path().toStdString();
};

// Saves a picture whose neighbouring pixels all differ, in the format its extension names.
void WritePattern(const std::string& path, int width, int height);
QImage ReadPicture(const std::string& path);
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// What is under `folder`: each entry's kind and, for a plain file, its bytes. Two
// equal snapshots show that a run changed nothing there and left nothing behind.
std::map<std::string, std::string> Snapshot(const std::string& folder);

}  // namespace tools_test
