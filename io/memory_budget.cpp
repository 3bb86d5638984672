#include "io/memory_budget.h"

#include <unistd.h>

#include <QFile>
#include <algorithm>

namespace pictureio {

namespace {

// A whole conversion holds the loaded picture and the six surfaces of the workspace
// at 4 bytes a pixel, the depth filters' grids and, while it is written, the output's
// image. Measured peaks on a 2000 x 2000 picture, the program's own 15 MB taken off:
// 32 bytes a pixel at the defaults, 36 with the max filter, warp, added depth and a
// frame written as PNG; 40 leaves room for the decoder's and the encoder's buffers.
constexpr qint64 kPeakBytesPerPixel = 40;
// The program itself, its libraries and Qt's image plugins.
constexpr qint64 kFixedBytes = qint64(64) << 20;

std::optional<qint64> MemAvailable() {
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    // A pseudo-file has no size to read to: line by line.
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (!line.startsWith("MemAvailable:")) continue;
        bool ok = false;
        const qint64 kilobytes =
            line.mid(13).trimmed().split(' ').front().toLongLong(&ok);  // "123456 kB"
        if (ok) return kilobytes * 1024;
    }
    return std::nullopt;
}

QString Gigabytes(qint64 bytes) {
    return QString::number(double(bytes) / 1e9, 'f', 1) + QStringLiteral(" GB");
}

}  // namespace

qint64 ConversionBytes(qint64 pixels) {
    return pixels * kPeakBytesPerPixel + kFixedBytes;
}

qint64 PixelsThatFit(qint64 available) {
    return std::max<qint64>(0, available - kFixedBytes) / kPeakBytesPerPixel;
}

qint64 AvailableBytes() {
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // The fuzzers' build: a machine of 1 GB. Pictures that fit it reach every path, and
    // one of hundreds of megapixels, which a large machine would convert, takes minutes
    // to load in that instrumented build and would read as a hang.
    return qint64{1} << 30;
#endif
    if (const auto available = MemAvailable()) return *available;
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long page_size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || page_size <= 0) return qint64(8) << 30;
    return qint64(pages) * page_size;
}

std::optional<QString> MemoryRefusal(QSize size, qint64 available) {
    const qint64 needed = ConversionBytes(qint64(size.width()) * size.height());
    if (needed <= available) return std::nullopt;
    return QStringLiteral(
               "Out of memory: converting a %1 x %2 picture would need %3; this machine has %4 "
               "available")
        .arg(size.width())
        .arg(size.height())
        .arg(Gigabytes(needed), Gigabytes(available));
}

}  // namespace pictureio
