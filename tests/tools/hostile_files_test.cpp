// Whatever a user hands the converter: a picture that cannot be converted fails
// alone with one line that names it, the pictures around it still convert, its
// earlier anaglyph stays as it was, and nothing crashes, hangs or eats the machine's
// memory.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <filesystem>
#include <functional>

#include "tests/support/hostile_files.h"
#include "tests/tools/convert_process.h"
#include "tests/tools/test_files.h"

namespace tools_test {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;

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

// A 7 x 5 picture as Qt writes it in `format` (a GIF made by hand: Qt writes none).
QByteArray Small(const char* format) {
    if (std::string_view(format) == "gif") return hostile::GifPicture(7, 5);
    return hostile::Encoded(hostile::Pattern(7, 5), format);
}

QByteArray ProgressiveJpeg() {
    return hostile::ProgressiveJpeg(hostile::Pattern(40, 30));
}

using Maker = std::function<void(const std::string& path)>;

Maker Bytes(const QByteArray& bytes) {
    return [bytes](const std::string& path) { WriteBytes(path, bytes.toStdString()); };
}

// Made only when the case runs: some of these pictures are large.
Maker Picture(int width, int height, const char* format) {
    return [=](const std::string& path) {
        const QByteArray bytes = std::string_view(format) == "gif"
                                     ? hostile::GifPicture(static_cast<std::uint16_t>(width),
                                                           static_cast<std::uint16_t>(height))
                                     : hostile::Encoded(hostile::Pattern(width, height), format);
        WriteBytes(path, bytes.toStdString());
    };
}

struct HostileCase {
    const char* name;
    const char* file;         // in the test's folder (its folder part is made first), or absolute
    Maker make;               // none: the file is left missing
    const char* reason;       // part of the line that refuses it; nullptr: it converts
    QSize size = {};          // the anaglyph's size when it converts
    bool unreadable = false;  // read permission taken away once it is made
};

void PrintTo(const HostileCase& c, std::ostream* out) {
    *out << c.name;
}

class HostileInputTest : public testing::TestWithParam<HostileCase> {};

// The hostile file goes between two good pictures in one run.
TEST_P(HostileInputTest, FailsAloneOrConverts) {
    const HostileCase& c = GetParam();
    TempFolder folder;
    const std::string input = c.file[0] == '/' ? c.file : folder.Path(c.file);
    fs::create_directories(fs::path(input).parent_path());
    if (c.make) c.make(input);
    if (c.unreadable) {
        fs::permissions(input, fs::perms::none);
        if (access(input.c_str(), R_OK) == 0)
            GTEST_SKIP() << "this user reads files without read permission (root)";
    }
    const std::string before = folder.Path("a before.png");
    const std::string after = folder.Path("zz after.bmp");
    const std::string out = folder.Path("out");
    WritePattern(before, 6, 4);
    WritePattern(after, 3, 8);
    fs::create_directory(out);
    WriteBytes(AnaglyphIn(out, input), "earlier result");

    const ConvertRun run = RunConvert({before, input, after, "--output-dir", out});

    EXPECT_EQ(ReadPicture(AnaglyphIn(out, before)).size(), QSize(6, 4));
    EXPECT_EQ(ReadPicture(AnaglyphIn(out, after)).size(), QSize(3, 8));
    EXPECT_EQ(Snapshot(out).size(), 3u) << "nothing of a failed attempt is left behind";
    if (!c.reason) {
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(ReadPicture(AnaglyphIn(out, input)).size(), c.size);
    } else {
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(LineCount(run.err), 1) << run.err;
        EXPECT_THAT(run.err, HasSubstr(CannotConvert(input)));
        EXPECT_THAT(run.err, HasSubstr(c.reason));
        EXPECT_EQ(ReadBytes(AnaglyphIn(out, input)), "earlier result");
    }
    EXPECT_LT(PeakChildKilobytes(), kOneGigabyteInKilobytes);
}

constexpr const char* kCut = "the file ends before the picture does";
constexpr const char* kInvalid = "Invalid picture";
constexpr const char* kNotAFile = "Path/File access error: it is a device, pipe or socket";

std::vector<HostileCase> HostileCases() {
    using namespace hostile;
    return {
        {"Missing", "missing.png", nullptr, "File not found"},
        {"Empty", "empty.png", Bytes({}), "the file is empty"},
        // Cut short anywhere: see CutEverywhereTest.
        {"JpegCutInItsData", "data.jpg", Bytes(CutInData(Small("jpeg"), JpegScan())), kCut},
        // Headers that claim gigapixels in a few bytes, and ones within the side limit
        // whose few bytes cannot hold the picture: refused without the memory.
        {"PngClaimingGigapixels", "huge.png", Bytes(PngClaiming(100000, 100000)),
         "100000 x 100000"},
        {"BmpClaimingGigapixels", "huge.bmp", Bytes(BmpClaiming(100000, 100000)), kInvalid},
        {"GifClaimingGigapixels", "huge.gif", Bytes(GifClaiming(65535, 65535)), "65535 x 65535"},
        {"JpegClaimingGigapixels", "huge.jpg", Bytes(JpegClaiming(65500, 65500)), "65500 x 65500"},
        {"GifTooShortForItsSize", "short.gif", Bytes(GifClaiming(16000, 16000)), kCut},
        {"JpegTooShortForItsSize", "short.jpg", Bytes(JpegClaiming(16000, 16000)), kCut},
        {"BmpTooShortForItsSize", "short.bmp", Bytes(BmpClaiming(16000, 16000)), kCut},
        {"OnePixelPng", "one.png", Picture(1, 1, "png"), nullptr, {1, 1}},
        {"OnePixelJpeg", "one.jpeg", Picture(1, 1, "jpeg"), nullptr, {1, 1}},
        {"OnePixelBmp", "one.bmp", Picture(1, 1, "bmp"), nullptr, {1, 1}},
        {"OnePixelGif", "one.gif", Picture(1, 1, "gif"), nullptr, {1, 1}},
        // The grids count pixels in 16-bit integers.
        {"WidestStripPng", "strip.png", Picture(32767, 2, "png"), nullptr, {32767, 2}},
        {"TooWideStripJpeg", "wide.jpg", Picture(32768, 2, "jpeg"),
         "32768 x 2 pixels; at most 32767"},
        {"TooHighStripGif", "high.gif", Picture(2, 32768, "gif"),
         "2 x 32768 pixels; at most 32767"},
        {"Directory", "folder.png", [](const std::string& p) { fs::create_directory(p); },
         "it is a folder"},
        {"Unreadable", "locked.png", Picture(4, 4, "png"), "Permission denied", {}, true},
        // Reading a pipe or a device would wait for a writer, or never end.
        {"Pipe", "pipe.png", [](const std::string& p) { mkfifo(p.c_str(), 0644); }, kNotAFile},
        {"Device", "/dev/zero", nullptr, kNotAFile},
        {"Spaces", "with  two spaces.png", Picture(5, 3, "png"), nullptr, {5, 3}},
        {"SpacesAround", " spaces around .png", Picture(5, 3, "png"), nullptr, {5, 3}},
        {"Cyrillic", "Пейзаж у реки.png", Picture(4, 6, "png"), nullptr, {4, 6}},
        {"Cjk", "風景写真.jpg", Picture(9, 2, "jpeg"), nullptr, {9, 2}},
        {"Accents", "crème brûlée.bmp", Picture(2, 9, "bmp"), nullptr, {2, 9}},
        {"NonAsciiFolder", "папка 文件夹/ñandú.gif", Picture(5, 5, "gif"), nullptr, {5, 5}},
        {"CjkText", "壊れた 写真.png", Bytes("テキスト\n"), kInvalid},
    };
}

INSTANTIATE_TEST_SUITE_P(Files, HostileInputTest, testing::ValuesIn(HostileCases()), CaseName());

// File names may hold line breaks and other control characters; the one line a
// failure gets shows them as escapes, so that a name can never split it.
TEST(ControlCharacterNameTest, EachFailureStaysOneLine) {
    TempFolder folder;
    const std::vector<std::pair<std::string, std::string>> names = {
        {"two\nlines.png", "two\\nlines.png"},
        {"tab\tand return\r.jpg", "tab\\tand return\\r.jpg"},
        {"bell\x07.gif", "bell\\x07.gif"}};
    std::vector<std::string> arguments;
    for (const auto& [name, shown] : names) {
        arguments.push_back(folder.Path(name));
        WriteBytes(arguments.back(), "not a picture");
    }
    const std::string good = folder.Path("good\nline.png");
    WritePattern(good, 3, 3);
    arguments.insert(arguments.end(), {good, "--output-dir", folder.Path("out")});

    const ConvertRun run = RunConvert(arguments);

    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 3) << run.err;
    for (const auto& [name, shown] : names)
        EXPECT_THAT(run.err, HasSubstr(CannotConvert(folder.Path(shown))));
    EXPECT_EQ(ReadPicture(AnaglyphIn(folder.Path("out"), good)).size(), QSize(3, 3));
}

// Every way a file can be cut short: each of its prefixes is one input of a single
// run. A prefix that lacks picture data fails with its own line (an invalid picture);
// one that lacks only the file's closing bytes may convert; the whole file converts.
struct CutCase {
    const char* name;
    const char* extension;
    QByteArray (*whole)();  // the file before it is cut
    int closing_bytes;      // after the picture data
};

void PrintTo(const CutCase& c, std::ostream* out) {
    *out << c.name;
}

class CutEverywhereTest : public testing::TestWithParam<CutCase> {};

TEST_P(CutEverywhereTest, EveryPrefixFailsAloneUntilThePictureIsWhole) {
    const CutCase& c = GetParam();
    const QByteArray whole = c.whole();
    const qsizetype data_end = whole.size() - c.closing_bytes;
    TempFolder folder;
    const std::string out = folder.Path("out");
    std::vector<std::string> arguments{"--output-dir", out};
    for (qsizetype n = 0; n <= whole.size(); ++n) {
        arguments.push_back(folder.Path("cut" + std::to_string(10000 + n) + c.extension));
        WriteBytes(arguments.back(), hostile::Cut(whole, n).toStdString());
    }

    const ConvertRun run = RunConvert(arguments);

    EXPECT_EQ(run.status, 1);
    int failed = 0;
    for (qsizetype n = 0; n <= whole.size(); ++n) {
        const std::string& input = arguments[static_cast<std::size_t>(n) + 2];
        const bool converted = fs::exists(AnaglyphIn(out, input));
        const bool named =
            run.err.find(CannotConvert(input) + "Invalid picture") != std::string::npos;
        EXPECT_NE(converted, named) << n << " bytes";
        EXPECT_TRUE(n >= data_end || !converted) << n << " of " << whole.size() << " bytes";
        failed += converted ? 0 : 1;
    }
    EXPECT_TRUE(fs::exists(AnaglyphIn(out, arguments.back())));
    EXPECT_EQ(LineCount(run.err), failed);
    EXPECT_LT(PeakChildKilobytes(), kOneGigabyteInKilobytes);
}

INSTANTIATE_TEST_SUITE_P(Formats, CutEverywhereTest,
                         testing::Values(
                             // PNG ends with an end chunk (length, type, checksum); GIF with an end
                             // code, the data's closing empty block and the trailer.
                             CutCase{"Png", ".png", [] { return Small("png"); }, 12},
                             CutCase{"Jpeg", ".jpg", [] { return Small("jpeg"); }, 0},
                             CutCase{"ProgressiveJpeg", ".jpg", ProgressiveJpeg, 0},
                             CutCase{"Bmp", ".bmp", [] { return Small("bmp"); }, 0},
                             CutCase{"Gif", ".gif", [] { return Small("gif"); }, 3}),
                         CaseName());

}  // namespace
}  // namespace tools_test
