// Runs that differ only in how they are carried out must give the very same bytes:
// with or without the stage views kept, on one thread or several, and with the scaled
// views warped straight through the images on a 32-bit display or through grids on a
// 24-bit one (which hold the same channels).
#include <gtest/gtest.h>
#include <omp.h>

#include <random>
#include <string>
#include <vector>

#include "conversion/run.h"
#include "core/scene_choices.h"
#include "tests/support/pictures.h"

namespace {

using platform::RGB;

std::vector<std::uint8_t> Bytes(const platform::Bitmap& bitmap) {
    return {bitmap.Bits().begin(), bitmap.Bits().end()};
}

// Noisy colours, so that every depth band and every channel order turns up.
platform::Rgb Noise(int x, int y) {
    return RGB((x * 7 + y * 3) % 256, (x * x + y * 11) % 256, (x * 13 + y * y * 5) % 256);
}

conversion::Result Convert(const platform::Display& display, const platform::Picture& picture,
                           const conversion::Choices& choices, const conversion::Request& request) {
    core::Progress progress;
    conversion::Result result = conversion::Run(picture, display, choices, progress, request);
    EXPECT_EQ(result.outcome, conversion::Outcome::kConverted) << result.Failure();
    return result;
}

// A caller that takes only the anaglyph lets the run drop its depth map and views
// early; that must change nothing but the memory, at every display format and with
// every join that goes through the masks, and hand back no views to write by mistake.
struct ViewsCase {
    std::string name;
    int bits;
    int lens;
    bool added_depth;
    double parallax;  // 0: the classic strength
    std::int16_t layout;
    bool frame;
};

class StageViewsTest : public testing::TestWithParam<ViewsCase> {};

TEST_P(StageViewsTest, DroppingTheStageViewsLeavesTheAnaglyphAsItWas) {
    const ViewsCase& c = GetParam();
    const platform::Display display(c.bits);
    const platform::Picture picture = testing_support::MakePicture(display, 37, 23, Noise);
    conversion::Choices choices;
    choices.settings.Lens = static_cast<std::int16_t>(c.lens);
    choices.settings.DoShift = c.added_depth;
    choices.settings.ShowFrame = c.frame ? 1 : 0;
    choices.parallax.parallax_percent = c.parallax;
    choices.stereo.layout = c.layout;
    const conversion::Result kept = Convert(display, picture, choices, {.stage_views = true});
    const conversion::Result dropped = Convert(display, picture, choices, {.stage_views = false});
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
                    ViewsCase{"scaled_32bit_blue_red_frame", 32, 1, false, 3.0, 0, true},
                    ViewsCase{"scaled_24bit", 24, 0, false, 3.0, 0, false},
                    ViewsCase{"scaled_8bit_added_depth", 8, 1, true, 3.0, 0, false},
                    ViewsCase{"scaled_side_by_side_24bit", 24, 0, false, 3.0, 1, false}),
    [](const testing::TestParamInfo<ViewsCase>& info) { return info.param.name; });

// Rows spread over several threads give the one-thread bytes in every view, with the
// stages that run in parallel and the filters and options around them. The picture is
// high enough for several blocks of rows; for the scene depth, 2100 wide under a sky,
// large enough that the reduction reads only some of its rows.
struct ThreadCase {
    std::string name;
    int bits;
    int depth_cue;
    int blur;
    bool added_depth;
    bool scene = false;
};

std::vector<std::vector<std::uint8_t>> ConvertOn(int threads, const ThreadCase& c) {
    const platform::Display display(c.bits);
    const int width = c.scene ? 2100 : 203, height = c.scene ? 1300 : 331;
    const platform::Picture picture =
        testing_support::MakePicture(display, width, height, [&c](int x, int y) {
            return c.scene && y < 500 ? RGB(120 + y / 20, 160 + y / 20, 225) : Noise(x, y);
        });
    conversion::Choices choices;
    choices.settings.DepthCue = static_cast<std::int16_t>(c.depth_cue);
    choices.settings.BlurChoice = static_cast<std::int16_t>(c.blur);
    choices.settings.DoShift = c.added_depth;
    if (c.scene) choices.scene.scene = static_cast<std::int16_t>(core::Scene::kAuto);
    const int before = omp_get_max_threads();
    omp_set_num_threads(threads);
    const conversion::Result result = Convert(display, picture, choices, {});
    omp_set_num_threads(before);
    EXPECT_EQ(result.scene_picked, c.scene ? "landscape" : "");
    return {Bytes(result.views.anaglyph.bitmap), Bytes(result.views.depth_map),
            Bytes(result.views.second_view)};
}

class ThreadCountTest : public testing::TestWithParam<ThreadCase> {};

TEST_P(ThreadCountTest, ManyThreadsGiveTheOneThreadBytes) {
    EXPECT_EQ(ConvertOn(1, GetParam()), ConvertOn(4, GetParam()));
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

// The scaled views of a 32-bit display against a 24-bit one, pixel by pixel: Blue,
// Green and Red are the first three bytes of a pixel either way. The depth comes from
// the colours, or jumps from pixel to pixel so that the warp folds and opens holes.
TEST(DirectViewsTest, ThirtyTwoBitViewsEqualTheGridWarp) {
    constexpr int kWidth = 333, kHeight = 9;
    std::mt19937 random(33);
    core::DepthLevels noisy{kWidth, kHeight, {}};
    for (int i = 0; i < kWidth * kHeight; ++i)
        noisy.levels.push_back(
            static_cast<std::uint8_t>(i % 40 < 20 ? 60 + random() % 40 : 150 + random() % 100));
    const auto views = [](int bits, double parallax, const core::DepthLevels* depth) {
        const platform::Display display(bits);
        conversion::Choices choices;
        choices.parallax = {parallax, 40};
        const conversion::Result result =
            Convert(display, testing_support::MakePicture(display, kWidth, kHeight, Noise), choices,
                    {.depth_from = depth});
        return std::pair{result.views.left_view, result.views.right_view};
    };
    for (const double parallax : {0.5, 2.0, 10.0})
        for (const core::DepthLevels* depth : {static_cast<const core::DepthLevels*>(nullptr),
                                               static_cast<const core::DepthLevels*>(&noisy)}) {
            SCOPED_TRACE(std::to_string(parallax) + " %" + (depth ? ", noisy depth" : ""));
            const auto [left24, right24] = views(24, parallax, depth);
            const auto [left32, right32] = views(32, parallax, depth);
            for (const auto& [of24, of32] : {std::pair{&left24, &left32}, {&right24, &right32}}) {
                ASSERT_EQ(of24->Width(), of32->Width());
                ASSERT_EQ(of24->Height(), of32->Height());
                for (int y = 0; y < of24->Height(); ++y)
                    for (int x = 0; x < of24->Width(); ++x)
                        for (int c = 0; c < 3; ++c)
                            ASSERT_EQ(of24->Row(y)[static_cast<std::size_t>(3 * x + c)],
                                      of32->Row(y)[static_cast<std::size_t>(4 * x + c)])
                                << (of24 == &left24 ? "left" : "right") << " view, column " << x
                                << ", row " << y;
            }
        }
}

}  // namespace
