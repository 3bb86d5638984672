// A command line the converter cannot carry out is a usage error: status 2, a line
// that says what was wrong, and no picture read or written.
#include <gtest/gtest.h>

#include "tests/tools/convert_process.h"
#include "tests/tools/test_files.h"

namespace tools_test {
namespace {

struct UsageCase {
    const char* name;
    std::vector<std::string> arguments;  // "IN" and "OUT" stand for a good picture and an output
    const char* says;                    // part of the error line
};

void PrintTo(const UsageCase& c, std::ostream* out) {
    *out << c.name;
}

class UsageErrorTest : public testing::TestWithParam<UsageCase> {};

std::vector<std::string> Expand(const std::vector<std::string>& arguments,
                                const TempFolder& folder) {
    std::vector<std::string> expanded;
    for (const std::string& a : arguments) {
        if (a == "IN")
            expanded.push_back(folder.Path("in.png"));
        else if (a == "OUT")
            expanded.push_back(folder.Path("out.bmp"));
        else if (a == "DIR")
            expanded.push_back(folder.Path("dir"));
        else
            expanded.push_back(a);
    }
    return expanded;
}

TEST_P(UsageErrorTest, ExitsWithTwoAndWritesNothing) {
    const UsageCase& c = GetParam();
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 5, 3);
    const ConvertRun run = RunConvert(Expand(c.arguments, folder));
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--help"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_FALSE(Exists(folder.Path("out.bmp")));
    EXPECT_FALSE(Exists(folder.Path("dir")));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, UsageErrorTest,
    testing::Values(
        UsageCase{"UnknownOption", {"--bogus", "IN", "OUT"}, "unknown option '--bogus'"},
        UsageCase{"UnknownShortOption", {"-x", "IN", "OUT"}, "unknown option '-x'"},
        UsageCase{"NoArguments", {}, "no input picture"},
        UsageCase{"MissingOutput", {"IN"}, "no output file"},
        UsageCase{"SeveralInputsWithoutFolder", {"IN", "IN", "OUT"}, "--output-dir"},
        UsageCase{"DepthCueNotANumber", {"--depth-cue", "abc", "IN", "OUT"}, "'abc'"},
        UsageCase{"DepthCueTooLarge", {"--depth-cue", "32768", "IN", "OUT"}, "'32768'"},
        UsageCase{"CueColorTooSmall", {"--cue-color=-32769", "IN", "OUT"}, "'-32769'"},
        UsageCase{"NumberWithTail", {"--cue-color", "3x", "IN", "OUT"}, "'3x'"},
        UsageCase{"NumberWithSpace", {"--cue-color", " 3", "IN", "OUT"}, "' 3'"},
        UsageCase{"TwoSigns", {"--cue-color", "+-3", "IN", "OUT"}, "'+-3'"},
        UsageCase{"HexNumber", {"--cue-color", "0x10", "IN", "OUT"}, "'0x10'"},
        UsageCase{"WarpFraction", {"--warp=1.5", "IN", "OUT"}, "'1.5'"},
        UsageCase{"WarpEmpty", {"--warp=", "IN", "OUT"}, "--warp"},
        UsageCase{"AddedDepthTooLarge", {"--added-depth=40000", "IN", "OUT"}, "'40000'"},
        UsageCase{"LevelsFour", {"--levels", "50,100,150,200", "IN", "OUT"}, "five"},
        UsageCase{"LevelsSix", {"--levels", "1,2,3,4,5,6", "IN", "OUT"}, "five"},
        UsageCase{"LevelsGap", {"--levels", "1,2,,4,5", "IN", "OUT"}, "five"},
        UsageCase{"LevelsOutOfRange", {"--levels", "1,2,3,4,99999", "IN", "OUT"}, "five"},
        UsageCase{"UnknownCue", {"--cue", "purple", "IN", "OUT"}, "'purple'"},
        UsageCase{"CueIsCaseSensitive", {"--cue", "RGB", "IN", "OUT"}, "'RGB'"},
        UsageCase{"UnknownBlur", {"--blur", "gauss", "IN", "OUT"}, "'gauss'"},
        UsageCase{"UnknownLens", {"--lens", "green", "IN", "OUT"}, "'green'"},
        UsageCase{"UnknownFrame", {"--frame", "top", "IN", "OUT"}, "'top'"},
        UsageCase{"UnknownFrameColor", {"--frame-color", "grey", "IN", "OUT"}, "'grey'"},
        UsageCase{"DisplayDepth12", {"--display-bpp", "12", "IN", "OUT"}, "'12'"},
        UsageCase{"ValueMissingAtEnd", {"IN", "OUT", "--depth-cue"}, "--depth-cue needs a value"},
        UsageCase{"FlagWithValue", {"--saved-settings=yes", "IN", "OUT"}, "takes no value"},
        UsageCase{"FormatWithoutFolder", {"--format", "png", "IN", "OUT"}, "--format"},
        UsageCase{"FormatNotWritable", {"--format", "gif", "--output-dir", "DIR", "IN"}, "'gif'"},
        UsageCase{"DepthMapWithSeveralInputs",
                  {"--depth-map", "OUT", "--output-dir", "DIR", "IN", "IN"},
                  "single input"}),
    [](const testing::TestParamInfo<UsageCase>& info) { return std::string(info.param.name); });

TEST(HelpTest, DescribesEveryOption) {
    const ConvertRun run = RunConvert({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.empty()) << run.err;
    for (const char* option :
         {"--cue", "--depth-cue", "--cue-color", "--blur", "--warp", "--added-depth", "--levels",
          "--lens", "--frame", "--frame-color", "--display-bpp", "--saved-settings", "--depth-map",
          "--second-view", "--output-dir", "--format", "--version", ".anaglyph.bmp", "Exit status"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
}

TEST(HelpTest, WinsOverOtherArguments) {
    const ConvertRun run = RunConvert({"--levels", "1", "-h"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Usage:"), std::string::npos);
}

TEST(VersionTest, PrintsNameAndNumber) {
    const ConvertRun run = RunConvert({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("zarvik-convert ", 0), 0u) << run.out;
    EXPECT_EQ(LineCount(run.out), 1);
}

}  // namespace
}  // namespace tools_test
