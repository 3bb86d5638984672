// On a 32-bit display the scaled views are warped straight from and into the images,
// row by row; on the others through grids of the whole picture. Both must give the
// same pixels: a 24-bit and a 32-bit display hold the same channels.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "conversion/run.h"
#include "tests/support/pictures.h"

namespace {

using platform::RGB;

constexpr int kWidth = 333;
constexpr int kHeight = 9;

platform::Rgb Texture(int x, int y) {
    return RGB((x * 37 + y * 11) % 256, (x * x + 7 * y) % 256, (x * 5 + y * y * 3) % 256);
}

// Depth that jumps from pixel to pixel, so that the warp folds and opens holes.
core::DepthLevels NoisyDepth() {
    std::mt19937 random(33);
    core::DepthLevels depth{kWidth, kHeight, {}};
    for (int i = 0; i < kWidth * kHeight; ++i)
        depth.levels.push_back(
            static_cast<std::uint8_t>(i % 40 < 20 ? 60 + random() % 40 : 150 + random() % 100));
    return depth;
}

struct Views {
    platform::Bitmap left;
    platform::Bitmap right;
};

Views ScaledViews(int bits, double parallax, const core::DepthLevels* depth) {
    const platform::Display display(bits);
    const platform::Picture picture =
        testing_support::MakePicture(display, kWidth, kHeight, Texture);
    conversion::Choices choices;
    choices.parallax = {parallax, 40};
    core::Progress progress;
    const conversion::Result result =
        conversion::Run(picture, display, choices, progress, {.depth_from = depth});
    EXPECT_EQ(result.outcome, conversion::Outcome::kConverted) << result.Failure();
    return {result.views.left_view, result.views.right_view};
}

// Blue, Green and Red of every pixel: the first three bytes of a pixel either way.
void ExpectSamePixels(const platform::Bitmap& of24, const platform::Bitmap& of32,
                      const std::string& which) {
    ASSERT_EQ(of24.Width(), of32.Width());
    ASSERT_EQ(of24.Height(), of32.Height());
    for (int y = 0; y < of24.Height(); ++y)
        for (int x = 0; x < of24.Width(); ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(of24.Row(y)[static_cast<std::size_t>(3 * x + c)],
                          of32.Row(y)[static_cast<std::size_t>(4 * x + c)])
                    << which << ", column " << x << ", row " << y;
}

TEST(DirectViewsTest, ThirtyTwoBitViewsEqualTheGridWarp) {
    const core::DepthLevels noisy = NoisyDepth();
    for (const double parallax : {0.5, 2.0, 10.0}) {
        for (const core::DepthLevels* depth :
             {static_cast<const core::DepthLevels*>(nullptr), &noisy}) {
            const std::string which =
                std::to_string(parallax) + " %" + (depth ? ", noisy depth" : ", depth from colour");
            const Views of24 = ScaledViews(24, parallax, depth);
            const Views of32 = ScaledViews(32, parallax, depth);
            ExpectSamePixels(of24.left, of32.left, "left view, " + which);
            ExpectSamePixels(of24.right, of32.right, "right view, " + which);
        }
    }
}

}  // namespace
