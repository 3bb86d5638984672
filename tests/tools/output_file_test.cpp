// The files a conversion writes: their format follows their extension, their size
// is the picture's, and a write that fails leaves what was there before.
#include <gtest/gtest.h>

#include <QImageWriter>
#include <filesystem>

#include "tests/tools/convert_process.h"
#include "tests/tools/test_files.h"

namespace tools_test {
namespace {

bool QtWrites(const char* format) {
    return QImageWriter::supportedImageFormats().contains(QByteArray(format));
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
    if (!QtWrites(c.qt_format)) GTEST_SKIP() << "Qt has no " << c.qt_format << " writer here";
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 13, 5);
    const std::string output = folder.Path(c.file);
    const ConvertRun run = RunConvert({folder.Path("in.png"), output});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(output).substr(0, c.signature.size()), c.signature);
    EXPECT_EQ(ReadPicture(output).size(), QSize(13, 5));
}

const std::string kTiffLittle("II*\0", 4);

INSTANTIATE_TEST_SUITE_P(
    Extensions, OutputFormatTest,
    testing::Values(FormatCase{"Bmp", "out.bmp", "bmp", "BM"},
                    FormatCase{"Png", "out.png", "png", "\x89PNG"},
                    FormatCase{"UpperCasePng", "OUT.PNG", "png", "\x89PNG"},
                    FormatCase{"Jpg", "out.jpg", "jpeg", "\xFF\xD8\xFF"},
                    FormatCase{"Jpeg", "out.jpeg", "jpeg", "\xFF\xD8\xFF"},
                    FormatCase{"Tif", "out.tif", "tiff", kTiffLittle},
                    FormatCase{"Tiff", "out.tiff", "tiff", kTiffLittle},
                    FormatCase{"Webp", "out.webp", "webp", "RIFF"},
                    FormatCase{"UnknownExtensionIsBmp", "out.xyz", "bmp", "BM"},
                    FormatCase{"GifIsNotWrittenSoBmp", "out.gif", "bmp", "BM"},
                    FormatCase{"NoExtensionIsBmp", "out", "bmp", "BM"}),
    [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(OutputFileTest, WebpNamesHoldAWebpPicture) {
    if (!QtWrites("webp")) GTEST_SKIP() << "Qt has no WebP writer here";
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 6, 6);
    ASSERT_EQ(RunConvert({folder.Path("in.png"), folder.Path("out.webp")}).status, 0);
    EXPECT_EQ(ReadBytes(folder.Path("out.webp")).substr(8, 4), "WEBP");
}

TEST(OutputFileTest, AnEarlierOutputIsReplaced) {
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 5, 2);
    WriteBytes(folder.Path("out.bmp"), "earlier result");
    const ConvertRun run = RunConvert({folder.Path("in.png"), folder.Path("out.bmp")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadPicture(folder.Path("out.bmp")).size(), QSize(5, 2));
}

TEST(OutputFileTest, AFailedWriteLeavesTheEarlierFileWhole) {
    // WebP stops at 16383 pixels a side, so the encoder refuses this one after the
    // temporary file has been opened: the failure comes in the middle of the write.
    if (!QtWrites("webp")) GTEST_SKIP() << "Qt has no WebP writer here";
    TempFolder folder;
    WritePattern(folder.Path("wide.bmp"), 17000, 2);
    const std::string output = folder.Path("out.webp");
    WriteBytes(output, "earlier result");
    const ConvertRun run = RunConvert({folder.Path("wide.bmp"), output});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_NE(run.err.find("cannot write \"" + output + "\""), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(output), "earlier result");
    // Nothing of the attempt is left behind beside it.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Root()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names.size(), 2u);
}

TEST(OutputFileTest, AnOutputInsideAFileFailsWithOneLine) {
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 4, 4);
    WriteBytes(folder.Path("plain"), "a file, not a folder");
    const std::string output = folder.Path("plain/out.bmp");
    const ConvertRun run = RunConvert({folder.Path("in.png"), output});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_NE(run.err.find("cannot write \"" + output + "\""), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(folder.Path("plain")), "a file, not a folder");
}

TEST(OutputFileTest, AnOutputThatIsAFolderFailsWithOneLine) {
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 4, 4);
    std::filesystem::create_directory(folder.Path("out.bmp"));
    const ConvertRun run = RunConvert({folder.Path("in.png"), folder.Path("out.bmp")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_NE(run.err.find("folder"), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("out.bmp")));
}

TEST(OutputFileTest, DepthMapAndSecondViewHaveThePicturesSize) {
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 23, 9);
    const ConvertRun run =
        RunConvert({folder.Path("in.png"), folder.Path("out.bmp"), "--depth-map",
                    folder.Path("depth.png"), "--second-view=" + folder.Path("second.tif")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadPicture(folder.Path("depth.png")).size(), QSize(23, 9));
    EXPECT_EQ(ReadPicture(folder.Path("second.tif")).size(), QSize(23, 9));
    EXPECT_EQ(ReadBytes(folder.Path("depth.png")).substr(0, 4), "\x89PNG");
}

TEST(OutputFileTest, ADepthMapThatCannotBeWrittenFailsThePicture) {
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 4, 4);
    WriteBytes(folder.Path("plain"), "x");
    const ConvertRun run = RunConvert({folder.Path("in.png"), folder.Path("out.bmp"), "--depth-map",
                                       folder.Path("plain/depth.bmp")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_NE(run.err.find("plain/depth.bmp"), std::string::npos) << run.err;
    EXPECT_TRUE(Exists(folder.Path("out.bmp")));
}

TEST(OutputFileTest, PathsWithSpacesAndNonAsciiLettersWork) {
    TempFolder folder;
    std::filesystem::create_directory(folder.Path("mes images été"));
    const std::string input = folder.Path("mes images été/Grüße 写真.png");
    WritePattern(input, 10, 6);
    const ConvertRun run = RunConvert({input, folder.Path("résultat ü.bmp"), "--depth-map",
                                       folder.Path("карта глубины.png"), "--second-view",
                                       folder.Path("второй вид.bmp")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadPicture(folder.Path("résultat ü.bmp")).size(), QSize(10, 6));
    EXPECT_EQ(ReadPicture(folder.Path("карта глубины.png")).size(), QSize(10, 6));
    EXPECT_EQ(ReadPicture(folder.Path("второй вид.bmp")).size(), QSize(10, 6));

    const ConvertRun dir_run = RunConvert({"--output-dir", folder.Path("sortie ß"), input});
    EXPECT_EQ(dir_run.status, 0) << dir_run.err;
    EXPECT_TRUE(Exists(folder.Path("sortie ß/Grüße 写真.anaglyph.bmp")));
}

TEST(OutputFileTest, FailureLinesShowNonAsciiNamesAsGiven) {
    TempFolder folder;
    const std::string missing = folder.Path("año ñandú.jpg");
    const ConvertRun run = RunConvert({missing, folder.Path("out.bmp")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("\"" + missing + "\""), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tools_test
