#include "io/depth_file.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <new>

namespace pictureio {

namespace {

FileError ReadFailure(const QString& path, const QImageReader& reader) {
    const QFileInfo info(path);
    if (!info.exists()) return {kErrFileNotFound, QStringLiteral("File not found")};
    if (!info.isFile())
        return {kErrPathAccess, QStringLiteral("Path/File access error: it is not a file")};
    return {kErrInvalidPicture, QStringLiteral("Invalid picture: ") + reader.errorString()};
}

std::optional<FileError> CheckDepthSize(QSize size) {
    if (!size.isValid()) return std::nullopt;  // left to the decoder
    if (size.width() > platform::kMaxBitmapSide || size.height() > platform::kMaxBitmapSide ||
        qint64(size.width()) * size.height() > PixelBudget())
        return FileError{kErrOutOfMemory,
                         QStringLiteral("Out of memory: the depth map is %1 x %2 pixels")
                             .arg(size.width())
                             .arg(size.height())};
    return std::nullopt;
}

// Luminance in 16 bits (weights 0.299, 0.587, 0.114 summing to exactly 65536, so that
// a grey stays the grey it was), then rounded to 8 bits.
std::uint8_t LevelOf(const QRgba64& pixel) {
    const std::uint32_t luminance =
        (19595u * pixel.red() + 38470u * pixel.green() + 7471u * pixel.blue() + 32768u) >> 16;
    return static_cast<std::uint8_t>((luminance * 255u + 32767u) / 65535u);
}

core::DepthLevels LevelsOf(const QImage& rgbx64, bool black_near) {
    core::DepthLevels depth{rgbx64.width(), rgbx64.height(), {}};
    depth.levels.resize(static_cast<std::size_t>(depth.width) *
                        static_cast<std::size_t>(depth.height));
    auto out = depth.levels.begin();
    for (int y = 0; y < rgbx64.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgba64*>(rgbx64.constScanLine(y));
        for (int x = 0; x < rgbx64.width(); ++x) {
            const std::uint8_t level = LevelOf(row[x]);
            *out++ = black_near ? static_cast<std::uint8_t>(255 - level) : level;
        }
    }
    return depth;
}

}  // namespace

LoadedDepth LoadDepthFile(const QString& path, int width, int height, bool black_near) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (auto refused = CheckDepthSize(reader.size())) return {std::nullopt, *refused};
    try {
        QImage image = reader.read();
        if (image.isNull()) return {std::nullopt, ReadFailure(path, reader)};
        if (auto refused = CheckDepthSize(image.size())) return {std::nullopt, *refused};
        // 16 bits a channel, so that a 16-bit map is rounded once, at the end.
        image.convertTo(QImage::Format_RGBX64);
        if (image.size() != QSize(width, height))
            image = image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (image.isNull()) throw std::bad_alloc();
        return {LevelsOf(image, black_near), {}};
    } catch (const std::bad_alloc&) {
        return {std::nullopt, {kErrOutOfMemory, QStringLiteral("Out of memory")}};
    }
}

}  // namespace pictureio
