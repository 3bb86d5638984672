// The converter's --scene and --verbose: the words it takes, the scene number each
// gives, and the line --verbose writes about what "auto" picked, on the real program.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/tools/convert_run.h"
#include "tools/convert_options.h"
#include "tools/run_settings.h"

namespace tools_test {
namespace {

using namespace convert_tool;
using testing::HasSubstr;

TEST(SceneOptionTest, EachWordGivesItsSceneAndNoneLeavesClassic) {
    const std::pair<QStringList, int> cases[] = {{{}, 0},
                                                 {{"--scene", "auto"}, 1},
                                                 {{"--scene=landscape"}, 2},
                                                 {{"--scene", "portrait"}, 3},
                                                 {{"--scene", "flat"}, 4},
                                                 {{"--scene", "flat", "--scene", "auto"}, 1}};
    for (const auto& [options, scene] : cases) {
        const ParseResult parsed = ParseCommandLine(options + QStringList{"in", "out"});
        ASSERT_EQ(parsed.status, ParseStatus::kRun) << parsed.error.toStdString();
        const RunSettings run = ResolveSettings(parsed.options);
        EXPECT_EQ(run.scene.scene, scene) << options.join(u' ').toStdString();
        EXPECT_EQ(run.settings, core::ConversionSettings{}) << options.join(u' ').toStdString();
    }
}

// The sample is a landscape under a sky; --verbose names the pick, and without it
// the converter stays as quiet as ever.
TEST(SceneOptionTest, VerboseSaysWhichSceneAutoPicked) {
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
