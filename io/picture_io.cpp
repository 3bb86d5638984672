#include "io/picture_io.h"

#include <unistd.h>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

#include "core/row_blocks.h"
#include "io/alpha_and_profile.h"
#include "io/bmp_header.h"
#include "io/decode_in_place.h"
#include "io/file_reasons.h"
#include "io/memory_budget.h"
#include "io/picture_length.h"

namespace pictureio {

namespace {

// A picture file is kept in memory up to this size per pixel of the budget: more than
// any uncompressed 8-bit picture needs, well under what its conversion takes.
constexpr qint64 kHeldFileBytesPerPixel = 4;

std::string_view ViewOf(const QByteArray& name) {
    return {name.constData(), static_cast<std::size_t>(name.size())};
}

std::span<const std::uint8_t> BytesOf(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

// Qt's BMP reader says only "Unable to read image data" for a header it refuses.
QString BmpFault(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0) return {};
    const uchar* bytes = file.map(0, file.size());
    if (!bytes) return {};
    const auto fault = ImpossibleBmpField({bytes, static_cast<std::size_t>(file.size())});
    return fault ? QString::fromStdString(*fault) : QString();
}

FileError ReaderError(const QImageReader& reader, const QString& path, const QByteArray& format) {
    const QFileInfo info(path);
    if (!info.exists()) return {kErrFileNotFound, QStringLiteral("File not found")};
    if (info.isDir())
        return {kErrPathAccess, QStringLiteral("Path/File access error: it is a folder")};
    if (!info.isReadable()) return {kErrPermissionDenied, QStringLiteral("Permission denied")};
    if (info.size() == 0)
        return {kErrInvalidPicture, QStringLiteral("Invalid picture: the file is empty")};
    if (format.toLower() == "bmp")
        if (const QString fault = BmpFault(path); !fault.isEmpty())
            return {kErrInvalidPicture, QStringLiteral("Invalid picture: ") + fault};
    return {kErrInvalidPicture, QStringLiteral("Invalid picture: ") + reader.errorString()};
}

std::optional<FileError> CheckSize(QSize size) {
    if (!size.isValid()) return std::nullopt;
    if (size.width() > platform::kMaxBitmapSide || size.height() > platform::kMaxBitmapSide) {
        return FileError{
            kErrInvalidPicture,
            QStringLiteral("The picture is %1 x %2 pixels; at most 32767 pixels each way "
                           "can be converted")
                .arg(size.width())
                .arg(size.height())};
    }
    if (auto refusal = MemoryRefusal(size, AvailableBytes()))
        return FileError{kErrOutOfMemory, *refusal};
    return std::nullopt;
}

// A QRgb (0xAARRGGBB) stored little endian has the bytes Blue, Green, Red, alpha: a
// 32-bit bitmap pixel once the alpha byte is cleared. Plain word loops, which
// vectorise; the width is asked for once, as QImage::width() is a library call.
void StoreRow32(const QImage& rgb32, int y, std::uint8_t* out) {
    const auto* in = reinterpret_cast<const QRgb*>(rgb32.constScanLine(y));
    const int width = rgb32.width();
    if constexpr (std::endian::native == std::endian::little) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = in[x] & 0x00FFFFFFu;
            std::memcpy(out + 4 * x, &pixel, 4);
        }
    } else {
        for (int x = 0; x < width; ++x) {
            out[4 * x] = static_cast<std::uint8_t>(qBlue(in[x]));
            out[4 * x + 1] = static_cast<std::uint8_t>(qGreen(in[x]));
            out[4 * x + 2] = static_cast<std::uint8_t>(qRed(in[x]));
            out[4 * x + 3] = 0;
        }
    }
}

// The reverse, with the alpha byte opaque as an RGB32 image wants it.
void LoadRow32(const std::uint8_t* in, int width, QRgb* out) {
    if constexpr (std::endian::native == std::endian::little) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t pixel = 0;
            std::memcpy(&pixel, in + 4 * x, 4);
            out[x] = pixel | 0xFF000000u;
        }
    } else {
        for (int x = 0; x < width; ++x) out[x] = qRgb(in[4 * x + 2], in[4 * x + 1], in[4 * x]);
    }
}

// Listens to what Qt's image plugins say while one picture is read, passing every
// message on. libjpeg decodes a file that stops early, greys out the rest and
// reports success; only its warning tells.
class TruncationWatch {
  public:
    TruncationWatch() {
        active_ = this;
        previous_ = qInstallMessageHandler(&TruncationWatch::Listen);
    }
    ~TruncationWatch() {
        qInstallMessageHandler(previous_);
        active_ = nullptr;
    }
    TruncationWatch(const TruncationWatch&) = delete;
    TruncationWatch& operator=(const TruncationWatch&) = delete;

    // The decoder's words when the file ended before the picture did.
    const QString& Truncation() const { return truncation_; }

  private:
    static void Listen(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (active_ && active_->truncation_.isEmpty() &&
            text.contains(QLatin1String("premature end"), Qt::CaseInsensitive)) {
            active_->truncation_ = text;
        }
        if (active_ && active_->previous_) active_->previous_(type, context, text);
    }

    static inline TruncationWatch* active_ = nullptr;
    QtMessageHandler previous_ = nullptr;
    QString truncation_;
};

// Looks at the file's bytes in place (mapped, not read) before any decoder does.
bool CutShort(const QString& path, const QByteArray& format) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0) return false;
    const uchar* bytes = file.map(0, file.size());
    if (!bytes) return false;  // not a file that maps: left to the decoder
    return EndsBeforeThePicture(ViewOf(format.toLower()),
                                {bytes, static_cast<std::size_t>(file.size())});
}

// A pipe blocks whoever opens it until the other end does, and a device may never
// end; writing "over" either through a temporary file would replace it with a plain
// file. Folders are left to the reader and the saver, which name them.
bool IsSpecialFile(const QFileInfo& info) {
    return info.exists() && !info.isFile() && !info.isDir();
}

FileError SpecialFileError() {
    return {kErrPathAccess,
            QStringLiteral("Path/File access error: it is a device, pipe or socket, not a file")};
}

FileError CutShortError(const QString& detail = {}) {
    QString text = QStringLiteral("Invalid picture: the file ends before the picture does");
    if (!detail.isEmpty()) text += QStringLiteral(" (") + detail + QLatin1Char(')');
    return {kErrInvalidPicture, text};
}

// Qt's reader does the decoding; the picture is refused when the decoder itself says
// the file ended early, or when what it made is larger than its header said.
LoadedPicture Decode(QImageReader& reader, const QString& path, const QByteArray& format,
                     const platform::Display& display, std::uint32_t background) {
    // Qt's own guard (128 MB by default) would refuse ordinary camera pictures; the
    // budget is the real limit.
    QImageReader::setAllocationLimit(
        static_cast<int>(std::min<qint64>(PixelBudget() * 4 / (1024 * 1024) + 1, 1 << 30)));
    QImage image;
    std::optional<platform::Bitmap> target;
    TruncationWatch watch;
    try {
        target = BitmapToDecodeInto(reader);
        if (target) image = ImageOver(*target);
        if (!reader.read(&image)) image = QImage();
    } catch (const std::bad_alloc&) {
        return {std::nullopt, {kErrOutOfMemory, QStringLiteral("Out of memory")}, {}};
    }
    if (image.isNull()) return {std::nullopt, ReaderError(reader, path, format), {}};
    if (!watch.Truncation().isEmpty()) return {std::nullopt, CutShortError(watch.Truncation()), {}};
    if (auto refused = CheckSize(image.size())) return {std::nullopt, *refused, {}};
    try {
        image = OpaqueSrgb(std::move(image), background);
        const bool words = display.Layout() == platform::PixelLayout::Bgrx32;
        if (target && words && FinishInPlace(image, *target))
            return {platform::Picture{std::move(*target), std::nullopt}, {}, {}};
        if (target && !LiesOver(image, *target)) target.reset();  // not needed for the mapping
        return {PictureFromImage(image, display), {}, {}};
    } catch (const std::bad_alloc&) {
        return {std::nullopt, {kErrOutOfMemory, QStringLiteral("Out of memory")}, {}};
    }
}

// The whole file, read once, when it is small enough to keep beside the conversion
// it feeds; otherwise nothing, and the decoder reads from the disk as it goes.
std::optional<QByteArray> HeldFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const qint64 size = file.size();
    if (size <= 0 || size > PixelBudget() * kHeldFileBytesPerPixel) return std::nullopt;
    try {
        QByteArray bytes = file.readAll();
        if (bytes.size() != size) return std::nullopt;  // changed while it was read
        return bytes;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace

qint64 PixelBudget() {
    return PixelsThatFit(AvailableBytes());
}

platform::Picture PictureFromImage(const QImage& image, const platform::Display& display) {
    const QImage rgb32 = image.convertToFormat(QImage::Format_RGB32);
    // At 32 bits every byte is written below, padding and all (there is none).
    const bool words = display.Layout() == platform::PixelLayout::Bgrx32;
    platform::Bitmap bitmap =
        words
            ? platform::Bitmap::Uncleared(rgb32.width(), rgb32.height(), display.HeaderBitsPixel())
            : platform::Bitmap(rgb32.width(), rgb32.height(), display.HeaderBitsPixel());
    const int bytes = display.BytesPerPixel();
    bitmap.MutableBits();  // unshared and allocated once, before the rows are written side by side
    std::vector<platform::NearestMemo> memos;
    if (display.Nearest())
        memos.assign(static_cast<std::size_t>(core::ThreadCount()),
                     platform::NearestMemo(*display.Nearest()));
    core::ParallelRows(0, rgb32.height(), [&](int y) {
        std::uint8_t* out = bitmap.MutableRow(y).data();
        if (words) {
            StoreRow32(rgb32, y, out);
            return;
        }
        const auto* in = reinterpret_cast<const QRgb*>(rgb32.constScanLine(y));
        const auto color_at = [&](int x) {
            return platform::RGB(qRed(in[x]), qGreen(in[x]), qBlue(in[x]));
        };
        if (!memos.empty()) {
            platform::NearestMemo& memo = memos[static_cast<std::size_t>(core::ThreadIndex())];
            for (int x = 0; x < rgb32.width(); ++x)
                platform::Display::StorePixel(out + x * bytes, bytes,
                                              memo.Of(static_cast<std::uint32_t>(color_at(x))));
            return;
        }
        for (int x = 0; x < rgb32.width(); ++x)
            platform::Display::StorePixel(out + x * bytes, bytes,
                                          display.ColorToPixel(color_at(x)));
    });
    platform::Picture picture{std::move(bitmap), std::nullopt};
    if (display.Layout() == platform::PixelLayout::Indexed8)
        picture.palette = platform::Palette(display.SystemPalette());
    return picture;
}

void ImageAreaFromBitmap(const platform::Bitmap& bitmap, const platform::Display& display,
                         QRect area, QImage& image) {
    area &= QRect(0, 0, std::min(bitmap.Width(), image.width()),
                  std::min(bitmap.Height(), image.height()));
    if (area.isEmpty()) return;
    const int left = area.left();
    const int width = area.width();
    const bool drawable = bitmap.BitsPixel() == display.HeaderBitsPixel();
    const int bytes = display.BytesPerPixel();
    const platform::PixelLayout layout = display.Layout();
    // An 8-bit pixel is an index: its colours are looked up, not worked out per pixel.
    std::array<QRgb, 256> indexed{};
    if (layout == platform::PixelLayout::Indexed8)
        for (std::uint32_t i = 0; i < indexed.size(); ++i) {
            const platform::Rgb c = display.PixelToColor(i);
            indexed[i] = qRgb(platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c));
        }
    // The image's bytes taken once: scanLine() checks for sharing at every call, which
    // rows written side by side must not do.
    uchar* const bits = image.bits();
    const auto bytes_per_line = static_cast<std::size_t>(image.bytesPerLine());
    core::ParallelRows(area.top(), area.bottom() + 1, [&](int y) {
        auto* out =
            reinterpret_cast<QRgb*>(bits + bytes_per_line * static_cast<std::size_t>(y)) + left;
        if (!drawable) {
            std::fill(out, out + width, qRgb(0, 0, 0));
            return;
        }
        const std::uint8_t* in = bitmap.Row(y).data() + std::size_t(left) * std::size_t(bytes);
        if (layout == platform::PixelLayout::Bgrx32) {
            LoadRow32(in, width, out);
            return;
        }
        if (layout == platform::PixelLayout::Indexed8) {
            for (int x = 0; x < width; ++x) out[x] = indexed[in[x]];
            return;
        }
        for (int x = 0; x < width; ++x) {
            const platform::Rgb c =
                display.PixelToColor(platform::Display::LoadPixel(in + x * bytes, bytes));
            out[x] = qRgb(platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c));
        }
    });
}

QImage ImageFromBitmap(const platform::Bitmap& bitmap, const platform::Display& display) {
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
    if (!image.isNull()) ImageAreaFromBitmap(bitmap, display, image.rect(), image);
    return image;
}

namespace {

// The name must be the file itself: Qt's reader, given a name that does not exist,
// tries it with each picture extension added and reads whatever it finds.
std::optional<FileError> LookUpFailure(const QString& path) {
    const auto error = LookUpError(path);
    if (!error) return std::nullopt;
    if (*error == ENOENT) return FileError{kErrFileNotFound, QStringLiteral("File not found")};
    return FileError{kErrPathAccess,
                     QStringLiteral("Path/File access error: ") + ReasonForError(*error)};
}

}  // namespace

LoadedPicture LoadPictureFile(const QString& path, const platform::Display& display,
                              std::uint32_t background) {
    if (auto failure = LookUpFailure(path)) return {std::nullopt, *failure, {}};
    if (IsSpecialFile(QFileInfo(path))) return {std::nullopt, SpecialFileError(), {}};
    QImageReader probe(path);
    probe.setAutoTransform(true);
    // Asked first: once the header has failed to read, the reader no longer names it.
    const QByteArray format = probe.format();
    if (auto refused = CheckSize(probe.size())) return {std::nullopt, *refused, {}};
    std::optional<QByteArray> bytes;
    if (!format.isEmpty()) bytes = HeldFileBytes(path);
    if (!bytes) {
        if (CutShort(path, format)) return {std::nullopt, CutShortError(), {}};
        return Decode(probe, path, format, display, background);
    }
    if (EndsBeforeThePicture(ViewOf(format.toLower()), BytesOf(*bytes)))
        return {std::nullopt, CutShortError(), {}};
    // The picture comes from the very bytes that are kept, so that a file found to
    // hold them later is known to hold this picture.
    QBuffer buffer(&*bytes);
    QImageReader reader(&buffer, format);
    reader.setAutoTransform(true);
    LoadedPicture loaded = Decode(reader, path, format, display, background);
    if (loaded.picture) loaded.bytes = std::move(*bytes);
    return loaded;
}

bool FileHolds(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (bytes.isEmpty() || !info.isFile() || info.size() != bytes.size()) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return false;
    // Read, not mapped: a file cut short by someone else while it is compared would
    // kill the program through a mapping. Pieces small enough to stay in cache.
    constexpr qint64 kPiece = qint64(256) << 10;
    const auto piece = std::make_unique_for_overwrite<char[]>(std::size_t(kPiece));
    for (qint64 at = 0; at < bytes.size();) {
        const qint64 got = file.read(piece.get(), std::min<qint64>(kPiece, bytes.size() - at));
        if (got <= 0 || std::memcmp(piece.get(), bytes.constData() + at, std::size_t(got)) != 0)
            return false;
        at += got;
    }
    // A file that grew since it was measured holds more than the bytes.
    return file.read(piece.get(), 1) == 0;
}

std::optional<FileError> SaveBitmapFile(const platform::Bitmap& bitmap,
                                        const platform::Display& display, const QString& path,
                                        const char* format, const WriteSettings& settings) {
    const QImage image = ImageFromBitmap(bitmap, display);
    if (image.isNull())
        return FileError{kErrInvalidPicture, QStringLiteral("There is no picture to save")};
    if (IsSpecialFile(QFileInfo(path))) return SpecialFileError();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        const QFileInfo info(path);
        if (info.isDir())
            return FileError{kErrPathAccess,
                             QStringLiteral("Path/File access error: it is a folder")};
        return FileError{kErrPathAccess,
                         QStringLiteral("Path/File access error: ") + file.errorString()};
    }
    QImageWriter writer(&file, format);
    // Qt's PNG writer takes its zlib level as a quality: level (100 - quality) x 9 / 91,
    // rounded down. The lowest quality that gives the wanted level is asked for.
    const QByteArray name = QByteArray(format).toLower();
    if (name == "png" && settings.png_compression >= 0)
        writer.setQuality(100 - (settings.png_compression * 91 + 8) / 9);
    if ((name == "jpeg" || name == "jpg" || name == "webp") && settings.quality >= 0)
        writer.setQuality(settings.quality);
    if (!writer.write(image)) {
        file.cancelWriting();
        return FileError{kErrPathAccess,
                         QStringLiteral("Path/File access error: ") + writer.errorString()};
    }
    // commit() would flush what is still buffered, but it loses a failure of that last
    // write and puts the short file in place of the old one; a full disk or a file
    // size limit fails exactly there when the picture is smaller than the buffer.
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return FileError{kErrPathAccess, QStringLiteral("Path/File access error: ") + reason};
    }
    if (!file.commit())
        return FileError{kErrPathAccess,
                         QStringLiteral("Path/File access error: ") + file.errorString()};
    return std::nullopt;
}

}  // namespace pictureio
