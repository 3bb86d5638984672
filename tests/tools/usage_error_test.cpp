// What the converter prints for a command line it will not run: a usage error
// (status 2, the reason, a pointer to --help, nothing read or written), the help
// and the version. Which lines are refused is checked on the parser itself.
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

}  // namespace
}  // namespace tools_test
