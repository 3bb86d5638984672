// Several pictures in one run: each lands in the output folder under its own name,
// and a picture that fails costs only itself.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/tools/convert_process.h"
#include "tests/tools/test_files.h"

namespace tools_test {
namespace {

TEST(OutputDirTest, EveryPictureConvertsUnderItsBaseName) {
    TempFolder folder;
    WritePattern(folder.Path("first.png"), 7, 5);
    WritePattern(folder.Path("second.photo.jpg"), 9, 4);
    const ConvertRun run = RunConvert({folder.Path("first.png"), folder.Path("second.photo.jpg"),
                                       "--output-dir", folder.Path("out")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    EXPECT_EQ(ReadPicture(folder.Path("out/first.anaglyph.bmp")).size(), QSize(7, 5));
    EXPECT_EQ(ReadPicture(folder.Path("out/second.photo.anaglyph.bmp")).size(), QSize(9, 4));
}

TEST(OutputDirTest, OneBadPictureAmongGoodOnesFailsAloneWithOneLine) {
    TempFolder folder;
    WritePattern(folder.Path("a.png"), 6, 6);
    WritePattern(folder.Path("c.bmp"), 4, 3);
    const std::string missing = folder.Path("b-missing.png");
    const ConvertRun run = RunConvert(
        {"--output-dir", folder.Path("out"), folder.Path("a.png"), missing, folder.Path("c.bmp")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_NE(run.err.find(missing), std::string::npos) << run.err;
    EXPECT_EQ(ReadPicture(folder.Path("out/a.anaglyph.bmp")).size(), QSize(6, 6));
    EXPECT_EQ(ReadPicture(folder.Path("out/c.anaglyph.bmp")).size(), QSize(4, 3));
    EXPECT_FALSE(Exists(folder.Path("out/b-missing.anaglyph.bmp")));
}

TEST(OutputDirTest, FormatChoosesTheExtensionAndTheFormat) {
    TempFolder folder;
    WritePattern(folder.Path("in.bmp"), 5, 5);
    const ConvertRun run =
        RunConvert({"--format", "PNG", "--output-dir", folder.Path("out"), folder.Path("in.bmp")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(folder.Path("out/in.anaglyph.png")).substr(0, 4), "\x89PNG");
}

TEST(OutputDirTest, MissingFoldersAreCreated) {
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 3, 3);
    const ConvertRun run =
        RunConvert({"--output-dir", folder.Path("new/deeper"), folder.Path("in.png")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Exists(folder.Path("new/deeper/in.anaglyph.bmp")));
}

TEST(OutputDirTest, AFileInTheFolderPlaceFailsWithOneLine) {
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 3, 3);
    WriteBytes(folder.Path("taken"), "not a folder");
    const ConvertRun run =
        RunConvert({"--output-dir", folder.Path("taken"), folder.Path("in.png")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_NE(run.err.find(folder.Path("taken")), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(folder.Path("taken")), "not a folder");
}

TEST(OutputDirTest, TwoInputsWithOneBaseNameDoNotOverwriteEachOther) {
    TempFolder folder;
    std::filesystem::create_directories(folder.Path("a"));
    std::filesystem::create_directories(folder.Path("b"));
    WritePattern(folder.Path("a/x.png"), 8, 2);
    WritePattern(folder.Path("b/x.bmp"), 3, 9);
    const ConvertRun run = RunConvert(
        {"--output-dir", folder.Path("out"), folder.Path("a/x.png"), folder.Path("b/x.bmp")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_NE(run.err.find(folder.Path("b/x.bmp")), std::string::npos) << run.err;
    EXPECT_EQ(ReadPicture(folder.Path("out/x.anaglyph.bmp")).size(), QSize(8, 2));
}

TEST(OutputDirTest, NamesAfterDoubleDashAreFilesEvenWithADash) {
    TempFolder folder;
    WritePattern(folder.Path("-dash.png"), 4, 4);
    const ConvertRun run =
        RunConvert({"--output-dir", folder.Root(), "--", folder.Path("-dash.png")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Exists(folder.Path("-dash.anaglyph.bmp")));
}

TEST(ExitStatusTest, ASinglePictureConvertsWithStatusZeroAndSaysNothing) {
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 11, 7);
    const ConvertRun run = RunConvert({folder.Path("in.png"), folder.Path("out.bmp")});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.empty()) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_EQ(ReadPicture(folder.Path("out.bmp")).size(), QSize(11, 7));
}

TEST(ExitStatusTest, NumbersAtTheEdgesOfSixteenBitsAreAccepted) {
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 6, 4);
    const ConvertRun run = RunConvert({"--depth-cue", "-32768", "--cue-color=32767", "--warp=+1",
                                       "--added-depth=-12", "--levels", "-32768,0,+5,32767,255",
                                       folder.Path("in.png"), folder.Path("out.bmp")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadPicture(folder.Path("out.bmp")).size(), QSize(6, 4));
}

}  // namespace
}  // namespace tools_test
