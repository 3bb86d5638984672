// From the command line to the settings a conversion runs with.
#include <gtest/gtest.h>

#include "tools/convert_options.h"
#include "tools/number_argument.h"
#include "tools/run_settings.h"

namespace convert_tool {
namespace {

QStringList Words(const std::vector<const char*>& words) {
    QStringList list;
    for (const char* word : words) list << QString::fromUtf8(word);
    return list;
}

RunSettings SettingsFor(std::initializer_list<const char*> options) {
    const ParseResult parsed = ParseCommandLine(Words(options) + QStringList{"in.png", "out.bmp"});
    EXPECT_EQ(parsed.status, ParseStatus::kRun) << parsed.error.toStdString();
    return ResolveSettings(parsed.options);
}

TEST(ParseInt16Test, TakesWholeSixteenBitNumbersOnly) {
    const std::pair<const char*, std::optional<std::int16_t>> cases[] = {
        {"0", 0},    {"-32768", -32768}, {"32767", 32767}, {"+7", 7},
        {"-0", 0},   {"007", 7},         {"", {}},         {"-", {}},
        {"+", {}},   {"32768", {}},      {"-32769", {}},   {"99999999999", {}},
        {"1e3", {}}, {" 1", {}},         {"1 ", {}},       {"+-1", {}},
        {"--1", {}}, {"0x1", {}},        {"1.0", {}},      {"seven", {}}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ParseInt16(text), value) << '"' << text << '"';
}

TEST(ParseInt16ListTest, NeedsExactlyTheCount) {
    EXPECT_EQ(ParseInt16List("1,-2,3", 3), (std::vector<std::int16_t>{1, -2, 3}));
    for (const char* text : {"1,2", "1,2,3,", ",1,2", "1,,3", "1,2,3,4", "", "1,2,x"})
        EXPECT_FALSE(ParseInt16List(text, 3)) << '"' << text << '"';
}

// Each name is the Cues menu entry, or the blur choice, of its place in the list.
TEST(RunSettingsTest, EveryCueAndBlurName) {
    const char* cues[] = {"rgb",    "uti",     "red",  "green",     "blue",
                          "yellow", "magenta", "cyan", "luminance", "saturation"};
    for (std::int16_t i = 0; i < 10; ++i)
        EXPECT_EQ(SettingsFor({"--cue", cues[i]}).settings.Cue, i) << cues[i];
    // The entry brings its cue numbers, as choosing it in the menu does; raw numbers
    // go on after it, wherever they stand on the line.
    EXPECT_EQ(SettingsFor({"--cue", "saturation"}).settings.DepthCue, 4);
    const RunSettings raw =
        SettingsFor({"--depth-cue", "2", "--cue-color=-1", "--cue", "saturation"});
    EXPECT_EQ(raw.settings.Cue, 9);
    EXPECT_EQ(raw.settings.DepthCue, 2);
    EXPECT_EQ(raw.settings.CueColor, -1);
    const char* blurs[] = {"none", "smere", "blur", "mean", "median", "max"};
    for (std::int16_t i = 0; i < 6; ++i)
        EXPECT_EQ(SettingsFor({"--blur", blurs[i]}).settings.BlurChoice, i) << blurs[i];
}

TEST(RunSettingsTest, WarpAndAddedDepthTurnOnWithTheirDefaultsOrTheGivenNumber) {
    RunSettings run = SettingsFor({"--warp", "--added-depth"});
    EXPECT_TRUE(run.settings.DoWarp);
    EXPECT_TRUE(run.settings.DoShift);
    EXPECT_EQ(run.values.glbWarp, 24);
    EXPECT_EQ(run.values.glbShift, 6);
    run = SettingsFor({"--warp=7", "--added-depth=-12"});
    EXPECT_EQ(run.values.glbWarp, 7);
    EXPECT_EQ(run.values.glbShift, -12);
    run = SettingsFor({"--warp=7", "--no-warp", "--added-depth", "--no-added-depth"});
    EXPECT_FALSE(run.settings.DoWarp);
    EXPECT_FALSE(run.settings.DoShift);
}

// A later choice replaces an earlier one; a frame colour alone draws no frame.
TEST(RunSettingsTest, LensFrameAndLevels) {
    RunSettings run = SettingsFor({"--lens", "blue-red", "--frame", "full", "--frame-color",
                                   "white", "--levels", "-32768,0,+5,32767,255"});
    EXPECT_EQ(run.settings.Lens, 1);
    EXPECT_EQ(run.settings.ShowFrame, 1);
    EXPECT_EQ(run.settings.FrameType, 1);
    EXPECT_EQ(run.settings.FrameColor, 1);
    EXPECT_EQ(run.values.Depth, (std::array<std::int16_t, 5>{-32768, 0, 5, 32767, 255}));
    run = SettingsFor({"--lens", "blue-red", "--lens", "red-blue", "--frame", "full", "--frame",
                       "sides", "--frame-color", "white", "--frame-color", "black"});
    EXPECT_EQ(run.settings.Lens, 0);
    EXPECT_EQ(run.settings.ShowFrame, 1);
    EXPECT_EQ(run.settings.FrameType, 0);
    EXPECT_EQ(run.settings.FrameColor, 0);
    EXPECT_EQ(SettingsFor({"--frame", "full", "--no-frame"}).settings.ShowFrame, 0);
    run = SettingsFor({"--frame-color=white"});
    EXPECT_EQ(run.settings.FrameColor, 1);
    EXPECT_EQ(run.settings.ShowFrame, 0);
}

// Without --output-dir two names are input and output; with it every name is an
// input, and after "--" even one that looks like an option.
TEST(CommandLineTest, NamesAreInputsAndOutput) {
    ParseResult parsed = ParseCommandLine(Words({"a.jpg", "b.png"}));
    EXPECT_EQ(parsed.options.inputs, QStringList{"a.jpg"});
    EXPECT_EQ(parsed.options.output, "b.png");
    EXPECT_EQ(parsed.options.display_bpp, 32);
    parsed = ParseCommandLine(Words({"a.jpg", "--output-dir=out", "b.png", "--display-bpp", "15",
                                     "--", "-dash.png", "--help"}));
    ASSERT_EQ(parsed.status, ParseStatus::kRun);
    EXPECT_EQ(parsed.options.inputs, (QStringList{"a.jpg", "b.png", "-dash.png", "--help"}));
    EXPECT_EQ(parsed.options.output_dir, "out");
    EXPECT_EQ(parsed.options.extension, "bmp");
    EXPECT_EQ(parsed.options.display_bpp, 15);
}

// --help and --version answer whatever else the line holds, up to "--".
TEST(CommandLineTest, HelpAndVersionWinOverMistakes) {
    EXPECT_EQ(ParseCommandLine(Words({"--bogus", "--levels", "1", "-h"})).status,
              ParseStatus::kHelp);
    EXPECT_EQ(ParseCommandLine(Words({"--warp=x", "--version", "--help"})).status,
              ParseStatus::kVersion);
}

// Each option that takes a number or a name is tried with one value it must refuse;
// which numbers are refused is checked on the number reader above.
TEST(CommandLineTest, RefusesWhatCannotBeCarriedOutSayingWhy) {
    const struct {
        std::vector<const char*> arguments;
        const char* says;
    } cases[] = {
        {{"--bogus", "in", "out"}, "unknown option '--bogus'"},
        {{"-x", "in", "out"}, "unknown option '-x'"},
        {{}, "no input picture"},
        {{"in"}, "no output file"},
        {{"in", "in", "out"}, "several inputs need --output-dir"},
        {{"--depth-cue", "abc", "in", "out"}, "--depth-cue: 'abc'"},
        {{"--cue-color=-32769", "in", "out"}, "--cue-color: '-32769'"},
        {{"--warp=1.5", "in", "out"}, "--warp: '1.5'"},
        {{"--added-depth=40000", "in", "out"}, "--added-depth: '40000'"},
        {{"--levels", "50,100,150,200", "in", "out"}, "five whole numbers"},
        {{"--cue", "RGB", "in", "out"}, "'RGB'"},
        {{"--blur", "gauss", "in", "out"}, "'gauss'"},
        {{"--lens", "green", "in", "out"}, "'green'"},
        {{"--frame", "top", "in", "out"}, "'top'"},
        {{"--frame-color", "grey", "in", "out"}, "'grey'"},
        {{"--display-bpp", "12", "in", "out"}, "'12'"},
        {{"in", "out", "--depth-cue"}, "--depth-cue needs a value"},
        {{"--saved-settings=yes", "in", "out"}, "takes no value"},
        {{"--format", "png", "in", "out"}, "--format applies only with --output-dir"},
        {{"--format", "gif", "--output-dir", "dir", "in"}, "'gif'"},
        {{"--depth-map", "out", "--output-dir", "dir", "in", "in"}, "single input"},
    };
    for (const auto& c : cases) {
        const ParseResult parsed = ParseCommandLine(Words(c.arguments));
        EXPECT_EQ(parsed.status, ParseStatus::kUsageError) << c.says;
        EXPECT_TRUE(parsed.error.contains(QString::fromUtf8(c.says))) << parsed.error.toStdString();
    }
}

}  // namespace
}  // namespace convert_tool
