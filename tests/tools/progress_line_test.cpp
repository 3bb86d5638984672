// Several pictures with a person watching stderr: a progress line that each picture
// overwrites, gone at the end. (With stderr in a file there is none: a run of
// several pictures that all convert says nothing there.)
#include <gmock/gmock.h>
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
    EXPECT_LT(first, second) << run.err;
    EXPECT_LT(second, third) << run.err;
    EXPECT_NE(third, std::string::npos) << run.err;
    // Erased at the end, without a line of its own.
    EXPECT_THAT(run.err, testing::EndsWith("\r\033[K"));
    EXPECT_EQ(run.err.find('\n'), std::string::npos) << run.err;
}

TEST(ProgressLineTest, AFailureGetsAWholeLineOfItsOwn) {
    TempFolder folder;
    std::vector<std::string> arguments = ThreePictures(folder);
    arguments.push_back(folder.Path("missing.png"));
    const ConvertRun run = RunConvertOnTerminal(arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, testing::HasSubstr("\r\033[Kzarvik-convert: " +
                                            CannotConvert(folder.Path("missing.png"))));
}

TEST(ProgressLineTest, NoneForASinglePicture) {
    TempFolder folder;
    WritePattern(folder.Path("one.png"), 4, 3);
    const ConvertRun run = RunConvertOnTerminal({folder.Path("one.png"), folder.Path("out.bmp")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
}

}  // namespace
}  // namespace tools_test
