// The converter's --method, --glasses, --layout and --scene: what each chooses, and the
// line --verbose writes about what "auto" picked, on the real program. What a layout
// makes of the views is checked on the stereo stage and with the scaled views.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

#include "tests/tools/convert_run.h"
#include "tools/convert_options.h"
#include "tools/run_settings.h"

namespace tools_test {
namespace {

using namespace convert_tool;
using testing::HasSubstr;

// Each option sets its own choice and no classic setting, a later choice replaces an
// earlier one, and without --scene the depth stays classic.
TEST(StereoAndSceneOptionsTest, EachOptionChoosesItsOwnSetting) {
    using Picked = std::array<int, 4>;  // method, glasses, layout, scene
    const std::pair<QStringList, Picked> cases[] = {
        {{}, {0, 0, 0, 0}},
        {{"--method", "dubois"}, {3, 0, 0, 0}},
        {{"--method=half-colour", "--glasses", "green-magenta"}, {1, 1, 0, 0}},
        {{"--glasses", "amber-blue", "--layout", "half-top-bottom"}, {0, 2, 5, 0}},
        {{"--layout", "cross-eye", "--layout", "side-by-side", "--method", "grey"}, {2, 0, 1, 0}},
        {{"--layout", "half-side-by-side"}, {0, 0, 3, 0}},
        {{"--layout=top-bottom"}, {0, 0, 4, 0}},
        {{"--scene", "auto"}, {0, 0, 0, 1}},
        {{"--scene=landscape"}, {0, 0, 0, 2}},
        {{"--scene", "portrait"}, {0, 0, 0, 3}},
        {{"--scene", "flat"}, {0, 0, 0, 4}},
        {{"--scene", "flat", "--scene", "auto"}, {0, 0, 0, 1}},
    };
    for (const auto& [options, picked] : cases) {
        const std::string named = options.join(u' ').toStdString();
        const ParseResult parsed = ParseCommandLine(options + QStringList{"in", "out"});
        ASSERT_EQ(parsed.status, ParseStatus::kRun) << parsed.error.toStdString();
        const RunSettings run = ResolveSettings(parsed.options);
        EXPECT_EQ(
            Picked({run.stereo.method, run.stereo.glasses, run.stereo.layout, run.scene.scene}),
            picked)
            << named;
        EXPECT_EQ(run.settings, core::ConversionSettings{}) << named;
    }
}

// The sample is a landscape under a sky; --verbose names the pick, and without it
// the converter stays as quiet as ever.
TEST(StereoAndSceneOptionsTest, VerboseSaysWhichSceneAutoPicked) {
    TempFolder folder;
    const ConvertRun verbose =
        RunConvert({"--scene", "auto", "--verbose", ZARVIK_SAMPLE_PICTURE, folder.Path("out.bmp")});
    EXPECT_EQ(verbose.status, 0) << verbose.err;
    EXPECT_THAT(verbose.err, HasSubstr("sample.png\": scene landscape\n"));
    const ConvertRun quiet =
        RunConvert({"--scene", "auto", ZARVIK_SAMPLE_PICTURE, folder.Path("out.bmp")});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.err, "");
    const ConvertRun classic =
        RunConvert({"--verbose", ZARVIK_SAMPLE_PICTURE, folder.Path("out.bmp")});
    EXPECT_EQ(classic.err, "");
}

}  // namespace
}  // namespace tools_test
