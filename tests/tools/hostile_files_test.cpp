// Whatever a user hands the converter: a picture that cannot be converted fails
// alone with one line that names it, the pictures around it still convert, its
// earlier anaglyph stays as it was, and nothing crashes, hangs or eats the machine's
// memory. One run of the converter takes every hostile file, another every prefix of
// a few pictures.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>
#include <filesystem>
#include <tuple>

#include "tests/tools/convert_run.h"
#include "tools/status_output.h"

namespace tools_test {
namespace {

// A corner of the sample picture, padded with black where it is larger.
QImage Pattern(int width, int height) {
    return QImage(QStringLiteral(ZARVIK_SAMPLE_PICTURE)).copy(0, 0, width, height);
}

// `image` as Qt writes it in `format`; a progressive JPEG comes in several scans,
// each a whole picture in less detail, so a file cut between two scans still decodes.
QByteArray Encoded(const QImage& image, const QByteArray& format, bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

// A 1 x 1 GIF (Qt writes none): header, two colours, the picture's place and sides,
// its LZW data (clear, pixel, end) and the trailer.
QByteArray Gif() {
    return QByteArray(
        "GIF89a\x01\0\x01\0\x80\0\0\xff\xff\xff\0\0\0,\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0;",
        35);
}

// A small picture's file whose header claims width x height, which its few bytes
// cannot hold.
QByteArray Claiming(const QByteArray& format, qint32 width, qint32 height) {
    const auto w = static_cast<quint16>(width), h = static_cast<quint16>(height);
    const bool gif = format == "gif";
    QByteArray bytes = gif ? Gif() : Encoded(Pattern(2, 2), format);
    if (gif) {
        for (const int at : {6, 24}) {  // the screen's sides, then the picture's
            qToLittleEndian(w, bytes.data() + at);
            qToLittleEndian(h, bytes.data() + at + 2);
        }
    } else if (format == "bmp") {
        qToLittleEndian(width, bytes.data() + 18);
        qToLittleEndian(height, bytes.data() + 22);
    } else {  // in the JPEG frame header, height first
        const qsizetype frame = bytes.indexOf("\xff\xc0");
        qToBigEndian(h, bytes.data() + frame + 5);
        qToBigEndian(w, bytes.data() + frame + 7);
    }
    return bytes;
}

constexpr const char* kCut = "Invalid picture: the file ends before the picture does";
constexpr const char* kInvalid = "Invalid picture";
constexpr const char* kEither = "";  // refused or converted, alone either way

// A file in the test's folder made of the bytes (or an absolute one, as it is), and
// how the line that refuses it starts; nullptr: it converts.
using Cases = std::vector<std::tuple<std::string, QByteArray, const char*>>;

// One converter run over every case: each refused file fails alone with its line,
// keeps its earlier anaglyph, and the run never holds a gigabyte.
void ConvertEach(const Cases& cases) {
    TempFolder folder;
    const std::string out = folder.Path("out");
    std::filesystem::create_directory(out);
    const auto anaglyph_of = [&out](const std::string& input) {
        return out + "/" +
               QFileInfo(QString::fromStdString(input)).completeBaseName().toStdString() +
               ".anaglyph.bmp";
    };
    std::vector<std::string> arguments{"--output-dir", out};
    for (const auto& [file, bytes, reason] : cases) {
        arguments.push_back(file[0] == '/' ? file : folder.Path(file));
        if (file[0] != '/') WriteBytes(arguments.back(), bytes.toStdString());
        WriteBytes(anaglyph_of(arguments.back()), "earlier result");
    }

    const ConvertRun run = RunConvert(arguments);

    EXPECT_EQ(run.status, 1);
    int failures = 0;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string& input = arguments[i + 2];
        const auto& [file, bytes, reason] = cases[i];
        SCOPED_TRACE(input);
        const std::string named =
            "cannot convert " +
            convert_tool::QuotedPath(QString::fromStdString(input)).toStdString() + ": ";
        const bool converted = ReadBytes(anaglyph_of(input)) != "earlier result";
        EXPECT_NE(run.err.find(named) != std::string::npos, converted) << "refused or converted";
        if (!reason) {
            EXPECT_EQ(QImage(QString::fromStdString(anaglyph_of(input))).size(),
                      QImage::fromData(bytes).size());
        } else if (reason != kEither) {
            EXPECT_NE(run.err.find(named + reason), std::string::npos) << run.err;
        }
        failures += converted ? 0 : 1;
    }
    EXPECT_EQ(Lines(run.err), failures) << run.err;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), std::ssize(cases))
        << "nothing of a failed attempt is left";
    // The most memory the converter held at once. A few hundred megabytes are the
    // converter itself; a decoder that believed a header's gigapixels would pass a gigabyte.
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    EXPECT_LT(usage.ru_maxrss, 1L << 20) << "kilobytes";
}

TEST(HostileInputTest, EachFailsAloneOrConverts) {
    ConvertEach({
        // The anaglyph's name keeps everything before the last dot.
        {"one.pixel.png", Encoded(Pattern(1, 1), "png"), nullptr},
        {"風景 写真.gif", Gif(), nullptr},
        {"empty.png", {}, "Invalid picture: the file is empty"},
        // Headers that claim gigapixels in a few bytes, beyond the side limit and within
        // it: refused without the memory.
        {"huge bmp.bmp", Claiming("bmp", 100000, 100000), kInvalid},
        {"short.gif", Claiming("gif", 16000, 16000), kCut},
        {"short jpeg.jpg", Claiming("jpeg", 16000, 16000), kCut},
        {"short bmp.bmp", Claiming("bmp", 16000, 16000), kCut},
        // The grids count pixels in 16-bit integers.
        {"strip.png", Encoded(Pattern(32767, 2), "png"), nullptr},
        {"wide.jpg", Claiming("jpeg", 32768, 2), "The picture is 32768 x 2 pixels; at most 32767"},
        {"high.gif", Claiming("gif", 2, 32768), "The picture is 2 x 32768 pixels; at most 32767"},
        // Reading a device would never end; a pipe or a folder is refused by the loader
        // the window shares and tests with them.
        {"/dev/zero", {}, "Path/File access error: it is a device, pipe or socket"},
        // A line break in a name is shown as an escape, so it cannot split the line.
        {"two\nlines.png", "テキスト\n", kInvalid},
    });
}

// Run apart from the files above: a single run over all of them made LeakSanitizer's
// own tracer crash at exit under the sanitized build, though neither half does.
TEST(HostileInputTest, EveryPrefixFailsAloneOrConverts) {
    Cases cases;
    // Every prefix: one that lacks picture data is refused; one that lacks only the
    // file's closing bytes may convert; the whole file converts.
    const struct {
        const char* extension;
        QByteArray whole;
        int closing_bytes;  // after the picture data
    } cut_files[] = {
        // PNG ends with an end chunk (length, type, checksum); GIF with an end code,
        // the data's closing empty block and the trailer.
        {".png", Encoded(Pattern(7, 5), "png"), 12},
        {".jpg", Encoded(Pattern(7, 5), "jpeg"), 0},
        {".jpg", Encoded(Pattern(7, 5), "jpeg", true), 0},
        {".bmp", Encoded(Pattern(7, 5), "bmp"), 0},
        {".gif", Gif(), 3},
    };
    for (const auto& [extension, whole, closing_bytes] : cut_files)
        for (qsizetype n = 0; n <= whole.size(); ++n)
            cases.emplace_back(std::to_string(cases.size()) + extension, whole.left(n),
                               n == whole.size()                  ? nullptr
                               : n < whole.size() - closing_bytes ? kInvalid
                                                                  : kEither);
    ConvertEach(cases);
}

}  // namespace
}  // namespace tools_test
