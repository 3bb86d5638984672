// Whatever a user hands the converter: a picture that cannot be converted fails
// alone with one line that names it, the pictures around it still convert, its
// earlier anaglyph stays as it was, and nothing crashes, hangs or eats the machine's
// memory. Each test is one run of the converter over all its files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QFileInfo>
#include <filesystem>

#include "tests/support/hostile_files.h"
#include "tests/tools/convert_process.h"
#include "tests/tools/test_files.h"

namespace tools_test {
namespace {

namespace fs = std::filesystem;
using hostile::Picture;

// The most memory any converter run of this test process has held at once. A few
// hundred megabytes are the converter itself; a decoder that believed a header's
// gigapixels would pass a gigabyte.
long PeakChildKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss;
}
constexpr long kOneGigabyteInKilobytes = 1L << 20;

// The name --output-dir gives the anaglyph of `input`.
std::string AnaglyphIn(const std::string& folder, const std::string& input) {
    return folder + "/" +
           QFileInfo(QString::fromStdString(input)).completeBaseName().toStdString() +
           ".anaglyph.bmp";
}

// The line of `err` that refuses `path`; empty when there is none.
std::string LineRefusing(const std::string& err, const std::string& path) {
    const std::size_t start = err.find(CannotConvert(path));
    if (start == std::string::npos) return "";
    return err.substr(start, err.find('\n', start) - start);
}

struct HostileCase {
    const char* file;  // in the test's folder, made of `bytes`; or absolute, as is
    QByteArray bytes;
    const char* reason;           // part of the line that refuses it; nullptr: it converts
    QSize size = {};              // the anaglyph's size when it converts
    const char* shown = nullptr;  // the name as the line shows it, when not as it is
};

constexpr const char* kCut = "the file ends before the picture does";
constexpr const char* kInvalid = "Invalid picture";

// Every base name differs, so that each input has an anaglyph name of its own. A
// missing or unreadable file, a folder or a pipe is refused by the loader the window
// shares and tests with them; here a device stands for them all.
std::vector<HostileCase> HostileCases() {
    using namespace hostile;
    return {
        {"one pixel.png", Picture(1, 1, "png"), nullptr, {1, 1}},
        {"empty.png", {}, "the file is empty"},
        // Cut short anywhere: see CutEverywhereTest.
        {"data.jpg", CutInData(Picture(7, 5, "jpeg"), JpegScan()), kCut},
        // Headers that claim gigapixels in a few bytes, and ones within the side limit
        // whose few bytes cannot hold the picture: refused without the memory.
        {"huge.png", PngClaiming(100000, 100000), "100000 x 100000"},
        {"huge bmp.bmp", BmpClaiming(100000, 100000), kInvalid},
        {"huge gif.gif", GifClaiming(65535, 65535), "65535 x 65535"},
        {"huge jpeg.jpg", JpegClaiming(65500, 65500), "65500 x 65500"},
        {"short.gif", GifClaiming(16000, 16000), kCut},
        {"short jpeg.jpg", JpegClaiming(16000, 16000), kCut},
        {"short bmp.bmp", BmpClaiming(16000, 16000), kCut},
        {"one pixel jpeg.jpeg", Picture(1, 1, "jpeg"), nullptr, {1, 1}},
        {"one pixel bmp.bmp", Picture(1, 1, "bmp"), nullptr, {1, 1}},
        {"one pixel gif.gif", Picture(1, 1, "gif"), nullptr, {1, 1}},
        // The grids count pixels in 16-bit integers.
        {"strip.png", Picture(32767, 2, "png"), nullptr, {32767, 2}},
        {"wide.jpg", Picture(32768, 2, "jpeg"), "32768 x 2 pixels; at most 32767"},
        {"high.gif", Picture(2, 32768, "gif"), "2 x 32768 pixels; at most 32767"},
        // Reading a device would never end.
        {"/dev/zero", {}, "Path/File access error: it is a device, pipe or socket"},
        {"with  two spaces.png", Picture(5, 3, "png"), nullptr, {5, 3}},
        {" spaces around .png", Picture(5, 3, "png"), nullptr, {5, 3}},
        {"Пейзаж у реки.png", Picture(4, 6, "png"), nullptr, {4, 6}},
        {"風景写真.jpg", Picture(9, 2, "jpeg"), nullptr, {9, 2}},
        {"crème brûlée.bmp", Picture(2, 9, "bmp"), nullptr, {2, 9}},
        {"папка 文件夹/ñandú.gif", Picture(5, 5, "gif"), nullptr, {5, 5}},
        {"壊れた 写真.png", "テキスト\n", kInvalid},
        // A line break in a name is shown as an escape, so it cannot split the line.
        {"two\nlines.png", "not a picture", kInvalid, {}, "two\\nlines.png"},
        {"good\nline.png", Picture(3, 3, "png"), nullptr, {3, 3}},
    };
}

TEST(HostileInputTest, EachFailsAloneOrConverts) {
    TempFolder folder;
    const std::string out = folder.Path("out");
    fs::create_directories(folder.Path("папка 文件夹"));
    fs::create_directory(out);
    const std::vector<HostileCase> cases = HostileCases();
    std::vector<std::string> arguments{"--output-dir", out};
    for (const HostileCase& c : cases) {
        arguments.push_back(c.file[0] == '/' ? c.file : folder.Path(c.file));
        if (c.file[0] != '/') WriteBytes(arguments.back(), c.bytes.toStdString());
        WriteBytes(AnaglyphIn(out, arguments.back()), "earlier result");
    }

    const ConvertRun run = RunConvert(arguments);

    EXPECT_EQ(run.status, 1);
    int failures = 0;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const HostileCase& c = cases[i];
        const std::string& input = arguments[i + 2];
        SCOPED_TRACE(input);
        const std::string line = LineRefusing(run.err, c.shown ? folder.Path(c.shown) : input);
        if (!c.reason) {
            EXPECT_EQ(line, "");
            EXPECT_EQ(ReadPicture(AnaglyphIn(out, input)).size(), c.size);
        } else {
            ++failures;
            EXPECT_THAT(line, testing::HasSubstr(c.reason)) << run.err;
            EXPECT_EQ(ReadBytes(AnaglyphIn(out, input)), "earlier result");
        }
    }
    EXPECT_EQ(LineCount(run.err), failures) << run.err;
    EXPECT_EQ(Snapshot(out).size(), cases.size()) << "nothing of a failed attempt is left behind";
    EXPECT_LT(PeakChildKilobytes(), kOneGigabyteInKilobytes);
}

// Every way a file can be cut short: each prefix of each file is an input. A prefix
// that lacks picture data fails with its own line (an invalid picture); one that
// lacks only the file's closing bytes may convert; the whole file converts.
TEST(CutEverywhereTest, EveryPrefixFailsAloneUntilThePictureIsWhole) {
    const struct {
        const char* stem;
        const char* extension;
        QByteArray whole;
        int closing_bytes;  // after the picture data
    } files[] = {
        // PNG ends with an end chunk (length, type, checksum); GIF with an end code,
        // the data's closing empty block and the trailer.
        {"png", ".png", Picture(7, 5, "png"), 12},
        {"jpeg", ".jpg", Picture(7, 5, "jpeg"), 0},
        {"progressive", ".jpg", hostile::Encoded(hostile::Pattern(40, 30), "jpeg", true), 0},
        {"bmp", ".bmp", Picture(7, 5, "bmp"), 0},
        {"gif", ".gif", Picture(7, 5, "gif"), 3},
    };
    TempFolder folder;
    const std::string out = folder.Path("out");
    std::vector<std::string> arguments{"--output-dir", out};
    for (const auto& f : files)
        for (qsizetype n = 0; n <= f.whole.size(); ++n) {
            arguments.push_back(folder.Path(f.stem + std::to_string(10000 + n) + f.extension));
            WriteBytes(arguments.back(), f.whole.left(n).toStdString());
        }

    const ConvertRun run = RunConvert(arguments);

    EXPECT_EQ(run.status, 1);
    int failed = 0;
    std::size_t argument = 2;
    for (const auto& f : files)
        for (qsizetype n = 0; n <= f.whole.size(); ++n) {
            const std::string& input = arguments[argument++];
            const bool converted = fs::exists(AnaglyphIn(out, input));
            const bool named =
                run.err.find(CannotConvert(input) + "Invalid picture") != std::string::npos;
            EXPECT_NE(converted, named) << input;
            EXPECT_TRUE(n >= f.whole.size() - f.closing_bytes || !converted) << input;
            EXPECT_TRUE(n < f.whole.size() || converted) << input;
            failed += converted ? 0 : 1;
        }
    EXPECT_EQ(LineCount(run.err), failed);
    EXPECT_LT(PeakChildKilobytes(), kOneGigabyteInKilobytes);
}

}  // namespace
}  // namespace tools_test
