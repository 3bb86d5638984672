// Rows spread over several threads give the very bytes a one-thread run gives: every
// view, every display format, with the stages that run in parallel and the filters
// and options around them. The picture is high enough for several blocks of rows; for
// the scene depth, large enough that the reduction reads only some of its rows.
#include <gtest/gtest.h>
#include <omp.h>

#include <string>
#include <vector>

#include "conversion/run.h"
#include "core/scene_choices.h"
#include "tests/support/pictures.h"

namespace {

struct ThreadCase {
    std::string name;
    int bits;
    int depth_cue;
    int blur;
    bool added_depth;
    bool scene = false;
};

std::vector<std::uint8_t> Bytes(const platform::Bitmap& bitmap) {
    return {bitmap.Bits().begin(), bitmap.Bits().end()};
}

struct Views {
    std::vector<std::uint8_t> anaglyph, depth_map, second_view;
};

Views ConvertOn(int threads, const ThreadCase& c) {
    const platform::Display display(c.bits);
    // Noisy colours, so that every depth band and every channel order turns up; for
    // the scene, under a sky, 2100 pixels wide: eight or more rows to a reduced one.
    const int width = c.scene ? 2100 : 203, height = c.scene ? 1300 : 331;
    const platform::Picture picture =
        testing_support::MakePicture(display, width, height, [&c](int x, int y) {
            if (c.scene && y < 500) return platform::RGB(120 + y / 20, 160 + y / 20, 225);
            return platform::RGB((x * 7 + y * 3) % 256, (x * x + y * 11) % 256,
                                 (x * 13 + y * y * 5) % 256);
        });
    conversion::Choices choices;
    choices.settings.DepthCue = static_cast<std::int16_t>(c.depth_cue);
    choices.settings.BlurChoice = static_cast<std::int16_t>(c.blur);
    choices.settings.DoShift = c.added_depth;
    if (c.scene) choices.scene.scene = static_cast<std::int16_t>(core::Scene::kAuto);
    core::Progress progress;
    const int before = omp_get_max_threads();
    omp_set_num_threads(threads);
    const conversion::Result result = conversion::Run(picture, display, choices, progress);
    omp_set_num_threads(before);
    EXPECT_EQ(result.outcome, conversion::Outcome::kConverted);
    EXPECT_EQ(result.scene_picked, c.scene ? "landscape" : "");
    return {Bytes(result.views.anaglyph.bitmap), Bytes(result.views.depth_map),
            Bytes(result.views.second_view)};
}

class ThreadCountTest : public testing::TestWithParam<ThreadCase> {};

TEST_P(ThreadCountTest, ManyThreadsGiveTheOneThreadBytes) {
    const Views one = ConvertOn(1, GetParam());
    const Views many = ConvertOn(4, GetParam());
    EXPECT_EQ(one.anaglyph, many.anaglyph);
    EXPECT_EQ(one.depth_map, many.depth_map);
    EXPECT_EQ(one.second_view, many.second_view);
}

INSTANTIATE_TEST_SUITE_P(Settings, ThreadCountTest,
                         testing::Values(ThreadCase{"Classic32", 32, 0, 0, false},
                                         ThreadCase{"Weights24", 24, 1, 2, false},
                                         ThreadCase{"Lightness16", 16, 3, 3, true},
                                         ThreadCase{"Maximum15", 15, 4, 4, false},
                                         ThreadCase{"Bands8", 8, 5, 5, true},
                                         ThreadCase{"Mean8", 8, 0, 1, false},
                                         ThreadCase{"Scene16", 16, 0, 0, false, true},
                                         ThreadCase{"Scene24", 24, 0, 0, false, true},
                                         ThreadCase{"Scene32", 32, 0, 0, false, true}),
                         [](const testing::TestParamInfo<ThreadCase>& info) {
                             return info.param.name;
                         });

}  // namespace
