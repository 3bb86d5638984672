// What the converter prints besides pictures: a usage error for a command line it
// will not run (status 2, the reason, a pointer to --help, nothing read or written;
// which lines are refused is checked on the parser itself), the help, the version,
// and the progress line a person at a terminal sees.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/tools/convert_process.h"
#include "tests/tools/test_files.h"
#include "tools/status_output.h"

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

TEST(HelpTest, HelpDescribesEveryOptionAndVersionGivesNameAndNumber) {
    ConvertRun run = RunConvert({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const char* option :
         {"Usage:",        "--cue",         "--depth-cue",      "--cue-color",   "--blur",
          "--warp",        "--added-depth", "--levels",         "--lens",        "--frame",
          "--frame-color", "--display-bpp", "--saved-settings", "--depth-map",   "--second-view",
          "--output-dir",  "--format",      "--version",        ".anaglyph.bmp", "Exit status"})
        EXPECT_THAT(run.out, HasSubstr(option));
    run = RunConvert({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("zarvik-convert ", 0), 0u) << run.out;
    EXPECT_EQ(LineCount(run.out), 1);
}

// A failure's line names its file in quotes, control characters written as escapes,
// so that no file name can split it.
TEST(QuotedPathTest, ControlCharactersAreEscaped) {
    const std::pair<const char*, const char*> cases[] = {
        {"plain name.png", R"("plain name.png")"},
        {"two\nlines\r", R"("two\nlines\r")"},
        {"tab\tbell\x07 escape\x1b delete\x7f", R"("tab\tbell\x07 escape\x1b delete\x7f")"},
        {"été 写真\\", R"("été 写真\")"}};
    for (const auto& [path, quoted] : cases)
        EXPECT_EQ(convert_tool::QuotedPath(QString::fromUtf8(path)).toStdString(), quoted);
}

// With several pictures and a person watching stderr, a progress line that each
// picture overwrites, gone at the end; a failure gets a whole line of its own. (With
// stderr in a file there is none: see the output folder's tests.)
TEST(ProgressLineTest, ShowsEachPictureInPlaceOnATerminal) {
    TempFolder folder;
    WritePattern(folder.Path("one.png"), 4, 3);
    WritePattern(folder.Path("two.png"), 4, 3);
    const std::string missing = folder.Path("missing.png");
    const ConvertRun run = RunConvert({"--output-dir", folder.Path("out"), folder.Path("one.png"),
                                       missing, folder.Path("two.png")},
                                      {}, true);
    EXPECT_EQ(run.status, 1);
    const std::string erase = "\r\033[K";
    EXPECT_EQ(run.err.rfind(erase + "[1/3] one.png" + erase + "[2/3] missing.png" + erase +
                                "zarvik-convert: " + CannotConvert(missing),
                            0),
              0u)
        << run.err;
    // The terminal ends the failure's line with a carriage return too.
    EXPECT_THAT(run.err, testing::EndsWith("\r\n" + erase + "[3/3] two.png" + erase));
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

TEST(ProgressLineTest, NoneForASinglePicture) {
    TempFolder folder;
    WritePattern(folder.Path("one.png"), 4, 3);
    const ConvertRun run = RunConvert({folder.Path("one.png"), folder.Path("out.bmp")}, {}, true);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
}

}  // namespace
}  // namespace tools_test
