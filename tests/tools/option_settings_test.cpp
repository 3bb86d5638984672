// From the command line to the settings a conversion runs with.
#include <gtest/gtest.h>

#include "tools/convert_options.h"
#include "tools/number_argument.h"
#include "tools/run_settings.h"

namespace convert_tool {
namespace {

RunSettings SettingsFor(QStringList options) {
    options << QStringLiteral("in.png") << QStringLiteral("out.bmp");
    const ParseResult parsed = ParseCommandLine(options);
    EXPECT_EQ(parsed.status, ParseStatus::kRun) << parsed.error.toStdString();
    return ResolveSettings(parsed.options);
}

struct NumberCase {
    const char* text;
    std::optional<std::int16_t> value;
};

class ParseInt16Test : public testing::TestWithParam<NumberCase> {};

TEST_P(ParseInt16Test, TakesWholeSixteenBitNumbersOnly) {
    EXPECT_EQ(ParseInt16(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseInt16Test,
    testing::Values(NumberCase{"0", 0}, NumberCase{"-32768", -32768}, NumberCase{"32767", 32767},
                    NumberCase{"+7", 7}, NumberCase{"-0", 0}, NumberCase{"007", 7},
                    NumberCase{"", std::nullopt}, NumberCase{"-", std::nullopt},
                    NumberCase{"+", std::nullopt}, NumberCase{"32768", std::nullopt},
                    NumberCase{"-32769", std::nullopt}, NumberCase{"99999999999", std::nullopt},
                    NumberCase{"1e3", std::nullopt}, NumberCase{" 1", std::nullopt},
                    NumberCase{"1 ", std::nullopt}, NumberCase{"+-1", std::nullopt},
                    NumberCase{"--1", std::nullopt}, NumberCase{"0x1", std::nullopt},
                    NumberCase{"1.0", std::nullopt}, NumberCase{"seven", std::nullopt}));

TEST(ParseInt16ListTest, NeedsExactlyTheCount) {
    EXPECT_EQ(ParseInt16List("1,-2,3", 3), (std::vector<std::int16_t>{1, -2, 3}));
    EXPECT_FALSE(ParseInt16List("1,2", 3));
    EXPECT_FALSE(ParseInt16List("1,2,3,", 3));
    EXPECT_FALSE(ParseInt16List(",1,2", 2));
    EXPECT_FALSE(ParseInt16List("", 1));
}

TEST(RunSettingsTest, NoOptionsGiveTheDefaults) {
    const RunSettings run = SettingsFor({});
    EXPECT_EQ(run.settings, core::ConversionSettings{});
    EXPECT_EQ(run.values.glbWarp, 24);
    EXPECT_EQ(run.values.glbShift, 6);
    EXPECT_EQ(run.values.Depth, TavsMod::kDefaultDepth);
    EXPECT_EQ(run.values.glbFactors, (std::array<std::int16_t, 3>{1, 1, 1}));
    EXPECT_EQ(run.values.glbBusy, 0);
}

struct CueCase {
    const char* name;
    std::int16_t cue;
    std::int16_t depth_cue;
    std::int16_t cue_color;
};

class CueOptionTest : public testing::TestWithParam<CueCase> {};

// The colour entries set CueColor; the others leave it as it was, which a saved
// setting can make anything. Here the default, 0.
TEST_P(CueOptionTest, SetsTheCuesEntrysValues) {
    const CueCase& c = GetParam();
    const RunSettings run = SettingsFor({QStringLiteral("--cue"), QLatin1String(c.name)});
    EXPECT_EQ(run.settings.Cue, c.cue);
    EXPECT_EQ(run.settings.DepthCue, c.depth_cue);
    EXPECT_EQ(run.settings.CueColor, c.cue_color);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, CueOptionTest,
    testing::Values(CueCase{"rgb", 0, 0, 0}, CueCase{"uti", 1, 2, 1}, CueCase{"red", 2, 2, 0},
                    CueCase{"green", 3, 2, 1}, CueCase{"blue", 4, 2, 2}, CueCase{"yellow", 5, 2, 3},
                    CueCase{"magenta", 6, 2, 4}, CueCase{"cyan", 7, 2, 5},
                    CueCase{"luminance", 8, 3, 0}, CueCase{"saturation", 9, 4, 0}),
    [](const testing::TestParamInfo<CueCase>& info) { return std::string(info.param.name); });

TEST(RunSettingsTest, RawCueNumbersWinOverTheCuesEntryWhateverTheOrder) {
    const RunSettings run = SettingsFor({QStringLiteral("--depth-cue"), QStringLiteral("5"),
                                         QStringLiteral("--cue-color=-9"), QStringLiteral("--cue"),
                                         QStringLiteral("magenta")});
    EXPECT_EQ(run.settings.DepthCue, 5);
    EXPECT_EQ(run.settings.CueColor, -9);
    EXPECT_EQ(run.settings.Cue, 6);
}

TEST(RunSettingsTest, WarpAndAddedDepthTurnOnWithTheirDefaultsOrTheGivenNumber) {
    RunSettings run = SettingsFor({QStringLiteral("--warp"), QStringLiteral("--added-depth")});
    EXPECT_TRUE(run.settings.DoWarp);
    EXPECT_TRUE(run.settings.DoShift);
    EXPECT_EQ(run.values.glbWarp, 24);
    EXPECT_EQ(run.values.glbShift, 6);
    run = SettingsFor({QStringLiteral("--warp=7"), QStringLiteral("--added-depth=-12")});
    EXPECT_EQ(run.values.glbWarp, 7);
    EXPECT_EQ(run.values.glbShift, -12);
    run = SettingsFor({QStringLiteral("--warp=7"), QStringLiteral("--no-warp"),
                       QStringLiteral("--added-depth"), QStringLiteral("--no-added-depth")});
    EXPECT_FALSE(run.settings.DoWarp);
    EXPECT_FALSE(run.settings.DoShift);
}

TEST(RunSettingsTest, LevelsLensAndFrame) {
    const RunSettings run =
        SettingsFor({QStringLiteral("--levels"), QStringLiteral("1,2,3,4,-5"),
                     QStringLiteral("--lens"), QStringLiteral("blue-red"),
                     QStringLiteral("--frame=full"), QStringLiteral("--frame-color"),
                     QStringLiteral("white"), QStringLiteral("--blur"), QStringLiteral("median")});
    EXPECT_EQ(run.values.Depth, (std::array<std::int16_t, 5>{1, 2, 3, 4, -5}));
    EXPECT_EQ(run.settings.Lens, 1);
    EXPECT_EQ(run.settings.ShowFrame, 1);
    EXPECT_EQ(run.settings.FrameType, 1);
    EXPECT_EQ(run.settings.FrameColor, 1);
    EXPECT_EQ(run.settings.BlurChoice, 4);
}

TEST(RunSettingsTest, FrameColorAloneDrawsNoFrame) {
    const RunSettings run = SettingsFor({QStringLiteral("--frame-color=white")});
    EXPECT_EQ(run.settings.FrameColor, 1);
    EXPECT_EQ(run.settings.ShowFrame, 0);
}

TEST(RunSettingsTest, EveryBlurName) {
    const char* names[] = {"none", "smere", "blur", "mean", "median", "max"};
    for (std::int16_t i = 0; i < 6; ++i)
        EXPECT_EQ(
            SettingsFor({QStringLiteral("--blur"), QLatin1String(names[i])}).settings.BlurChoice,
            i);
}

TEST(CommandLineTest, TwoNamesAreInputAndOutput) {
    const ParseResult parsed = ParseCommandLine({QStringLiteral("a.jpg"), QStringLiteral("b.png")});
    ASSERT_EQ(parsed.status, ParseStatus::kRun);
    EXPECT_EQ(parsed.options.inputs, QStringList{QStringLiteral("a.jpg")});
    EXPECT_EQ(parsed.options.output, QStringLiteral("b.png"));
    EXPECT_EQ(parsed.options.display_bpp, 32);
}

TEST(CommandLineTest, OutputDirTakesEveryNameAsInput) {
    const ParseResult parsed = ParseCommandLine(
        {QStringLiteral("a.jpg"), QStringLiteral("--output-dir=out"), QStringLiteral("b.png"),
         QStringLiteral("c.bmp"), QStringLiteral("--display-bpp"), QStringLiteral("15")});
    ASSERT_EQ(parsed.status, ParseStatus::kRun);
    EXPECT_EQ(parsed.options.inputs.size(), 3);
    EXPECT_EQ(parsed.options.output_dir, QStringLiteral("out"));
    EXPECT_EQ(parsed.options.extension, QStringLiteral("bmp"));
    EXPECT_EQ(parsed.options.display_bpp, 15);
}

}  // namespace
}  // namespace convert_tool
