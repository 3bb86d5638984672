// The guided filter and its window means: a step edge survives, a fine texture does
// not, and the running sums agree with plain window averages at every radius.
#include "depth/guided_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using depth::FloatPlane;

FloatPlane RandomPlane(int width, int height) {
    std::mt19937 random(3);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    FloatPlane plane(width, height);
    for (float& v : plane.Values()) v = value(random);
    return plane;
}

float WindowMean(const FloatPlane& plane, int cx, int cy, int radius) {
    double sum = 0.0;
    int count = 0;
    for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x)
            if (x >= 0 && y >= 0 && x < plane.Width() && y < plane.Height()) {
                sum += plane(x, y);
                ++count;
            }
    return static_cast<float>(sum / count);
}

struct BoxCase {
    const char* name;
    int width, height, radius;
};

class BoxMeanTest : public testing::TestWithParam<BoxCase> {};

TEST_P(BoxMeanTest, AgreesWithPlainWindowAverages) {
    const BoxCase c = GetParam();
    const FloatPlane plane = RandomPlane(c.width, c.height);
    const FloatPlane mean = depth::BoxMean(plane, c.radius);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            ASSERT_NEAR(mean(x, y), WindowMean(plane, x, y, c.radius), 1e-5f) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Radii, BoxMeanTest,
                         testing::Values(BoxCase{"RadiusZeroIsTheValue", 7, 5, 0},
                                         BoxCase{"RadiusOne", 9, 6, 1},
                                         BoxCase{"RadiusThreeOnAWideRow", 40, 4, 3},
                                         BoxCase{"WindowLargerThanThePlane", 5, 3, 8},
                                         BoxCase{"OneColumn", 1, 12, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

// A plane that is 0.2 left of the middle and 0.8 right of it, with a checkerboard
// texture of the given size on top.
FloatPlane StepWithTexture(float texture) {
    FloatPlane plane(64, 32);
    for (int y = 0; y < plane.Height(); ++y)
        for (int x = 0; x < plane.Width(); ++x)
            plane(x, y) = (x < 32 ? 0.2f : 0.8f) + ((x + y) % 2 == 0 ? texture : -texture);
    return plane;
}

float TextureLeft(const FloatPlane& plane, int x0, int x1) {
    float most = 0.0f;
    for (int y = 8; y < 24; ++y)
        for (int x = x0; x < x1; ++x)
            most = std::max(most, std::abs(plane(x, y) - plane(x + 1, y)));
    return most;
}

TEST(GuidedFilterTest, KeepsAStepEdgeAndFlattensTexture) {
    const FloatPlane picture = StepWithTexture(0.03f);
    const FloatPlane smooth = depth::GuidedFilter(picture, picture, 4, 0.01f);
    // The step keeps almost all of its 0.6 over the two columns at the edge...
    EXPECT_GT(smooth(32, 16) - smooth(31, 16), 0.5f);
    EXPECT_NEAR(smooth(8, 16), 0.2f, 0.02f);
    EXPECT_NEAR(smooth(56, 16), 0.8f, 0.02f);
    // ...while the texture, 0.06 from pixel to pixel, keeps under a fifth of it.
    EXPECT_NEAR(TextureLeft(picture, 4, 24), 0.06f, 1e-6f);
    EXPECT_LT(TextureLeft(smooth, 4, 24), 0.012f);
    EXPECT_LT(TextureLeft(smooth, 40, 60), 0.012f);
}

// Steered by another plane, depth takes the guide's edge even where the input has
// none: a blurred depth edge comes out sharp.
TEST(GuidedFilterTest, SharpensADepthEdgeAlongTheGuide) {
    const FloatPlane guide = StepWithTexture(0.0f);
    const FloatPlane blurred = depth::BoxMean(guide, 6);
    const FloatPlane sharpened = depth::GuidedFilter(guide, blurred, 4, 0.001f);
    const float before = blurred(32, 16) - blurred(31, 16);
    EXPECT_LT(before, 0.05f);
    EXPECT_GT(sharpened(32, 16) - sharpened(31, 16), 4 * before);
}

}  // namespace
