// The converter's --method, --glasses and --layout: what they choose, what they
// refuse, and whole runs whose outputs have the layout's size in every output format.
#include <gtest/gtest.h>

#include <QImage>

#include "tests/tools/convert_run.h"
#include "tools/convert_options.h"
#include "tools/run_settings.h"

namespace tools_test {
namespace {

using namespace convert_tool;

TEST(StereoOptionsTest, EachOptionChoosesItsOwnSetting) {
    const std::pair<QStringList, core::StereoChoices> cases[] = {
        {{}, {0, 0, 0}},
        {{"--method", "dubois"}, {3, 0, 0}},
        {{"--method=half-colour", "--glasses", "green-magenta"}, {1, 1, 0}},
        {{"--glasses", "amber-blue", "--layout", "half-top-bottom"}, {0, 2, 5}},
        {{"--layout", "cross-eye", "--layout", "side-by-side", "--method", "grey"}, {2, 0, 1}},
    };
    for (const auto& [options, chosen] : cases) {
        const ParseResult parsed = ParseCommandLine(options + QStringList{"in", "out"});
        ASSERT_EQ(parsed.status, ParseStatus::kRun) << parsed.error.toStdString();
        const RunSettings run = ResolveSettings(parsed.options);
        EXPECT_EQ(run.stereo, chosen) << options.join(u' ').toStdString();
        EXPECT_EQ(run.settings, core::ConversionSettings{}) << "no other setting changes";
    }
}

// Each layout's size, through the real program, in a lossless and a lossy format.
TEST(StereoRunTest, OutputsHaveTheLayoutsSize) {
    TempFolder folder;
    const QImage picture(QStringLiteral(ZARVIK_SAMPLE_PICTURE));
    const int w = picture.width(), h = picture.height();
    const std::pair<const char*, QSize> layouts[] = {
        {"side-by-side", {2 * w, h}},  {"cross-eye", {2 * w, h}},   {"top-bottom", {w, 2 * h}},
        {"half-side-by-side", {w, h}}, {"half-top-bottom", {w, h}},
    };
    for (const auto& [layout, size] : layouts)
        for (const char* extension : {".png", ".jpg"}) {
            const std::string out = folder.Path(std::string(layout) + extension);
            const ConvertRun run =
                RunConvert({"--layout", layout, "--method", "dubois", ZARVIK_SAMPLE_PICTURE, out});
            EXPECT_EQ(run.status, 0) << run.err;
            EXPECT_EQ(QImage(QString::fromStdString(out)).size(), size) << layout << extension;
        }
}

// With the scaled strength the pair is made of both eyes' warped views, the very
// ones --left-view and --right-view write.
TEST(StereoRunTest, ScaledSideBySideHoldsBothEyesViews) {
    TempFolder folder;
    const std::string out = folder.Path("pair.png"), left = folder.Path("left.png"),
                      right = folder.Path("right.png");
    ASSERT_EQ(RunConvert({"--parallax", "3", "--layout", "side-by-side", "--left-view", left,
                          "--right-view", right, ZARVIK_SAMPLE_PICTURE, out})
                  .status,
              0);
    const QImage pair = ReadRgb(out), left_view = ReadRgb(left), right_view = ReadRgb(right);
    ASSERT_EQ(pair.width(), 2 * left_view.width());
    EXPECT_EQ(pair.copy(0, 0, left_view.width(), left_view.height()), left_view);
    EXPECT_EQ(pair.copy(left_view.width(), 0, right_view.width(), right_view.height()), right_view);
    EXPECT_NE(left_view, ReadRgb(ZARVIK_SAMPLE_PICTURE)) << "the scaled left view is warped";
}

}  // namespace
}  // namespace tools_test
