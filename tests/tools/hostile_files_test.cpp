// Whatever a user hands the converter, and whatever the machine does to its writes:
// a picture that cannot be converted fails alone with one line that names it, the
// pictures around it still convert, nothing crashes, hangs or eats the machine's
// memory, and a file that was there before a failed write is still there, whole.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QFileInfo>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>

#include "tests/app/disk_faults.h"
#include "tests/app/hostile_files.h"
#include "tests/tools/convert_process.h"
#include "tests/tools/test_files.h"

namespace tools_test {
namespace {

namespace fs = std::filesystem;

// The most memory any converter run of this test process has held at once. A few
// hundred megabytes are the converter itself; a decoder that believed a header's
// gigapixels would pass a gigabyte.
long PeakChildKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss;
}
constexpr long kOneGigabyteInKilobytes = 1L << 20;

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// The name --output-dir gives the anaglyph of `input`.
std::string AnaglyphIn(const std::string& folder, const std::string& input) {
    return folder + "/" +
           QFileInfo(QString::fromStdString(input)).completeBaseName().toStdString() +
           ".anaglyph.bmp";
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

using Maker = std::function<void(const std::string& path)>;

Maker Bytes(const QByteArray& bytes) {
    return [bytes](const std::string& path) { WriteBytes(path, bytes.toStdString()); };
}

Maker Picture(int width, int height, const char* format) {
    return [=](const std::string& path) {
        WriteBytes(path, hostile::Encoded(hostile::Pattern(width, height), format).toStdString());
    };
}

Maker Gif(int width, int height) {
    return Bytes(
        hostile::GifPicture(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height)));
}

QByteArray Png() {
    return hostile::Encoded(hostile::Pattern(7, 5), "png");
}

QByteArray Jpeg() {
    return hostile::Encoded(hostile::Pattern(7, 5), "jpeg");
}

QByteArray ProgressiveJpeg() {
    return hostile::ProgressiveJpeg(hostile::Pattern(40, 30));
}

struct HostileCase {
    const char* name;
    const char* file;  // in the test's folder; a folder part is made first
    Maker make;
    QSize converts;           // the anaglyph's size; invalid: refused
    const char* reason;       // refused: part of its line
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
    const std::string input = folder.Path(c.file);
    fs::create_directories(fs::path(input).parent_path());
    c.make(input);
    if (c.unreadable) {
        fs::permissions(input, fs::perms::none);
        if (access(input.c_str(), R_OK) == 0)
            GTEST_SKIP() << "this user reads files without read permission (root)";
    }
    const std::string before = folder.Path("a before.png");
    const std::string after = folder.Path("zz after.bmp");
    WritePattern(before, 6, 4);
    WritePattern(after, 3, 8);
    const std::string out = folder.Path("out");

    const ConvertRun run = RunConvert({before, input, after, "--output-dir", out});

    EXPECT_EQ(ReadPicture(AnaglyphIn(out, before)).size(), QSize(6, 4));
    EXPECT_EQ(ReadPicture(AnaglyphIn(out, after)).size(), QSize(3, 8));
    if (c.converts.isValid()) {
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(ReadPicture(AnaglyphIn(out, input)).size(), c.converts);
    } else {
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(LineCount(run.err), 1) << run.err;
        EXPECT_NE(run.err.find("cannot convert " + Quoted(input) + ": "), std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_FALSE(Exists(AnaglyphIn(out, input)));
        EXPECT_EQ(Names(out).size(), 2u);
    }
    EXPECT_LT(PeakChildKilobytes(), kOneGigabyteInKilobytes);
}

constexpr const char* kCut = "the file ends before the picture does";
const QSize kRefused;

INSTANTIATE_TEST_SUITE_P(
    Files, HostileInputTest,
    testing::Values(
        HostileCase{"Empty", "empty.png", Bytes({}), kRefused, "the file is empty"},
        HostileCase{"Text", "notes.txt", Bytes("words, not a picture\n"), kRefused,
                    "Invalid picture"},
        HostileCase{"PngCutInItsSignature", "sig.png", Bytes(hostile::Cut(Png(), 4)), kRefused,
                    "Invalid picture"},
        HostileCase{"PngCutInItsHeaderChunk", "ihdr.png", Bytes(hostile::Cut(Png(), 20)), kRefused,
                    "Invalid picture"},
        HostileCase{"PngCutInItsData", "data.png", Bytes(hostile::CutInData(Png(), "IDAT")),
                    kRefused, "Invalid picture"},
        HostileCase{"JpegCutAfterOneByte", "one.jpg", Bytes(hostile::Cut(Jpeg(), 1)), kRefused,
                    "Invalid picture"},
        HostileCase{"JpegCutInItsTables", "tables.jpg", Bytes(hostile::Cut(Jpeg(), 30)), kRefused,
                    kCut},
        HostileCase{"JpegCutInItsScanHeader", "scan.jpg", Bytes(hostile::CutInScanHeader(Jpeg())),
                    kRefused, kCut},
        HostileCase{"JpegCutInItsData", "data.jpg",
                    Bytes(hostile::CutInData(Jpeg(), hostile::JpegScan())), kRefused, kCut},
        HostileCase{"ProgressiveJpegCutBetweenScans", "scans.jpg",
                    Bytes(hostile::CutBetweenScans(ProgressiveJpeg())), kRefused, kCut},
        HostileCase{"BmpCutInItsData", "data.bmp",
                    Bytes(hostile::Cut(hostile::Encoded(hostile::Pattern(7, 5), "bmp"), 150)),
                    kRefused, kCut},
        HostileCase{"GifCutInItsData", "data.gif",
                    Bytes(hostile::Cut(hostile::GifPicture(7, 5), 430)), kRefused, kCut},
        HostileCase{"PngClaimingGigapixels", "huge.png",
                    Bytes(hostile::PngClaiming(100000, 100000)), kRefused, "100000 x 100000"},
        HostileCase{"BmpClaimingGigapixels", "huge.bmp",
                    Bytes(hostile::BmpClaiming(100000, 100000)), kRefused, "Invalid picture"},
        HostileCase{"GifClaimingGigapixels", "huge.gif", Bytes(hostile::GifClaiming(65535, 65535)),
                    kRefused, "65535 x 65535"},
        HostileCase{"JpegClaimingGigapixels", "huge.jpg",
                    Bytes(hostile::JpegClaiming(65500, 65500)), kRefused, "65500 x 65500"},
        // Within the side limit, but the few bytes after the header cannot hold it.
        HostileCase{"GifTooShortForItsSize", "short.gif", Bytes(hostile::GifClaiming(16000, 16000)),
                    kRefused, kCut},
        HostileCase{"JpegTooShortForItsSize", "short.jpg",
                    Bytes(hostile::JpegClaiming(16000, 16000)), kRefused, kCut},
        HostileCase{"BmpTooShortForItsSize", "short.bmp", Bytes(hostile::BmpClaiming(16000, 16000)),
                    kRefused, kCut},
        HostileCase{"OnePixelPng", "one.png", Picture(1, 1, "png"), QSize(1, 1), ""},
        HostileCase{"OnePixelJpeg", "one.jpeg", Picture(1, 1, "jpeg"), QSize(1, 1), ""},
        HostileCase{"OnePixelBmp", "one.bmp", Picture(1, 1, "bmp"), QSize(1, 1), ""},
        HostileCase{"OnePixelGif", "one.gif", Gif(1, 1), QSize(1, 1), ""},
        HostileCase{"WidestStripPng", "strip.png", Picture(32767, 2, "png"), QSize(32767, 2), ""},
        HostileCase{"TooWideStripJpeg", "wide.jpg", Picture(32768, 2, "jpeg"), kRefused,
                    "32768 x 2"},
        HostileCase{"TooHighStripGif", "high.gif", Gif(2, 32768), kRefused, "2 x 32768"},
        HostileCase{"Directory", "folder.png",
                    [](const std::string& p) { fs::create_directory(p); }, kRefused, "folder"},
        HostileCase{"Unreadable", "locked.png", Picture(4, 4, "png"), kRefused, "Permission denied",
                    true},
        HostileCase{"Spaces", "with  two spaces.png", Picture(5, 3, "png"), QSize(5, 3), ""},
        HostileCase{"SpacesAround", " spaces around .png", Picture(5, 3, "png"), QSize(5, 3), ""},
        HostileCase{"Cyrillic", "Пейзаж у реки.png", Picture(4, 6, "png"), QSize(4, 6), ""},
        HostileCase{"Cjk", "風景写真.jpg", Picture(9, 2, "jpeg"), QSize(9, 2), ""},
        HostileCase{"Accents", "crème brûlée.bmp", Picture(2, 9, "bmp"), QSize(2, 9), ""},
        HostileCase{"NonAsciiFolder", "папка 文件夹/ñandú.gif", Gif(5, 5), QSize(5, 5), ""},
        HostileCase{"CyrillicCut", "сломанный файл.jpg",
                    Bytes(hostile::CutInData(Jpeg(), hostile::JpegScan())), kRefused, kCut},
        HostileCase{"CjkText", "壊れた 写真.png", Bytes("テキスト\n"), kRefused,
                    "Invalid picture"}),
    [](const testing::TestParamInfo<HostileCase>& info) { return std::string(info.param.name); });

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
        EXPECT_NE(run.err.find("cannot convert \"" + folder.Root() + "/" + shown + "\": "),
                  std::string::npos)
            << run.err;
    EXPECT_EQ(ReadPicture(AnaglyphIn(folder.Path("out"), good)).size(), QSize(3, 3));
}

// Every way a file can be cut short: each of its prefixes is one input of a single
// run. A prefix that lacks picture data fails with its own line; one that lacks only
// the file's closing bytes may convert; the whole file converts.
struct CutCase {
    const char* name;
    const char* extension;
    std::function<QByteArray()> whole;
    // The shortest prefix that holds all of the picture data.
    std::function<qsizetype(const QByteArray&)> picture_data_end;
};

void PrintTo(const CutCase& c, std::ostream* out) {
    *out << c.name;
}

class CutEverywhereTest : public testing::TestWithParam<CutCase> {};

TEST_P(CutEverywhereTest, EveryPrefixFailsAloneUntilThePictureIsWhole) {
    const CutCase& c = GetParam();
    const QByteArray whole = c.whole();
    const qsizetype data_end = c.picture_data_end(whole);
    ASSERT_GT(data_end, 0);
    TempFolder folder;
    std::vector<std::string> inputs;
    for (qsizetype n = 0; n <= whole.size(); ++n) {
        inputs.push_back(folder.Path("cut" + std::to_string(10000 + n) + c.extension));
        WriteBytes(inputs.back(), hostile::Cut(whole, n).toStdString());
    }
    const std::string out = folder.Path("out");
    std::vector<std::string> arguments = inputs;
    arguments.insert(arguments.end(), {"--output-dir", out});

    const ConvertRun run = RunConvert(arguments);

    EXPECT_EQ(run.status, 1);
    int failed = 0;
    for (qsizetype n = 0; n <= whole.size(); ++n) {
        const std::string& input = inputs[static_cast<std::size_t>(n)];
        const bool converted = Exists(AnaglyphIn(out, input));
        const bool named = run.err.find(Quoted(input)) != std::string::npos;
        EXPECT_NE(converted, named) << n << " bytes";
        EXPECT_TRUE(n >= data_end || !converted) << n << " of " << whole.size() << " bytes";
        failed += converted ? 0 : 1;
    }
    EXPECT_TRUE(Exists(AnaglyphIn(out, inputs.back())));
    EXPECT_EQ(LineCount(run.err), failed);
    EXPECT_LT(PeakChildKilobytes(), kOneGigabyteInKilobytes);
}

qsizetype WholeFile(const QByteArray& bytes) {
    return bytes.size();
}

INSTANTIATE_TEST_SUITE_P(
    Formats, CutEverywhereTest,
    testing::Values(
        // The picture is all there once the last data chunk is; the end chunk follows.
        CutCase{"Png", ".png", Png,
                [](const QByteArray& png) { return hostile::OffsetOf(png, "IEND") - 4; }},
        CutCase{"Jpeg", ".jpg", Jpeg, WholeFile},
        CutCase{"ProgressiveJpeg", ".jpg", ProgressiveJpeg, WholeFile},
        CutCase{"Bmp", ".bmp", [] { return hostile::Encoded(hostile::Pattern(7, 5), "bmp"); },
                WholeFile},
        // The end code, the data's closing empty block and the trailer follow the
        // last pixel's code.
        CutCase{"Gif", ".gif", [] { return hostile::GifPicture(7, 5); },
                [](const QByteArray& gif) { return gif.size() - 3; }}),
    [](const testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });

// Faults of the disk while the anaglyph is written.

// A picture whose anaglyph takes `bytes` when written as `extension`, found out by
// converting it once.
std::uintmax_t AnaglyphBytes(const TempFolder& folder, const std::string& input,
                             const std::string& extension) {
    const std::string probe = folder.Path("probe" + extension);
    EXPECT_EQ(RunConvert({input, probe}).status, 0);
    const std::uintmax_t size = fs::file_size(probe);
    fs::remove(probe);
    return size;
}

struct LimitCase {
    const char* name;
    const char* extension;
    std::int64_t limit;  // bytes a file may have; below 0: the anaglyph's size less this
};

void PrintTo(const LimitCase& c, std::ostream* out) {
    *out << c.name;
}

class FileSizeLimitTest : public testing::TestWithParam<LimitCase> {};

TEST_P(FileSizeLimitTest, AFailedWriteLeavesTheEarlierFileWholeAndNothingBeside) {
    const LimitCase& c = GetParam();
    TempFolder folder;
    const std::string input = folder.Path("in.png");
    WritePattern(input, 90, 60);
    const std::uintmax_t full = AnaglyphBytes(folder, input, c.extension);
    const auto limit = static_cast<rlim_t>(c.limit >= 0 ? c.limit : std::int64_t(full) + c.limit);
    ASSERT_LT(limit, full);
    ASSERT_GE(limit, 1024u) << "the one line on stderr must still fit";
    const std::string output = folder.Path(std::string("out") + c.extension);
    WriteBytes(output, "earlier result");

    ConvertRun run;
    {
        const FileSizeLimit limited(limit);
        run = RunConvert({input, output});
    }

    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_NE(run.err.find("cannot write " + Quoted(output) + ": "), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(output), "earlier result");
    EXPECT_EQ(Names(folder.Root()),
              (std::vector<std::string>{"in.png", "out" + std::string(c.extension)}));
}

INSTANTIATE_TEST_SUITE_P(Limits, FileSizeLimitTest,
                         testing::Values(LimitCase{"BmpAtOneKilobyte", ".bmp", 1024},
                                         LimitCase{"BmpOneByteShort", ".bmp", -1},
                                         LimitCase{"PngAtOneKilobyte", ".png", 1024},
                                         LimitCase{"PngOneByteShort", ".png", -1},
                                         LimitCase{"TiffOneByteShort", ".tif", -1}),
                         [](const testing::TestParamInfo<LimitCase>& info) {
                             return std::string(info.param.name);
                         });

class DiskTest : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory(folder_.Path("disk"));
        disk_ = std::make_unique<TinyDisk>(folder_.Path("disk"), 64 * 1024);
        if (!disk_->Mounted()) GTEST_SKIP() << "this user cannot mount a small disk for the test";
        input_ = folder_.Path("in.png");
        WritePattern(input_, 90, 60);  // about 16 KB as a bitmap
        output_ = folder_.Path("disk/out.bmp");
        WriteBytes(output_, "earlier result");
    }

    TempFolder folder_;
    std::unique_ptr<TinyDisk> disk_;
    std::string input_;
    std::string output_;
};

TEST_F(DiskTest, AFullDiskKeepsTheEarlierFileAndTheNextWriteWorks) {
    ASSERT_TRUE(disk_->Fill());
    const ConvertRun failed = RunConvert({input_, output_});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(LineCount(failed.err), 1) << failed.err;
    EXPECT_NE(failed.err.find("cannot write " + Quoted(output_)), std::string::npos) << failed.err;
    EXPECT_EQ(ReadBytes(output_), "earlier result");
    EXPECT_EQ(Names(disk_->Folder()), (std::vector<std::string>{"filler", "out.bmp"}));

    disk_->Empty();
    const ConvertRun converted = RunConvert({input_, output_});
    EXPECT_EQ(converted.status, 0) << converted.err;
    EXPECT_EQ(ReadPicture(output_).size(), QSize(90, 60));
}

TEST_F(DiskTest, OnAFullDiskOtherPicturesStillConvertElsewhere) {
    ASSERT_TRUE(disk_->Fill());
    const std::string elsewhere = folder_.Path("elsewhere");
    const ConvertRun run = RunConvert({input_, "--output-dir", disk_->Folder()});
    EXPECT_EQ(run.status, 1);
    const ConvertRun other = RunConvert({input_, "--output-dir", elsewhere});
    EXPECT_EQ(other.status, 0) << other.err;
    EXPECT_EQ(ReadPicture(elsewhere + "/in.anaglyph.bmp").size(), QSize(90, 60));
    EXPECT_EQ(Names(disk_->Folder()), (std::vector<std::string>{"filler", "out.bmp"}));
}

TEST_F(DiskTest, AReadOnlyDiskStopsEveryWriteEvenForRoot) {
    ASSERT_TRUE(disk_->MakeReadOnly());
    for (const std::string& target : {output_, folder_.Path("disk/new.bmp")}) {
        const ConvertRun run = RunConvert({input_, target});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(LineCount(run.err), 1) << run.err;
        EXPECT_NE(run.err.find("cannot write " + Quoted(target)), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadBytes(output_), "earlier result");
    EXPECT_EQ(Names(disk_->Folder()), (std::vector<std::string>{"out.bmp"}));
}

TEST(ReadOnlyLocationTest, AFolderWithoutWritePermissionFailsWithOneLine) {
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 8, 8);
    fs::create_directory(folder.Path("locked"));
    WriteBytes(folder.Path("locked/out.bmp"), "earlier result");
    fs::permissions(folder.Path("locked"), fs::perms::owner_read | fs::perms::owner_exec |
                                               fs::perms::group_read | fs::perms::group_exec);
    if (access(folder.Path("locked").c_str(), W_OK) == 0)
        GTEST_SKIP() << "this user writes into folders without write permission (root)";
    const ConvertRun run = RunConvert({folder.Path("in.png"), folder.Path("locked/out.bmp")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_EQ(ReadBytes(folder.Path("locked/out.bmp")), "earlier result");
    EXPECT_EQ(Names(folder.Path("locked")), std::vector<std::string>{"out.bmp"});
}

TEST(ReadOnlyLocationTest, AReadOnlyFileIsNotReplaced) {
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 8, 8);
    WriteBytes(folder.Path("out.bmp"), "earlier result");
    fs::permissions(folder.Path("out.bmp"), fs::perms::owner_read | fs::perms::group_read);
    if (access(folder.Path("out.bmp").c_str(), W_OK) == 0)
        GTEST_SKIP() << "this user writes files without write permission (root)";
    const ConvertRun run = RunConvert({folder.Path("in.png"), folder.Path("out.bmp")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_EQ(ReadBytes(folder.Path("out.bmp")), "earlier result");
}

// Files that are not files: a pipe would keep the reader waiting for a writer for
// ever, and writing "over" a pipe or a device through a temporary file would put a
// plain file in its place (as root, even over /dev/null).
TEST(SpecialFileTest, PipesAndDevicesAreRefusedAsInputs) {
    TempFolder folder;
    const std::string pipe = folder.Path("pipe.png");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    const std::string good = folder.Path("good.png");
    WritePattern(good, 4, 3);
    const std::string out = folder.Path("out");
    const ConvertRun run = RunConvert({pipe, "/dev/zero", good, "--output-dir", out});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 2) << run.err;
    for (const std::string& input : {pipe, std::string("/dev/zero")}) {
        EXPECT_NE(run.err.find("cannot convert " + Quoted(input) +
                               ": Path/File access error: it is a device, pipe or socket"),
                  std::string::npos)
            << run.err;
    }
    EXPECT_EQ(ReadPicture(AnaglyphIn(out, good)).size(), QSize(4, 3));
}

struct SpecialOutput {
    const char* name;
    mode_t type;  // S_IFIFO or S_IFCHR
};

void PrintTo(const SpecialOutput& c, std::ostream* out) {
    *out << c.name;
}

class SpecialOutputTest : public testing::TestWithParam<SpecialOutput> {};

TEST_P(SpecialOutputTest, StaysWhatItIs) {
    const SpecialOutput& c = GetParam();
    TempFolder folder;
    const std::string target = folder.Path("special.bmp");
    // A null device of the test's own, so that a write that got through harms nothing.
    if (mknod(target.c_str(), c.type | 0666, c.type == S_IFCHR ? makedev(1, 3) : 0) != 0)
        GTEST_SKIP() << "this user cannot make a " << c.name;
    WritePattern(folder.Path("in.png"), 5, 4);
    for (const std::string& option : {std::string(), std::string("--depth-map")}) {
        std::vector<std::string> arguments{folder.Path("in.png"), folder.Path("out.bmp")};
        if (option.empty())
            arguments.back() = target;
        else
            arguments.insert(arguments.begin(), {option, target});
        const ConvertRun run = RunConvert(arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(LineCount(run.err), 1) << run.err;
        EXPECT_NE(run.err.find("cannot write " + Quoted(target) +
                               ": Path/File access error: it is a device, pipe or socket"),
                  std::string::npos)
            << run.err;
        struct stat info {};
        ASSERT_EQ(lstat(target.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & S_IFMT, c.type);
    }
    EXPECT_EQ(Names(folder.Root()), (std::vector<std::string>{"in.png", "out.bmp", "special.bmp"}));
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpecialOutputTest,
                         testing::Values(SpecialOutput{"Pipe", S_IFIFO},
                                         SpecialOutput{"CharacterDevice", S_IFCHR}),
                         [](const testing::TestParamInfo<SpecialOutput>& info) {
                             return std::string(info.param.name);
                         });

// --saved-settings with a store that is not what the desktop program writes: the
// converter runs with the fallbacks the store's rules give, says nothing and never
// writes the store.
class DamagedStoreTest : public testing::Test {
  protected:
    std::string StoreFile() const { return folder_.Path("config/Zarvik/Zarvik.conf"); }
    std::vector<std::string> Environment() const {
        return {"XDG_CONFIG_HOME=" + folder_.Path("config"), "HOME=" + folder_.Root()};
    }
    void SetUp() override {
        fs::create_directories(folder_.Path("config/Zarvik"));
        WritePattern(folder_.Path("in.png"), 23, 17);
    }
    // The anaglyph that --saved-settings makes from the store as it is now.
    std::string ConvertWithStore() {
        const std::string output = folder_.Path("out" + std::to_string(++runs_) + ".bmp");
        const ConvertRun run =
            RunConvert({"--saved-settings", folder_.Path("in.png"), output}, Environment());
        EXPECT_EQ(run.status, 0) << run.err;
        // Qt may warn about a value it cannot make sense of; the converter itself
        // has nothing to report.
        EXPECT_EQ(run.err.find("zarvik-convert"), std::string::npos) << run.err;
        return ReadBytes(output);
    }
    std::string ConvertWithoutStore() {
        const std::string output = folder_.Path("plain.bmp");
        EXPECT_EQ(RunConvert({folder_.Path("in.png"), output}).status, 0);
        return ReadBytes(output);
    }

    TempFolder folder_;
    int runs_ = 0;
};

std::string RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& b : bytes) b = static_cast<char>(random() & 0xff);
    return bytes;
}

TEST_F(DamagedStoreTest, RandomBytesReadAsAnEmptyStore) {
    const std::string noise = RandomBytes(8192, 20240601);
    ASSERT_EQ(noise.find("Settings"), std::string::npos);
    WriteBytes(StoreFile(), noise);
    EXPECT_EQ(ConvertWithStore(), ConvertWithoutStore());
    EXPECT_EQ(ReadBytes(StoreFile()), noise);
}

TEST_F(DamagedStoreTest, UnreadableValuesReadAsZeroAndFalse) {
    WriteBytes(StoreFile(),
               "[Settings]\nglbShift=abc\nglbWarp=99999999999999999999\nDepth4=@Invalid()\n"
               "Depth3=1, 2\nDepth2=@ByteArray(\\xff\\xfe)\nDepth1=1e400\nDepth0=nan\n"
               "DoWarp=maybe\nDoShift=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x5nosuch)\n"
               "CueColor=\\x1\\x2\nDepthCue=\nBlurChoice=ninety\nLens=@Rect(1 2 3 4)\n"
               "FrameColor=" +
                   std::string(100000, '9') + "\nShowFrame=--1\nFrameType=1 1\nCue=\"\n");
    const std::string damaged = ConvertWithStore();
    WriteBytes(StoreFile(),
               "[Settings]\nglbShift=0\nglbWarp=0\nDepth4=0\nDepth3=0\nDepth2=0\nDepth1=0\n"
               "Depth0=0\nDoWarp=False\nDoShift=False\nCueColor=0\nDepthCue=0\nBlurChoice=0\n"
               "Lens=0\nFrameColor=0\nShowFrame=0\nFrameType=0\nCue=0\n");
    EXPECT_EQ(damaged, ConvertWithStore());
    // and the zeros are not the defaults, or this would prove nothing
    EXPECT_NE(damaged, ConvertWithoutStore());
}

TEST_F(DamagedStoreTest, AFolderInPlaceOfTheFileReadsAsAnEmptyStore) {
    fs::create_directory(StoreFile());
    EXPECT_EQ(ConvertWithStore(), ConvertWithoutStore());
    EXPECT_TRUE(fs::is_directory(StoreFile()));
}

// Reading a pipe would wait for a writer for ever.
TEST_F(DamagedStoreTest, APipeInPlaceOfTheFileReadsAsAnEmptyStore) {
    ASSERT_EQ(mkfifo(StoreFile().c_str(), 0644), 0);
    EXPECT_EQ(ConvertWithStore(), ConvertWithoutStore());
    struct stat info {};
    ASSERT_EQ(lstat(StoreFile().c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(DamagedStoreTest, AFileInPlaceOfTheStoresFolderReadsAsAnEmptyStore) {
    fs::remove(folder_.Path("config/Zarvik"));
    WriteBytes(folder_.Path("config/Zarvik"), "not a folder");
    EXPECT_EQ(ConvertWithStore(), ConvertWithoutStore());
    EXPECT_EQ(ReadBytes(folder_.Path("config/Zarvik")), "not a folder");
}

TEST_F(DamagedStoreTest, AnUnreadableStoreReadsAsAnEmptyStore) {
    WriteBytes(StoreFile(), "[Settings]\nLens=1\nShowFrame=1\n");
    fs::permissions(StoreFile(), fs::perms::none);
    if (access(StoreFile().c_str(), R_OK) == 0)
        GTEST_SKIP() << "this user reads files without read permission (root)";
    EXPECT_EQ(ConvertWithStore(), ConvertWithoutStore());
}

}  // namespace
}  // namespace tools_test
