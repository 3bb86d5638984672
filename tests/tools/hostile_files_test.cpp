// Whatever a user hands the converter: a picture that cannot be converted fails
// alone with one line that names it, the pictures around it still convert, its
// earlier anaglyph stays as it was, and nothing crashes, hangs or eats the machine's
// memory. One run of the converter takes every file, and every prefix of a few.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QtEndian>
#include <cstdint>
#include <string_view>

#include "tests/tools/convert_run.h"
#include "tools/status_output.h"

namespace tools_test {
namespace {

// `image` as Qt writes it in `format`; a progressive JPEG comes in several scans,
// each a whole picture in less detail, so a file cut between two scans still decodes.
QByteArray Encoded(const QImage& image, const char* format, bool progressive = false) {
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
QByteArray Claiming(const char* format, std::int32_t width, std::int32_t height) {
    const auto w = static_cast<std::uint16_t>(width), h = static_cast<std::uint16_t>(height);
    const bool gif = format == std::string_view("gif");
    QByteArray bytes = gif ? Gif() : Encoded(Pattern(2, 2), format);
    if (gif) {
        for (const int at : {6, 24}) {  // the screen's sides, then the picture's
            qToLittleEndian(w, bytes.data() + at);
            qToLittleEndian(h, bytes.data() + at + 2);
        }
    } else if (format == std::string_view("bmp")) {
        qToLittleEndian(width, bytes.data() + 18);
        qToLittleEndian(height, bytes.data() + 22);
    } else {  // in the JPEG frame header, height first
        const qsizetype frame = bytes.indexOf("\xff\xc0");
        qToBigEndian(h, bytes.data() + frame + 5);
        qToBigEndian(w, bytes.data() + frame + 7);
    }
    return bytes;
}

constexpr const char* kCut = "the file ends before the picture does";
constexpr const char* kInvalid = "Invalid picture";
constexpr const char* kEither = "";  // refused or converted, alone either way

struct HostileCase {
    std::string file;  // in the test's folder, made of `bytes`; or absolute, as is
    QByteArray bytes;
    const char* reason;  // part of the line that refuses it; nullptr: it converts
};

TEST(HostileInputTest, EachFailsAloneOrConverts) {
    std::vector<HostileCase> cases = {
        // The anaglyph's name keeps everything before the last dot.
        {"one.pixel.png", Encoded(Pattern(1, 1), "png"), nullptr},
        {"風景 写真.gif", Gif(), nullptr},
        {"empty.png", {}, "the file is empty"},
        // Headers that claim gigapixels in a few bytes, beyond the side limit and within
        // it: refused without the memory.
        {"huge bmp.bmp", Claiming("bmp", 100000, 100000), kInvalid},
        {"short.gif", Claiming("gif", 16000, 16000), kCut},
        {"short jpeg.jpg", Claiming("jpeg", 16000, 16000), kCut},
        {"short bmp.bmp", Claiming("bmp", 16000, 16000), kCut},
        // The grids count pixels in 16-bit integers.
        {"strip.png", Encoded(Pattern(32767, 2), "png"), nullptr},
        {"wide.jpg", Claiming("jpeg", 32768, 2), "32768 x 2 pixels; at most 32767"},
        {"high.gif", Claiming("gif", 2, 32768), "2 x 32768 pixels; at most 32767"},
        // Reading a device would never end; a pipe or a folder is refused by the loader
        // the window shares and tests with them.
        {"/dev/zero", {}, "Path/File access error: it is a device, pipe or socket"},
        // A line break in a name is shown as an escape, so it cannot split the line.
        {"two\nlines.png", "テキスト\n", kInvalid},
    };
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
    for (std::size_t i = 0; i < std::size(cut_files); ++i) {
        const QByteArray& whole = cut_files[i].whole;
        for (qsizetype n = 0; n <= whole.size(); ++n) {
            const char* reason = n == whole.size()                               ? nullptr
                                 : n < whole.size() - cut_files[i].closing_bytes ? kInvalid
                                                                                 : kEither;
            cases.push_back(
                {"cut" + std::to_string(i) + "-" + std::to_string(n) + cut_files[i].extension,
                 whole.left(n), reason});
        }
    }
    TempFolder folder;
    const std::string out = folder.Path("out");
    std::filesystem::create_directory(out);
    const auto anaglyph_of = [&out](const std::string& input) {
        return out + "/" +
               QFileInfo(QString::fromStdString(input)).completeBaseName().toStdString() +
               ".anaglyph.bmp";
    };
    std::vector<std::string> arguments{"--output-dir", out};
    for (const HostileCase& c : cases) {
        arguments.push_back(c.file[0] == '/' ? c.file : folder.Path(c.file));
        if (c.file[0] != '/') WriteBytes(arguments.back(), c.bytes.toStdString());
        WriteBytes(anaglyph_of(arguments.back()), "earlier result");
    }

    const ConvertRun run = RunConvert(arguments);

    EXPECT_EQ(run.status, 1);
    int failures = 0;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string& input = arguments[i + 2];
        SCOPED_TRACE(input);
        const std::size_t start =
            run.err.find("cannot convert " +
                         convert_tool::QuotedPath(QString::fromStdString(input)).toStdString());
        const std::string line = start == std::string::npos
                                     ? ""
                                     : run.err.substr(start, run.err.find('\n', start) - start);
        const bool converted = ReadBytes(anaglyph_of(input)) != "earlier result";
        EXPECT_EQ(line.empty(), converted) << run.err;
        EXPECT_THAT(line, testing::HasSubstr(cases[i].reason ? cases[i].reason : ""));
        if (!cases[i].reason) {
            EXPECT_EQ(ReadPicture(anaglyph_of(input)).size(),
                      QImage::fromData(cases[i].bytes).size());
        }
        failures += converted ? 0 : 1;
    }
    EXPECT_EQ(Lines(run.err), failures) << run.err;
    EXPECT_EQ(Snapshot(out).size(), cases.size()) << "nothing of a failed attempt is left";
    // The most memory the converter held at once. A few hundred megabytes are the
    // converter itself; a decoder that believed a header's gigapixels would pass a gigabyte.
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    EXPECT_LT(usage.ru_maxrss, 1L << 20) << "kilobytes";
}

}  // namespace
}  // namespace tools_test
