// Several pictures with a person watching stderr: a progress line that each picture
// overwrites, gone at the end; none when stderr is a file, so logs stay clean.
#include <gtest/gtest.h>

#include "tests/tools/convert_process.h"
#include "tests/tools/test_files.h"

namespace tools_test {
namespace {

std::vector<std::string> ThreePictures(const TempFolder& folder) {
    for (const char* name : {"one.png", "two.png", "three.png"})
        WritePattern(folder.Path(name), 4, 3);
    return {"--output-dir", folder.Path("out"), folder.Path("one.png"), folder.Path("two.png"),
            folder.Path("three.png")};
}

TEST(ProgressLineTest, ShowsEachPictureInPlaceOnATerminal) {
    TempFolder folder;
    const ConvertRun run = RunConvertOnTerminal(ThreePictures(folder));
    EXPECT_EQ(run.status, 0) << run.err;
    const std::size_t first = run.err.find("\r\033[K[1/3] one.png");
    const std::size_t second = run.err.find("\r\033[K[2/3] two.png");
    const std::size_t third = run.err.find("\r\033[K[3/3] three.png");
    EXPECT_NE(first, std::string::npos) << run.err;
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    EXPECT_NE(third, std::string::npos);
    // Erased at the end, without a line of its own.
    EXPECT_EQ(run.err.substr(run.err.size() - 4), "\r\033[K");
    EXPECT_EQ(run.err.find('\n'), std::string::npos) << run.err;
}

TEST(ProgressLineTest, AFailureGetsAWholeLineOfItsOwn) {
    TempFolder folder;
    std::vector<std::string> arguments = ThreePictures(folder);
    arguments.push_back(folder.Path("missing.png"));
    const ConvertRun run = RunConvertOnTerminal(arguments);
    EXPECT_EQ(run.status, 1);
    const std::string line =
        "\r\033[Kzarvik-convert: cannot convert \"" + folder.Path("missing.png");
    EXPECT_NE(run.err.find(line), std::string::npos) << run.err;
}

TEST(ProgressLineTest, NoneWhenStderrIsNotATerminal) {
    TempFolder folder;
    const ConvertRun run = RunConvert(ThreePictures(folder));
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.empty()) << run.err;
}

TEST(ProgressLineTest, NoneForASinglePicture) {
    TempFolder folder;
    WritePattern(folder.Path("one.png"), 4, 3);
    const ConvertRun run = RunConvertOnTerminal({folder.Path("one.png"), folder.Path("out.bmp")});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.empty()) << run.err;
}

}  // namespace
}  // namespace tools_test
