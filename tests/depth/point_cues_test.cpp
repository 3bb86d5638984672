#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

#include "core/ddb_helper.h"
#include "depth/cue_greys.h"
#include "platform/color.h"
#include "tests/depth/cue_runner.h"

namespace depth_tests {
namespace {

using platform::RGB;
using testing_support::Grey;
using testing_support::ReadGrid;
using testing_support::SurfaceColors;

struct CueCase {
    int cue;
    std::int16_t cue_color;
    platform::Rgb color;
    int grey;
};

class PointCueTest : public testing::TestWithParam<CueCase> {};

TEST_P(PointCueTest, GivesTheGreyOfOnePixel) {
    const CueCase& c = GetParam();
    StageRig rig;
    LoadRows(rig.surfaces.picOriginal, {{c.color}});
    RunCue(rig, c.cue, c.cue_color);
    EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), std::vector{Grey(c.grey)});
    EXPECT_EQ(SurfaceColors(rig.surfaces.picOriginal), std::vector{c.color});
}

INSTANTIATE_TEST_SUITE_P(
    Cues, PointCueTest,
    testing::Values(
        // mean: thirds never tie
        CueCase{0, 0, RGB(1, 0, 0), 0}, CueCase{0, 0, RGB(2, 0, 0), 1},
        CueCase{0, 0, RGB(255, 0, 0), 85}, CueCase{0, 0, RGB(100, 150, 200), 150},
        // weights in single precision
        CueCase{1, 0, RGB(255, 0, 0), 57}, CueCase{1, 0, RGB(0, 255, 0), 180},
        CueCase{1, 0, RGB(0, 0, 255), 18}, CueCase{1, 0, RGB(100, 150, 200), 142},
        CueCase{1, 0, RGB(128, 128, 128), 128}, CueCase{1, 0, RGB(255, 255, 255), 255},
        // colour variants
        CueCase{2, 0, RGB(10, 20, 30), 10}, CueCase{2, 1, RGB(10, 20, 30), 20},
        CueCase{2, 2, RGB(10, 20, 30), 30}, CueCase{2, 3, RGB(1, 0, 0), 0},
        CueCase{2, 3, RGB(3, 0, 0), 2}, CueCase{2, 3, RGB(255, 255, 0), 128},
        CueCase{2, 3, RGB(0, 200, 0), 0}, CueCase{2, 3, RGB(0, 0, 200), 100},
        CueCase{2, 4, RGB(255, 0, 255), 128}, CueCase{2, 4, RGB(0, 200, 0), 100},
        CueCase{2, 4, RGB(0, 0, 200), 0}, CueCase{2, 5, RGB(0, 1, 0), 0},
        CueCase{2, 5, RGB(0, 3, 0), 2}, CueCase{2, 5, RGB(200, 0, 100), 50},
        CueCase{2, 6, RGB(2, 0, 0), 1}, CueCase{2, -1, RGB(1, 0, 0), 0},
        CueCase{2, 100, RGB(100, 150, 200), 150},
        // lightness: middle of the largest and the smallest
        CueCase{3, 0, RGB(255, 0, 0), 128}, CueCase{3, 0, RGB(1, 0, 0), 0},
        CueCase{3, 0, RGB(3, 0, 0), 2}, CueCase{3, 0, RGB(10, 200, 30), 105},
        // maximum
        CueCase{4, 0, RGB(10, 200, 30), 200}, CueCase{4, 0, RGB(7, 3, 9), 9}));

TEST(PointCueFrameTest, WhiteAndBlackStayInEveryCue) {
    for (const auto& [cue, cue_color] : std::vector<std::pair<int, std::int16_t>>{{0, 0},
                                                                                  {1, 0},
                                                                                  {2, 0},
                                                                                  {2, 1},
                                                                                  {2, 2},
                                                                                  {2, 3},
                                                                                  {2, 4},
                                                                                  {2, 5},
                                                                                  {2, 9},
                                                                                  {3, 0},
                                                                                  {4, 0},
                                                                                  {5, 0}}) {
        StageRig rig;
        LoadRows(rig.surfaces.picOriginal, {{Grey(255), Grey(0)}});
        RunCue(rig, cue, cue_color);
        EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), (std::vector{Grey(255), Grey(0)}))
            << "cue " << cue << " colour " << cue_color;
    }
}

// The weighted grey works in fixed point; it must agree with the single-precision
// products summed in double and rounded half to even, for every colour.
TEST(WeightedGreyTest, MatchesFloatProductsForEveryColour) {
    const auto wr = static_cast<float>(222 / 1000.0);
    const auto wg = static_cast<float>(707 / 1000.0);
    const auto wb = static_cast<float>(71 / 1000.0);
    const GrayScale::detail::WeightedGrey weighted;
    int mismatches = 0;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b) {
                const double sum = static_cast<double>(wr * static_cast<float>(r)) +
                                   static_cast<double>(wg * static_cast<float>(g)) +
                                   static_cast<double>(wb * static_cast<float>(b));
                const auto expected = static_cast<int>(std::nearbyint(sum));
                const core::PixelTriple p{static_cast<std::uint8_t>(b),
                                          static_cast<std::uint8_t>(g),
                                          static_cast<std::uint8_t>(r)};
                if (weighted(p) != expected && ++mismatches < 5)
                    ADD_FAILURE() << r << "," << g << "," << b << " gives " << int{weighted(p)}
                                  << ", not " << expected;
            }
    EXPECT_EQ(mismatches, 0);
}

// Every display format: the cue computes on the channel values the grid holds (raw
// fields at 15 and 16 bits) and writes at the depth read, over an odd-sized picture.
TEST(PointCueFrameTest, WritesTheGreyGridInTheDisplaysFormat) {
    std::mt19937 random(7);
    for (const int bits : kDisplayDepths) {
        StageRig rig(bits);
        testing_support::LoadSurface(rig.surfaces.picOriginal, 7, 5, [&random](int, int) {
            return static_cast<platform::Rgb>(random() & 0xFFFFFF);
        });
        core::PixelGrid expected = ReadGrid(rig.surfaces.picOriginal);
        for (core::PixelTriple& p : expected.Pixels()) {
            const auto g =
                static_cast<std::uint8_t>(std::nearbyint((p.Red + p.Green + p.Blue) / 3.0));
            p = {g, g, g};
        }
        platform::PictureSurface written(rig.display);
        written.SetPicture(rig.surfaces.picOriginal.ImageAsPicture());
        DDBHelper::SetBitmapPixels(written, static_cast<std::int16_t>(bits), expected);

        RunCue(rig, 0);
        EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), SurfaceColors(written)) << bits << " bits";
        EXPECT_EQ(rig.surfaces.picDepth.ScaleWidth(), 7);
        EXPECT_EQ(rig.surfaces.picDepth.ScaleHeight(), 5);
    }
}

TEST(PointCueFrameTest, KeepsTheGreyMapAsTheDepthSurfacesPicture) {
    StageRig rig;
    LoadRows(rig.surfaces.picOriginal, {{RGB(30, 60, 90), RGB(3, 0, 0), RGB(9, 9, 9)}});
    RunCue(rig, 3);
    ASSERT_TRUE(rig.surfaces.picDepth.HasPicture());
    EXPECT_TRUE(
        rig.surfaces.picDepth.GetPicture()->bitmap.SharesBitsWith(rig.surfaces.picDepth.Image()));
    EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), (std::vector{Grey(60), Grey(2), Grey(9)}));
}

TEST(PointCueFrameTest, ColourCueYieldsOnceOnEntryAndOncePerRow) {
    StageRig rig;
    LoadRows(rig.surfaces.picOriginal, {{Grey(1)}, {Grey(2)}, {Grey(3)}});
    RunCue(rig, 2, 1);
    EXPECT_EQ(rig.host.yields, 4);
    EXPECT_EQ(rig.host.band_widths, (std::vector<float>{1.0f, 2.0f, 3.0f}));
    StageRig plain;
    LoadRows(plain.surfaces.picOriginal, {{Grey(1)}, {Grey(2)}, {Grey(3)}});
    RunCue(plain, 0);
    EXPECT_EQ(plain.host.yields, 3);
}

// Every channel sum from 0 to 765, each made up in several ways, through the mean cue's
// vector loop and its tail.
TEST(PointCueFrameTest, MeanOfEverySum) {
    constexpr int kWidth = 3 * 766 + 5;
    StageRig rig;
    const auto color = [](int x, int) {
        const int sum = x % 766;
        const int r = std::min(255, sum);
        const int g = std::min(255, sum - r);
        const int b = sum - r - g;
        // Rotate which channel carries most of the sum, row position by row position.
        switch (x / 766) {
            case 0:
                return RGB(r, g, b);
            case 1:
                return RGB(b, r, g);
            default:
                return RGB(g, b, r);
        }
    };
    testing_support::LoadSurface(rig.surfaces.picOriginal, kWidth, 1, color);
    RunCue(rig, 0);
    const core::PixelGrid grey = ReadGrid(rig.surfaces.picDepth);
    for (int x = 0; x < kWidth; ++x) {
        const auto g = static_cast<std::uint8_t>(std::nearbyint((x % 766) / 3.0));
        ASSERT_EQ(grey(x, 0), (core::PixelTriple{g, g, g})) << "cell " << x;
    }
}

// Each cue's row loop runs in whole vectors with a tail: rows of every odd width against
// the cue's rule, stated with floating-point rounding.
TEST(PointCueFrameTest, OddWidthsMatchTheRuleInEveryCell) {
    const auto half = [](int s) { return static_cast<int>(std::nearbyint(s / 2.0)); };
    const auto third = [](int s) { return static_cast<int>(std::nearbyint(s / 3.0)); };
    const auto weighted = [](int r, int g, int b) {
        const double sum =
            static_cast<double>(static_cast<float>(222 / 1000.0) * static_cast<float>(r)) +
            static_cast<double>(static_cast<float>(707 / 1000.0) * static_cast<float>(g)) +
            static_cast<double>(static_cast<float>(71 / 1000.0) * static_cast<float>(b));
        return static_cast<int>(std::nearbyint(sum));
    };
    struct Rule {
        int cue;
        std::int16_t cue_color;
        std::function<int(int r, int g, int b)> grey;
    };
    const std::vector<Rule> rules = {
        {0, 0, [&](int r, int g, int b) { return third(r + g + b); }},
        {1, 0, weighted},
        {2, 0, [](int r, int, int) { return r; }},
        {2, 1, [](int, int g, int) { return g; }},
        {2, 2, [](int, int, int b) { return b; }},
        {2, 3, [&](int r, int, int b) { return half(r + b); }},
        {2, 4, [&](int r, int g, int) { return half(r + g); }},
        {2, 5, [&](int, int g, int b) { return half(g + b); }},
        {2, 7, [&](int r, int g, int b) { return third(r + g + b); }},
        {3, 0,
         [&](int r, int g, int b) {
             return half(std::min({r, g, b}) + std::max({r, g, b}));
         }},
        {4, 0,
         [](int r, int g, int b) {
             return std::max({r, g, b});
         }},
    };
    std::mt19937 random(19);
    for (const Rule& rule : rules) {
        for (const int width : {1, 2, 3, 5, 16, 17, 33, 163}) {
            StageRig rig;
            testing_support::LoadSurface(rig.surfaces.picOriginal, width, 2, [&random](int, int) {
                return static_cast<platform::Rgb>(random() & 0xFFFFFF);
            });
            const core::PixelGrid picture = ReadGrid(rig.surfaces.picOriginal);
            RunCue(rig, rule.cue, rule.cue_color);
            const core::PixelGrid grey = ReadGrid(rig.surfaces.picDepth);
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < width; ++x) {
                    const core::PixelTriple p = picture(x, y);
                    const auto g = static_cast<std::uint8_t>(rule.grey(p.Red, p.Green, p.Blue));
                    ASSERT_EQ(grey(x, y), (core::PixelTriple{g, g, g}))
                        << "cue " << rule.cue << " colour " << rule.cue_color << ", width " << width
                        << ", cell (" << x << ", " << y << ")";
                }
        }
    }
}

}  // namespace
}  // namespace depth_tests
