// From the command line to the settings a conversion runs with, and the quoting of
// names in the converter's lines.
#include <gtest/gtest.h>

#include "tools/convert_options.h"
#include "tools/run_settings.h"
#include "tools/status_output.h"

namespace convert_tool {
namespace {

QStringList Words(const std::vector<const char*>& words) {
    QStringList list;
    for (const char* word : words) list << QString::fromUtf8(word);
    return list;
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
        {{"--cue", "saturation", "--depth-cue", "-32768", "--cue-color=+32767"},
         {9, -32768, 32767, 0, 24, 0, 6, 0, 0, 0, 0}},
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
        const ParseResult parsed = ParseCommandLine(Words(options) + QStringList{"in", "out"});
        EXPECT_EQ(parsed.status, ParseStatus::kRun) << parsed.error.toStdString();
        const RunSettings run = ResolveSettings(parsed.options);
        const core::ConversionSettings& s = run.settings;
        EXPECT_EQ(Chosen({s.Cue, s.DepthCue, s.CueColor, s.DoWarp, run.values.glbWarp, s.DoShift,
                          run.values.glbShift, s.Lens, s.ShowFrame, s.FrameType, s.FrameColor}),
                  chosen)
            << Words(options).join(u' ').toStdString();
    }
}

// Each refusal names what is wrong. Without these refusals a run could write over
// an input, give several pictures one depth map, or wrap a number round.
TEST(CommandLineTest, RefusesWhatCannotBeCarriedOutSayingWhy) {
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"--bogus", "in", "out"}, "unknown option '--bogus'"},
        {{"in"}, "no output file"},
        {{"in", "in", "out"}, "several inputs need --output-dir"},
        {{"--added-depth=32768", "in", "out"}, "--added-depth: '32768'"},
        {{"--levels", "50,100,150,200", "in", "out"}, "five whole numbers"},
        {{"--display-bpp", "12", "in", "out"}, "'12'"},
        {{"--depth-map", "out", "--output-dir", "dir", "in", "in"}, "single input"},
    };
    for (const auto& [arguments, says] : cases) {
        const ParseResult parsed = ParseCommandLine(Words(arguments));
        EXPECT_EQ(parsed.status, ParseStatus::kUsageError) << says;
        EXPECT_TRUE(parsed.error.contains(QString::fromUtf8(says))) << parsed.error.toStdString();
    }
}

// A failure's line names its file in quotes with control characters written as
// escapes, so that no file name can split the line or steer the terminal.
TEST(QuotedPathTest, ControlCharactersAreEscaped) {
    EXPECT_EQ(QuotedPath(QString::fromUtf8("été\n写真\r\t\x07\x1b\x7f\\")).toStdString(),
              R"("été\n写真\r\t\x07\x1b\x7f\")");
}

}  // namespace
}  // namespace convert_tool
