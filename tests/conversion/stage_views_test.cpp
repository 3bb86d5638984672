// A caller that takes only the anaglyph lets the run drop its depth map and views
// early. That must change nothing but the memory: the very same anaglyph bytes at every
// display format and with every join that goes through the masks, and no stage views
// handed back that could be written by mistake.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conversion/run.h"
#include "tests/support/pictures.h"

namespace {

struct ViewsCase {
    std::string name;
    int bits;
    int lens;
    bool added_depth;
    double parallax;  // 0: the classic strength
    std::int16_t layout;
    bool frame;
};

conversion::Result ConvertKeeping(bool stage_views, const ViewsCase& c) {
    const platform::Display display(c.bits);
    const platform::Picture picture =
        testing_support::MakePicture(display, 37, 23, [](int x, int y) {
            return platform::RGB((x * 7 + y * 3) % 256, (x * x + y * 11) % 256,
                                 (x * 13 + y * y * 5) % 256);
        });
    conversion::Choices choices;
    choices.settings.Lens = static_cast<std::int16_t>(c.lens);
    choices.settings.DoShift = c.added_depth;
    choices.settings.ShowFrame = c.frame ? 1 : 0;
    choices.parallax.parallax_percent = c.parallax;
    choices.stereo.layout = c.layout;
    core::Progress progress;
    return conversion::Run(picture, display, choices, progress, {.stage_views = stage_views});
}

std::vector<std::uint8_t> Bytes(const platform::Bitmap& bitmap) {
    return {bitmap.Bits().begin(), bitmap.Bits().end()};
}

class StageViewsTest : public testing::TestWithParam<ViewsCase> {};

TEST_P(StageViewsTest, DroppingTheStageViewsLeavesTheAnaglyphAsItWas) {
    const conversion::Result kept = ConvertKeeping(true, GetParam());
    const conversion::Result dropped = ConvertKeeping(false, GetParam());
    ASSERT_EQ(kept.outcome, conversion::Outcome::kConverted);
    ASSERT_EQ(dropped.outcome, conversion::Outcome::kConverted);
    EXPECT_EQ(Bytes(dropped.views.anaglyph.bitmap), Bytes(kept.views.anaglyph.bitmap));
    EXPECT_FALSE(kept.views.depth_map.Empty());
    for (const platform::Bitmap* view : {&dropped.views.depth_map, &dropped.views.second_view,
                                         &dropped.views.left_view, &dropped.views.right_view})
        EXPECT_TRUE(view->Empty());
}

INSTANTIATE_TEST_SUITE_P(
    Joins, StageViewsTest,
    testing::Values(ViewsCase{"classic_32bit", 32, 0, false, 0.0, 0, false},
                    ViewsCase{"blue_red_lens_24bit_frame", 24, 1, false, 0.0, 0, true},
                    ViewsCase{"added_depth_16bit", 16, 0, true, 0.0, 0, false},
                    ViewsCase{"added_depth_15bit_blue_red", 15, 1, true, 0.0, 0, false},
                    ViewsCase{"classic_8bit", 8, 0, false, 0.0, 0, false},
                    ViewsCase{"scaled_32bit", 32, 0, false, 3.0, 0, false},
                    ViewsCase{"scaled_8bit_added_depth", 8, 1, true, 3.0, 0, false},
                    ViewsCase{"scaled_side_by_side_24bit", 24, 0, false, 3.0, 1, false}),
    [](const testing::TestParamInfo<ViewsCase>& info) { return info.param.name; });

}  // namespace
