#pragma once
// Files made to hurt a picture loader: headers that claim gigapixels in a few bytes,
// pictures cut short at chosen places, and the smallest and largest pictures that
// must still convert.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>
#include <cstdint>

namespace hostile {

// A picture whose neighbouring pixels all differ, so a decoder has real data to read.
inline QImage Pattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = qRgb((x * 37 + y * 11) % 256, (x * 5 + y * 71) % 256, (x * 91 + y) % 256);
    }
    return image;
}

// `image` as Qt writes it in `format` ("png", "jpeg", "bmp"); a progressive JPEG
// comes in several scans, each a whole picture in less detail, so a file cut between
// two scans still decodes.
inline QByteArray Encoded(const QImage& image, const char* format, bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

// `v` as `bytes` bytes, the least significant first.
inline void AppendLittle(QByteArray& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.append(static_cast<char>((v >> (8 * i)) & 0xff));
}

// The CRC that every PNG chunk ends with.
inline std::uint32_t PngCrc(const QByteArray& bytes) {
    std::uint32_t crc = 0xffffffffu;
    for (const char c : bytes) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xffffffffu;
}

// A 2 x 2 picture's file whose header claims width x height instead, which its few
// bytes cannot hold. The PNG header chunk gets its checksum anew: a wrong one would
// make the reader stop at the checksum instead of at the size, which is what these
// files are for.
inline QByteArray PngClaiming(std::uint32_t width, std::uint32_t height) {
    QByteArray png = Encoded(Pattern(2, 2), "png");
    qToBigEndian(width, png.data() + 16);  // the header chunk's data, after length and type
    qToBigEndian(height, png.data() + 20);
    qToBigEndian(PngCrc(png.mid(12, 17)), png.data() + 29);
    return png;
}

inline QByteArray BmpClaiming(std::int32_t width, std::int32_t height) {
    QByteArray bmp = Encoded(Pattern(2, 2), "bmp");
    qToLittleEndian(width, bmp.data() + 18);
    qToLittleEndian(height, bmp.data() + 22);
    return bmp;
}

// A baseline JPEG's frame header holds the sides after its marker, length and precision.
inline QByteArray JpegClaiming(std::uint16_t width, std::uint16_t height) {
    QByteArray jpeg = Encoded(Pattern(2, 2), "jpeg");
    const qsizetype frame = jpeg.indexOf("\xff\xc0");
    qToBigEndian(height, jpeg.data() + frame + 5);
    qToBigEndian(width, jpeg.data() + frame + 7);
    return jpeg;
}

// A GIF of width x height (Qt writes none): 128 colours, pixel (x, y) of colour
// (3x + 5y) mod 128. The LZW stream sends a clear code before every 100 pixels, so
// every code stays 8 bits wide and no dictionary is needed to write it. With
// `pixels` given, the data ends after that many.
inline QByteArray GifPicture(std::uint16_t width, std::uint16_t height, qint64 pixels = -1) {
    QByteArray gif("GIF89a");
    AppendLittle(gif, width, 2);
    AppendLittle(gif, height, 2);
    gif.append("\xf6\x00\x00", 3);  // a global table of 128 colours
    for (int i = 0; i < 128; ++i) {
        gif.append(static_cast<char>(i * 2)).append(static_cast<char>(255 - i * 2));
        gif.append(static_cast<char>((i * 73) % 256));
    }
    gif.append('\x2c');
    AppendLittle(gif, 0, 4);  // at the screen's top left
    AppendLittle(gif, width, 2);
    AppendLittle(gif, height, 2);
    gif.append('\x00');
    gif.append('\x07');  // LZW minimum code size: 8-bit codes, 128 clear, 129 end
    QByteArray codes;
    if (pixels < 0) pixels = qint64(width) * height;
    for (qint64 i = 0; i < pixels; ++i) {
        if (i % 100 == 0) codes.append('\x80');
        const qint64 x = i % width;
        const qint64 y = i / width;
        codes.append(static_cast<char>((3 * x + 5 * y) % 128));
    }
    codes.append('\x81');
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        gif.append(static_cast<char>(block.size())).append(block);
    }
    gif.append("\x00\x3b", 2);
    return gif;
}

// A GIF whose header claims width x height and whose data holds two pixels. GIF
// sides are 16-bit, so 65535 is its largest claim.
inline QByteArray GifClaiming(std::uint16_t width, std::uint16_t height) {
    return GifPicture(width, height, 2);
}

// A picture whose neighbouring pixels all differ, in `format`; a GIF made by hand.
inline QByteArray Picture(std::uint16_t width, std::uint16_t height, const char* format) {
    if (QByteArray(format) == "gif") return GifPicture(width, height);
    return Encoded(Pattern(width, height), format);
}

// The start-of-scan marker: the picture data follows its short header.
inline QByteArray JpegScan() {
    return QByteArray("\xff\xda", 2);
}

// Cut halfway between `marker` (where the picture data starts) and the end.
inline QByteArray CutInData(const QByteArray& bytes, const QByteArray& marker) {
    const qsizetype start = bytes.indexOf(marker);
    return bytes.left(start + (bytes.size() - start) / 2);
}

}  // namespace hostile
