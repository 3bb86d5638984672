#pragma once
// Files made to hurt a picture loader: headers that claim gigapixels in a few bytes,
// pictures cut short at chosen places, and the smallest and largest pictures that
// must still convert.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
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

// `v` as `bytes` bytes, the most significant first (Big) or last (Little).
inline void AppendBig(QByteArray& out, std::uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.append(static_cast<char>((v >> (8 * i)) & 0xff));
}

inline void AppendLittle(QByteArray& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.append(static_cast<char>((v >> (8 * i)) & 0xff));
}

// The CRC that every PNG chunk ends with; a wrong one would make the reader stop at
// the checksum instead of at the size, which is what these files are for.
inline std::uint32_t PngCrc(const QByteArray& bytes) {
    std::uint32_t crc = 0xffffffffu;
    for (const char c : bytes) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xffffffffu;
}

inline void AppendPngChunk(QByteArray& out, const char* type, const QByteArray& data) {
    AppendBig(out, static_cast<std::uint32_t>(data.size()), 4);
    QByteArray typed(type);
    typed.append(data);
    out.append(typed);
    AppendBig(out, PngCrc(typed), 4);
}

// A valid PNG header for an RGB picture of width x height, then one deflated row of
// pixels and the end: well under a hundred bytes.
inline QByteArray PngClaiming(std::uint32_t width, std::uint32_t height) {
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    AppendBig(header, width, 4);
    AppendBig(header, height, 4);
    header.append("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
    AppendPngChunk(png, "IHDR", header);
    AppendPngChunk(png, "IDAT", qCompress(QByteArray(64, '\0')).mid(4));  // zlib stream only
    AppendPngChunk(png, "IEND", {});
    return png;
}

// A Windows bitmap header for a 24-bit picture of width x height and no pixels.
inline QByteArray BmpClaiming(std::int32_t width, std::int32_t height) {
    QByteArray bmp("BM");
    AppendLittle(bmp, 54, 4);  // the file's size as the header states it
    AppendLittle(bmp, 0, 4);
    AppendLittle(bmp, 54, 4);  // pixels start right after the headers
    AppendLittle(bmp, 40, 4);
    AppendLittle(bmp, static_cast<std::uint32_t>(width), 4);
    AppendLittle(bmp, static_cast<std::uint32_t>(height), 4);
    AppendLittle(bmp, 1, 2);
    AppendLittle(bmp, 24, 2);
    bmp.append(QByteArray(24, '\0'));
    return bmp;
}

// A GIF whose screen and only image are width x height, with a two-colour table and
// a few bytes of image data. GIF sides are 16-bit, so 65535 is its largest claim.
inline QByteArray GifClaiming(std::uint16_t width, std::uint16_t height) {
    QByteArray gif("GIF89a");
    AppendLittle(gif, width, 2);
    AppendLittle(gif, height, 2);
    gif.append("\x80\x00\x00", 3);  // a global table of two colours
    gif.append("\x00\x00\x00\xff\xff\xff", 6);
    gif.append('\x2c');       // image descriptor
    AppendLittle(gif, 0, 4);  // at the screen's top left
    AppendLittle(gif, width, 2);
    AppendLittle(gif, height, 2);
    gif.append('\x00');
    gif.append("\x02\x02\x4c\x01\x00\x3b", 6);  // LZW data, end of image, trailer
    return gif;
}

// A greyscale baseline JPEG header (quantisation table, frame, scan) for
// width x height, followed by two bytes of scan data and the end marker.
inline QByteArray JpegClaiming(std::uint16_t width, std::uint16_t height) {
    QByteArray jpeg("\xff\xd8", 2);
    jpeg.append("\xff\xdb\x00\x43\x00", 5);
    jpeg.append(QByteArray(64, '\x01'));
    jpeg.append("\xff\xc0\x00\x0b\x08", 5);
    AppendBig(jpeg, height, 2);
    AppendBig(jpeg, width, 2);
    jpeg.append("\x01\x01\x11\x00", 4);
    jpeg.append("\xff\xda\x00\x08\x01\x01\x00\x00\x3f\x00", 10);
    jpeg.append("\x00\x00\xff\xd9", 4);
    return jpeg;
}

// A whole GIF of width x height (Qt writes none): 128 colours, pixel (x, y) of colour
// (3x + 5y) mod 128. The LZW stream sends a clear code before every 100 pixels, so
// every code stays 8 bits wide and no dictionary is needed to write it.
inline QByteArray GifPicture(std::uint16_t width, std::uint16_t height) {
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
    const qint64 pixels = qint64(width) * height;
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
