#pragma once
// Folders, files and pictures for the converter's tests.
#include <QImage>
#include <string>

namespace tools_test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Root() const { return root_; }
    // root/name
    std::string Path(const std::string& name) const { return root_ + "/" + name; }

  private:
    std::string root_;
};

// A picture with a different colour in every pixel nearby, so that moved pixels show.
QImage PatternImage(int width, int height);

// Saves PatternImage(width, height) at path in Qt's format (nullptr: by extension).
void WritePattern(const std::string& path, int width, int height, const char* format = nullptr);

QImage ReadPicture(const std::string& path);
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);

// The sample picture kept in the repository.
std::string SamplePicture();

}  // namespace tools_test
