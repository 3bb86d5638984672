#include <gtest/gtest.h>

#include "depth/depth_stages.h"
#include "depth/gray_scale.h"
#include "platform/color.h"
#include "tests/depth/stage_rig.h"

namespace depth_tests {
namespace {

using platform::RGB;
using testing_support::Grey;
using testing_support::SurfaceColors;

core::StageTable DepthStages() {
    core::StageTable table;
    depth::FillDepthStages(table);
    return table;
}

TEST(DepthStagesTest, FillsEveryDepthEntryAndNoOther) {
    const core::StageTable table = DepthStages();
    for (const core::Stage cue : table.cues) EXPECT_NE(cue, nullptr);
    EXPECT_NE(table.invert, nullptr);
    EXPECT_NE(table.centre, nullptr);
    EXPECT_NE(table.warp, nullptr);
    EXPECT_EQ(table.blurs[0], nullptr);  // "None"
    for (std::size_t i = 1; i < table.blurs.size(); ++i) EXPECT_NE(table.blurs[i], nullptr);
    EXPECT_EQ(table.anaglyph, nullptr);
    EXPECT_EQ(table.frame, nullptr);
}

// Each cue entry reads picOriginal and writes picDepth; the colour cue gets CueColor.
TEST(DepthStagesTest, CuesGoFromOriginalToDepth) {
    const core::StageTable table = DepthStages();
    const platform::Rgb pixel = RGB(250, 40, 100);
    const int expected[] = {130, 91, 175, 145, 250, 125};  // colour cue with CueColor 3
    for (std::size_t cue = 0; cue < table.cues.size(); ++cue) {
        StageRig rig;
        rig.settings.CueColor = 3;
        LoadRows(rig.surfaces.picOriginal, {{pixel}});
        table.cues[cue](rig.context);
        EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), std::vector{Grey(expected[cue])}) << cue;
        EXPECT_EQ(SurfaceColors(rig.surfaces.picOriginal), std::vector{pixel});
    }
}

TEST(DepthStagesTest, UtiAndGreenGiveTheSameMap) {
    const core::StageTable table = DepthStages();
    std::vector<platform::Rgb> maps[2];
    const std::int16_t entries[] = {1, 3};
    for (int i = 0; i < 2; ++i) {
        StageRig rig;
        GrayScale::SelectCue(rig.settings, entries[i]);
        testing_support::LoadSurface(rig.surfaces.picOriginal, 5, 3, [](int x, int y) {
            return RGB(50 * x, 20 * y + x, 255 - 9 * x);
        });
        table.cues[static_cast<std::size_t>(rig.settings.DepthCue)](rig.context);
        maps[i] = SurfaceColors(rig.surfaces.picDepth);
    }
    EXPECT_EQ(maps[0], maps[1]);
    EXPECT_EQ(maps[0][3], Grey(3));  // green of (150, 3, 228)
}

TEST(DepthStagesTest, ShapingStepsWorkOnTheDepthMap) {
    const core::StageTable table = DepthStages();
    StageRig rig;
    rig.globals.glbWarp = 100;
    LoadGreys(rig.surfaces.picOriginal, {{9, 9, 9}, {9, 9, 9}, {9, 9, 9}});
    LoadGreys(rig.surfaces.picDepth, {{0, 0, 0}, {0, 0, 0}, {0, 0, 255}});
    table.warp(rig.context);  // 255 / 100 = 2.55 from row 2: up to row -1, left out
    EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth),
              (std::vector{Grey(0), Grey(0), Grey(255), Grey(0), Grey(0), Grey(255), Grey(0),
                           Grey(0), Grey(255)}));
    table.invert(rig.context);
    EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth)[0], Grey(255));
    table.centre(rig.context);  // values 0 and 255: mid 128
    EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth)[0], Grey(254));
    EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth)[5], Grey(0));
    table.blurs[2](rig.context);  // 6 x 254 / 9
    EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth)[4], Grey(169));
    EXPECT_EQ(SurfaceColors(rig.surfaces.picOriginal), std::vector<platform::Rgb>(9, Grey(9)));
}

TEST(DepthStagesTest, EveryFilterEntryFiltersTheDepthMapInPlace) {
    const core::StageTable table = DepthStages();
    const int centre[] = {0, 128, 28, 28, 0, 255};  // a white spot on black, by choice
    for (std::size_t choice = 1; choice < table.blurs.size(); ++choice) {
        StageRig rig;
        LoadGreys(rig.surfaces.picDepth, {{0, 0, 0}, {0, 255, 0}, {0, 0, 0}});
        table.blurs[choice](rig.context);
        EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth)[4], Grey(centre[choice])) << choice;
    }
}

}  // namespace
}  // namespace depth_tests
