// The scene depth spread over several threads gives the very bytes a one-thread run
// gives, on a picture large enough that the reduction reads only some of its rows.
#include <gtest/gtest.h>
#include <omp.h>

#include <string>
#include <vector>

#include "conversion/run.h"
#include "core/scene_choices.h"
#include "tests/support/pictures.h"

namespace {

std::vector<std::uint8_t> DepthMapOn(int threads, int bits) {
    const platform::Display display(bits);
    // A sky over a noisy ground, 2100 pixels wide: eight or more rows to a reduced one.
    const platform::Picture picture =
        testing_support::MakePicture(display, 2100, 1300, [](int x, int y) {
            if (y < 500) return platform::RGB(120 + y / 20, 160 + y / 20, 225);
            return platform::RGB((x * 7 + y * 3) % 256, (x * x + y * 11) % 256,
                                 (x * 13 + y * y * 5) % 256);
        });
    conversion::Choices choices;
    choices.scene.scene = static_cast<std::int16_t>(core::Scene::kAuto);
    core::Progress progress;
    const int before = omp_get_max_threads();
    omp_set_num_threads(threads);
    const conversion::Result result = conversion::Run(picture, display, choices, progress);
    omp_set_num_threads(before);
    EXPECT_EQ(result.outcome, conversion::Outcome::kConverted);
    EXPECT_EQ(result.scene_picked, "landscape");
    const auto bytes = result.views.depth_map.Bits();
    return {bytes.begin(), bytes.end()};
}

class SceneThreadsTest : public testing::TestWithParam<int> {};

TEST_P(SceneThreadsTest, ManyThreadsGiveTheOneThreadDepth) {
    EXPECT_EQ(DepthMapOn(1, GetParam()), DepthMapOn(4, GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Displays, SceneThreadsTest, testing::Values(16, 24, 32),
                         [](const testing::TestParamInfo<int>& info) {
                             return "Bits" + std::to_string(info.param);
                         });

}  // namespace
