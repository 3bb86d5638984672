// The scaled strength through the whole conversion: the parallax measured on a near
// square against the formula, imported depth maps, and the classic views untouched.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "conversion/run.h"
#include "tests/support/fake_progress.h"
#include "tests/support/pictures.h"

namespace {

using platform::RGB;

constexpr int kWidth = 400;
constexpr int kHeight = 12;
constexpr int kSquareLeft = 150;
constexpr int kSquareRight = 250;  // one past

bool InSquare(int x, int y) {
    return x >= kSquareLeft && x < kSquareRight && y >= 3 && y < 9;
}

// Red only in the square; the background is textured in green and blue.
platform::Rgb SquarePicture(int x, int y) {
    return InSquare(x, y) ? RGB(255, 0, 0) : RGB(0, (x * 37) % 256, 100 + x % 50);
}

core::DepthLevels SquareDepth(int near, int far) {
    core::DepthLevels depth{kWidth, kHeight, {}};
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            depth.levels.push_back(static_cast<std::uint8_t>(InSquare(x, y) ? near : far));
    return depth;
}

// The square's left edge in row 6 of a view, to a fraction of a pixel: where the red
// first passes half way.
double SquareEdge(const platform::Bitmap& view, const platform::Display& display) {
    platform::PictureSurface surface(display);
    surface.SetPicture({view, std::nullopt});
    const core::PixelGrid grid = testing_support::ReadGrid(surface);
    for (int x = 1; x < grid.Width(); ++x) {
        const int before = grid(x - 1, 6).Red;
        const int at = grid(x, 6).Red;
        if (at >= 128) return x - 1 + (128.0 - before) / std::max(at - before, 1);
    }
    return -1000;
}

bool SameBits(const platform::Bitmap& a, const platform::Bitmap& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() && a.BitsPixel() == b.BitsPixel() &&
           std::equal(a.Bits().begin(), a.Bits().end(), b.Bits().begin(), b.Bits().end());
}

struct ParallaxCase {
    double percent;
    double plane;
    int near;
    int far;
};

class MeasuredParallaxTest : public testing::TestWithParam<ParallaxCase> {};

TEST_P(MeasuredParallaxTest, SquareParallaxFollowsTheFormulaWithCrossedSign) {
    const ParallaxCase c = GetParam();
    const platform::Display display(24);
    const platform::Picture picture =
        testing_support::MakePicture(display, kWidth, kHeight, SquarePicture);
    conversion::Choices choices;
    choices.parallax = {c.percent, c.plane};
    core::Progress progress;
    const core::DepthLevels depth = SquareDepth(c.near, c.far);
    const conversion::Result result =
        conversion::Run(picture, display, choices, progress, {.depth_from = &depth});
    ASSERT_EQ(result.outcome, conversion::Outcome::kConverted) << result.Failure();

    const double expected = c.percent / 100.0 * kWidth * (c.near / 255.0 - c.plane / 100.0);
    const double measured =
        SquareEdge(result.views.left_view, display) - SquareEdge(result.views.right_view, display);
    EXPECT_NEAR(measured, expected, 1.0);
    EXPECT_TRUE(SameBits(result.views.right_view, result.views.second_view));
}

std::string CaseName(const testing::TestParamInfo<ParallaxCase>& info) {
    const ParallaxCase& c = info.param;
    const auto tenths = [](double v) {
        return std::to_string(static_cast<int>(std::lround(v * 10)));
    };
    return "P" + tenths(c.percent) + "tenths_S" + std::to_string(static_cast<int>(c.plane)) +
           "_near" + std::to_string(c.near) + "_far" + std::to_string(c.far);
}

INSTANTIATE_TEST_SUITE_P(PercentAndPlane, MeasuredParallaxTest,
                         testing::Values(ParallaxCase{1, 60, 255, 0}, ParallaxCase{2, 0, 255, 0},
                                         ParallaxCase{2, 100, 255, 0}, ParallaxCase{3, 50, 200, 40},
                                         ParallaxCase{5, 100, 200, 0},
                                         ParallaxCase{5, 20, 255, 100},
                                         ParallaxCase{10, 60, 255, 0}, ParallaxCase{10, 90, 128, 0},
                                         ParallaxCase{0.1, 0, 255, 0}),
                         CaseName);

// On every display format the classic left view is the picture itself, a scaled one
// is warped; either way the right view is the second view.
TEST(ViewsRunTest, EveryDisplayFormatMakesBothViewsAndTheAnaglyph) {
    for (const int bits : {8, 15, 16, 24, 32})
        for (const double percent : {0.0, 4.0}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, " << percent << " %");
            const platform::Display display(bits);
            const platform::Picture picture =
                testing_support::MakePicture(display, kWidth, kHeight, SquarePicture);
            conversion::Choices choices;
            choices.parallax = {percent, 50};
            core::Progress progress;
            const conversion::Result result = conversion::Run(picture, display, choices, progress);
            ASSERT_EQ(result.outcome, conversion::Outcome::kConverted);
            EXPECT_EQ(SameBits(result.views.left_view, picture.bitmap), percent == 0.0);
            EXPECT_TRUE(SameBits(result.views.right_view, result.views.second_view));
            EXPECT_EQ(result.views.left_view.Width(), kWidth);
            EXPECT_EQ(result.views.right_view.Height(), kHeight);
            EXPECT_EQ(result.views.anaglyph.bitmap.Width(), kWidth);
        }
}

TEST(ScaledRunTest, ImportedDepthOfAnotherSizeFailsNamingTheStep) {
    const platform::Display display(24);
    const platform::Picture picture =
        testing_support::MakePicture(display, kWidth, kHeight, SquarePicture);
    core::DepthLevels small{3, 2, std::vector<std::uint8_t>(6, 9)};
    core::Progress progress;
    const conversion::Result result =
        conversion::Run(picture, display, conversion::Choices{}, progress, {.depth_from = &small});
    EXPECT_EQ(result.outcome, conversion::Outcome::kFailed);
    EXPECT_EQ(result.Failure(),
              "the depth map step failed: the depth map is 3 x 2, the picture "
              "400 x 12");
}

}  // namespace
