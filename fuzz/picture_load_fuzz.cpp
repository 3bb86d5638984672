// Random bytes as a picture file: loading must refuse or succeed, never crash, hang
// or allocate without bound.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <iterator>

#include "io/picture_io.h"

namespace {

QTemporaryDir* folder = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    folder = new QTemporaryDir;  // lives for the whole fuzzing process
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = folder->filePath(QStringLiteral("input"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    // The file's length picks the display, so that a corpus of real pictures reaches
    // every depth's road (a decode straight into the bitmap, or a mapping after it).
    static const platform::Display displays[] = {platform::Display(32), platform::Display(24),
                                                 platform::Display(16), platform::Display(8)};
    const platform::Display& display = displays[size % std::size(displays)];
    const auto loaded = pictureio::LoadPictureFile(path, display);
    if (loaded.picture) {
        const auto& bitmap = loaded.picture->bitmap;
        if (bitmap.Width() > platform::kMaxBitmapSide || bitmap.Height() > platform::kMaxBitmapSide)
            std::abort();
    } else if (loaded.error.number == 0 || loaded.error.description.isEmpty()) {
        std::abort();  // a refusal always says why
    }
    return 0;
}
