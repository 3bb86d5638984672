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

RunSettings SettingsFor(const std::vector<const char*>& options) {
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
    const char* blurs[] = {"none", "smere", "blur", "mean", "median", "max"};
    for (std::int16_t i = 0; i < 6; ++i)
        EXPECT_EQ(SettingsFor({"--blur", blurs[i]}).settings.BlurChoice, i) << blurs[i];
    EXPECT_EQ(SettingsFor({"--levels", "-32768,0,+5,32767,255"}).values.Depth,
              (std::array<std::int16_t, 5>{-32768, 0, 5, 32767, 255}));
}

// Cue, DepthCue, CueColor; DoWarp, glbWarp, DoShift, glbShift; Lens, ShowFrame,
// FrameType, FrameColor.
using Chosen = std::array<int, 11>;

// Each option changes its own settings and no other; a later choice replaces an
// earlier one.
TEST(RunSettingsTest, EachOptionChoosesItsOwnSettings) {
    const std::pair<std::vector<const char*>, Chosen> cases[] = {
        {{}, {0, 0, 0, 0, 24, 0, 6, 0, 0, 0, 0}},
        // The entry brings its cue numbers, as choosing it in the menu does; raw
        // numbers go on after it, wherever they stand on the line.
        {{"--cue", "magenta"}, {6, 2, 4, 0, 24, 0, 6, 0, 0, 0, 0}},
        {{"--depth-cue", "5", "--cue-color=-1", "--cue", "magenta"},
         {6, 5, -1, 0, 24, 0, 6, 0, 0, 0, 0}},
        // Warp and added depth turn on with their defaults or the given number.
        {{"--warp", "--added-depth"}, {0, 0, 0, 1, 24, 1, 6, 0, 0, 0, 0}},
        {{"--warp=7", "--added-depth=-12"}, {0, 0, 0, 1, 7, 1, -12, 0, 0, 0, 0}},
        {{"--warp=7", "--no-warp", "--added-depth", "--no-added-depth"},
         {0, 0, 0, 0, 7, 0, 6, 0, 0, 0, 0}},
        {{"--lens", "blue-red", "--frame", "full", "--frame-color", "white"},
         {0, 0, 0, 0, 24, 0, 6, 1, 1, 1, 1}},
        {{"--lens", "blue-red", "--lens", "red-blue", "--frame", "full", "--frame", "sides",
          "--frame-color", "white", "--frame-color", "black"},
         {0, 0, 0, 0, 24, 0, 6, 0, 1, 0, 0}},
        {{"--frame", "full", "--no-frame"}, {0, 0, 0, 0, 24, 0, 6, 0, 0, 1, 0}},
        // A frame colour alone draws no frame.
        {{"--frame-color=white"}, {0, 0, 0, 0, 24, 0, 6, 0, 0, 0, 1}}};
    for (const auto& [options, chosen] : cases) {
        const RunSettings run = SettingsFor(options);
        const core::ConversionSettings& s = run.settings;
        EXPECT_EQ(Chosen({s.Cue, s.DepthCue, s.CueColor, s.DoWarp, run.values.glbWarp, s.DoShift,
                          run.values.glbShift, s.Lens, s.ShowFrame, s.FrameType, s.FrameColor}),
                  chosen)
            << Words(options).join(u' ').toStdString();
    }
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
