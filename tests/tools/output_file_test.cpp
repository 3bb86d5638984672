// The files a conversion writes: their format follows their extension, their size is
// the picture's, and with --output-dir each input's anaglyph gets a name of its own.
// A write the machine or the file system refuses fails the picture with one line
// that names the file, and whatever was at that name before is still there, whole,
// with nothing of the attempt beside it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImageWriter>
#include <filesystem>

#include "tests/support/disk_faults.h"  // FileSizeLimit
#include "tests/tools/convert_process.h"
#include "tests/tools/test_files.h"

namespace tools_test {
namespace {

namespace fs = std::filesystem;

std::string Signature(const std::string& path, std::size_t length) {
    return ReadBytes(path).substr(0, length);
}

struct FormatCase {
    const char* name;
    const char* file;
    const char* qt_format;  // the writer that must exist for the case to run
    std::string signature;  // the file's first bytes
};

void PrintTo(const FormatCase& c, std::ostream* out) {
    *out << c.name;
}

class OutputFormatTest : public testing::TestWithParam<FormatCase> {};

TEST_P(OutputFormatTest, ExtensionChoosesTheFormat) {
    const FormatCase& c = GetParam();
    if (!QImageWriter::supportedImageFormats().contains(c.qt_format))
        GTEST_SKIP() << "Qt has no " << c.qt_format << " writer here";
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 13, 5);
    const std::string output = folder.Path(c.file);
    const ConvertRun run = RunConvert({folder.Path("in.png"), output});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err + run.out, "") << "a conversion that works says nothing";
    EXPECT_EQ(Signature(output, c.signature.size()), c.signature);
    EXPECT_EQ(ReadPicture(output).size(), QSize(13, 5));
}

const std::string kTiff("II*\0", 4);

INSTANTIATE_TEST_SUITE_P(Extensions, OutputFormatTest,
                         testing::Values(FormatCase{"Bmp", "out.bmp", "bmp", "BM"},
                                         FormatCase{"Png", "out.png", "png", "\x89PNG"},
                                         FormatCase{"UpperCasePng", "OUT.PNG", "png", "\x89PNG"},
                                         FormatCase{"Jpg", "out.jpg", "jpeg", "\xFF\xD8\xFF"},
                                         FormatCase{"Jpeg", "out.jpeg", "jpeg", "\xFF\xD8\xFF"},
                                         FormatCase{"Tif", "out.tif", "tiff", kTiff},
                                         FormatCase{"Tiff", "out.tiff", "tiff", kTiff},
                                         FormatCase{"Webp", "out.webp", "webp", "RIFF"},
                                         FormatCase{"UnknownExtensionIsBmp", "out.xyz", "bmp",
                                                    "BM"},
                                         FormatCase{"GifIsNotWrittenSoBmp", "out.gif", "bmp", "BM"},
                                         FormatCase{"NoExtensionIsBmp", "out", "bmp", "BM"}),
                         CaseName());

TEST(OutputFileTest, DepthMapAndSecondViewUnderNonAsciiNames) {
    TempFolder folder;
    fs::create_directory(folder.Path("mes images été"));
    const std::string input = folder.Path("mes images été/Grüße 写真.png");
    WritePattern(input, 23, 9);
    const ConvertRun run = RunConvert({input, folder.Path("résultat ü.bmp"), "--depth-map",
                                       folder.Path("карта глубины.png"),
                                       "--second-view=" + folder.Path("второй вид.tif")});
    EXPECT_EQ(run.status, 0) << run.err;
    for (const char* name : {"résultat ü.bmp", "карта глубины.png", "второй вид.tif"})
        EXPECT_EQ(ReadPicture(folder.Path(name)).size(), QSize(23, 9)) << name;
    EXPECT_EQ(Signature(folder.Path("карта глубины.png"), 4), "\x89PNG");
}

// The folder is made as needed; --format chooses the extension and the format; the
// name keeps everything before the last dot.
TEST(OutputDirTest, EveryPictureConvertsUnderItsBaseName) {
    TempFolder folder;
    WritePattern(folder.Path("first.png"), 7, 5);
    WritePattern(folder.Path("second.photo.jpg"), 9, 4);
    const std::string out = folder.Path("sortie ß/deeper");
    const ConvertRun run = RunConvert({folder.Path("first.png"), folder.Path("second.photo.jpg"),
                                       "--output-dir", out, "--format", "PNG"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadPicture(out + "/first.anaglyph.png").size(), QSize(7, 5));
    EXPECT_EQ(ReadPicture(out + "/second.photo.anaglyph.png").size(), QSize(9, 4));
    EXPECT_EQ(Signature(out + "/first.anaglyph.png", 4), "\x89PNG");
}

TEST(OutputDirTest, AFileInTheFolderPlaceFailsWithOneLine) {
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 3, 3);
    WriteBytes(folder.Path("taken"), "not a folder");
    const ConvertRun run =
        RunConvert({"--output-dir", folder.Path("taken"), folder.Path("in.png")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_THAT(run.err, testing::HasSubstr("cannot create the output folder \"" +
                                            folder.Path("taken") + "\""));
    EXPECT_EQ(ReadBytes(folder.Path("taken")), "not a folder");
}

TEST(OutputDirTest, TwoInputsWithOneBaseNameDoNotOverwriteEachOther) {
    TempFolder folder;
    fs::create_directories(folder.Path("a"));
    fs::create_directories(folder.Path("b"));
    WritePattern(folder.Path("a/x.png"), 8, 2);
    WritePattern(folder.Path("b/x.bmp"), 3, 9);
    const ConvertRun run = RunConvert(
        {"--output-dir", folder.Path("out"), folder.Path("a/x.png"), folder.Path("b/x.bmp")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_THAT(run.err, testing::HasSubstr(CannotConvert(folder.Path("b/x.bmp"))));
    EXPECT_EQ(ReadPicture(folder.Path("out/x.anaglyph.bmp")).size(), QSize(8, 2));
}

// Limits a byte short of the whole file fail in the last flush; a kilobyte, in the
// middle of the write.
TEST(FileSizeLimitTest, AFailedWriteLeavesTheEarlierFileWhole) {
    TempFolder folder;
    const std::string input = folder.Path("in.png");
    WritePattern(input, 90, 60);
    const std::pair<const char*, std::int64_t> cases[] = {{"png", 1024}, {"png", -1}, {"tif", -1}};
    for (const auto& [extension, limit] : cases) {
        SCOPED_TRACE(std::string(extension) + " limited to " + std::to_string(limit));
        const std::string output = folder.Path(std::string("out.") + extension);
        ASSERT_EQ(RunConvert({input, output}).status, 0);
        const auto whole = static_cast<std::int64_t>(fs::file_size(output));
        const auto bytes = static_cast<rlim_t>(limit >= 0 ? limit : whole + limit);
        ASSERT_LT(bytes, whole);
        ASSERT_GE(bytes, 1024u) << "the one line on stderr must still fit";
        WriteBytes(output, "earlier result");
        const auto before = Snapshot(folder.Root());
        ConvertRun run;
        {
            const FileSizeLimit limited(bytes);
            run = RunConvert({input, output});
        }
        ExpectWriteRefused(run, output);
        EXPECT_EQ(Snapshot(folder.Root()), before);
    }
}

// WebP stops at 16383 pixels a side, so the encoder refuses this picture after the
// file has been opened: the failure comes in the middle of the write.
TEST(EncoderFailureTest, LeavesTheEarlierFileWhole) {
    TempFolder folder;
    WritePattern(folder.Path("wide.bmp"), 17000, 2);
    const std::string output = folder.Path("out.webp");
    WriteBytes(output, "earlier result");
    const auto before = Snapshot(folder.Root());
    ExpectWriteRefused(RunConvert({folder.Path("wide.bmp"), output}), output);
    EXPECT_EQ(Snapshot(folder.Root()), before);
}

// Each target is tried as the anaglyph, then as the depth map beside an anaglyph that
// can be written. A write "over" a pipe through a temporary file would put a plain
// file in its place; a write into it would wait for a reader for ever.
TEST(UnwritableTargetTest, FailsThePictureAndStaysWhatItWas) {
    TempFolder folder;
    const std::string input = folder.Path("in.png");
    const std::string anaglyph = folder.Path("anaglyph.bmp");
    WritePattern(input, 5, 4);
    WriteBytes(folder.Path("plain"), "earlier result");
    fs::create_directory(folder.Path("folder.bmp"));
    ASSERT_EQ(mkfifo(folder.Path("pipe.bmp").c_str(), 0666), 0);
    const auto before = Snapshot(folder.Root());
    const std::pair<const char*, const char*> targets[] = {
        {"plain/out.bmp", ""},
        {"folder.bmp", "Path/File access error: it is a folder"},
        {"pipe.bmp", "Path/File access error: it is a device, pipe or socket"}};
    for (const auto& [name, reason] : targets) {
        const std::string target = folder.Path(name);
        ExpectWriteRefused(RunConvert({input, target}), target, reason);
        ExpectWriteRefused(RunConvert({input, anaglyph, "--depth-map", target}), target, reason);
        EXPECT_EQ(ReadPicture(anaglyph).size(), QSize(5, 4)) << name;
        fs::remove(anaglyph);
    }
    EXPECT_EQ(Snapshot(folder.Root()), before);
}

}  // namespace
}  // namespace tools_test
