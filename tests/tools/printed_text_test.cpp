// What the converter prints besides pictures: a usage error for a command line it
// will not run (status 2, the reason, a pointer to --help, nothing read or written;
// which lines are refused is checked on the parser itself), the help, the version,
// and the progress line a person at a terminal sees.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/tools/convert_process.h"
#include "tests/tools/test_files.h"

namespace tools_test {
namespace {

using testing::HasSubstr;

TEST(UsageErrorTest, ExitsWithTwoAndWritesNothing) {
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 5, 3);
    const ConvertRun run = RunConvert({"--depth-map", folder.Path("depth.bmp"), "--depth-cue",
                                       "abc", folder.Path("in.png"), folder.Path("out.bmp")});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(LineCount(run.err), 2) << run.err;
    EXPECT_THAT(run.err, HasSubstr("--depth-cue: 'abc' is not a whole number"));
    EXPECT_THAT(run.err, HasSubstr("--help"));
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Snapshot(folder.Root()).size(), 1u) << "only the input";
}

TEST(HelpTest, DescribesEveryOption) {
    const ConvertRun run = RunConvert({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const char* option :
         {"Usage:",        "--cue",         "--depth-cue",      "--cue-color",   "--blur",
          "--warp",        "--added-depth", "--levels",         "--lens",        "--frame",
          "--frame-color", "--display-bpp", "--saved-settings", "--depth-map",   "--second-view",
          "--output-dir",  "--format",      "--version",        ".anaglyph.bmp", "Exit status"})
        EXPECT_THAT(run.out, HasSubstr(option));
}

TEST(VersionTest, PrintsNameAndNumber) {
    const ConvertRun run = RunConvert({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("zarvik-convert ", 0), 0u) << run.out;
    EXPECT_EQ(LineCount(run.out), 1);
}

std::vector<std::string> ThreePictures(const TempFolder& folder) {
    for (const char* name : {"one.png", "two.png", "three.png"})
        WritePattern(folder.Path(name), 4, 3);
    return {"--output-dir", folder.Path("out"), folder.Path("one.png"), folder.Path("two.png"),
            folder.Path("three.png")};
}

// With several pictures and a person watching stderr, a progress line that each
// picture overwrites, gone at the end. (With stderr in a file there is none: a run of
// several pictures that all convert says nothing there.)
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
    EXPECT_THAT(run.err,
                HasSubstr("\r\033[Kzarvik-convert: " + CannotConvert(folder.Path("missing.png"))));
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
