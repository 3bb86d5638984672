#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "core/ddb_helper.h"
#include "depth/cue_greys.h"
#include "platform/color.h"
#include "tests/depth/stage_rig.h"

namespace depth_tests {
namespace {

using core::PixelTriple;
using platform::RGB;
using testing_support::Grey;
using testing_support::ReadGrid;
using testing_support::SurfaceColors;

// One row of pixels through each cue: the grey map stays as the depth surface's
// picture and the original is untouched.
TEST(PointCueTest, GreysOfSinglePixels) {
    const struct {
        int cue;
        std::int16_t cue_color;
        Rows pairs;  // pixel, then its grey
    } cases[] = {
        // mean: thirds never tie
        {0, 0, {{RGB(1, 0, 0), Grey(0)}, {RGB(2, 0, 0), Grey(1)}, {RGB(100, 150, 200), Grey(150)}}},
        // weights in single precision
        {1,
         0,
         {{RGB(255, 0, 0), Grey(57)}, {RGB(0, 255, 0), Grey(180)}, {RGB(0, 0, 255), Grey(18)}}},
        {1, 0, {{RGB(100, 150, 200), Grey(142)}, {Grey(128), Grey(128)}}},
        // colour variants: red, green, blue, yellow = red with blue, magenta = red with
        // green, cyan = green with blue, any other the mean of three; halves to even
        {2, 0, {{RGB(10, 20, 30), Grey(10)}}},
        {2, 1, {{RGB(10, 20, 30), Grey(20)}}},
        {2, 2, {{RGB(10, 20, 30), Grey(30)}}},
        {2, 3, {{RGB(1, 0, 0), Grey(0)}, {RGB(3, 0, 0), Grey(2)}, {RGB(255, 255, 0), Grey(128)}}},
        {2, 3, {{RGB(0, 200, 0), Grey(0)}, {RGB(0, 0, 200), Grey(100)}}},
        {2,
         4,
         {{RGB(255, 0, 255), Grey(128)}, {RGB(0, 200, 0), Grey(100)}, {RGB(0, 0, 200), Grey(0)}}},
        {2, 5, {{RGB(0, 1, 0), Grey(0)}, {RGB(0, 3, 0), Grey(2)}, {RGB(200, 0, 100), Grey(50)}}},
        {2, 6, {{RGB(2, 0, 0), Grey(1)}}},
        {2, -1, {{RGB(1, 0, 0), Grey(0)}}},
        {2, 100, {{RGB(100, 150, 200), Grey(150)}}},
        // lightness: middle of the largest and the smallest
        {3, 0, {{RGB(255, 0, 0), Grey(128)}, {RGB(1, 0, 0), Grey(0)}, {RGB(3, 0, 0), Grey(2)}}},
        {3, 0, {{RGB(10, 200, 30), Grey(105)}}},
        // maximum
        {4, 0, {{RGB(10, 200, 30), Grey(200)}, {RGB(7, 3, 9), Grey(9)}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "cue " << c.cue << " colour " << c.cue_color);
        Rows row(1);
        std::vector<platform::Rgb> expected;
        for (const auto& pair : c.pairs) {
            row[0].push_back(pair[0]);
            expected.push_back(pair[1]);
        }
        StageRig rig;
        LoadRows(rig.surfaces.picOriginal, row);
        RunCue(rig, c.cue, c.cue_color);
        EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), expected);
        EXPECT_EQ(SurfaceColors(rig.surfaces.picOriginal), row[0]);
        ASSERT_TRUE(rig.surfaces.picDepth.HasPicture());
        EXPECT_TRUE(rig.surfaces.picDepth.GetPicture()->bitmap.SharesBitsWith(
            rig.surfaces.picDepth.Image()));
    }
}

int Half(int s) {
    return static_cast<int>(std::nearbyint(s / 2.0));
}
int Third(int s) {
    return static_cast<int>(std::nearbyint(s / 3.0));
}
int Weighted(int r, int g, int b) {
    const auto product = [](double weight, int channel) {
        return static_cast<double>(static_cast<float>(weight) * static_cast<float>(channel));
    };
    return static_cast<int>(
        std::nearbyint(product(0.222, r) + product(0.707, g) + product(0.071, b)));
}

// The weighted grey works in fixed point; it must agree with the single-precision
// products summed in double and rounded half to even, for every colour.
TEST(WeightedGreyTest, MatchesFloatProductsForEveryColour) {
    const GrayScale::detail::WeightedGrey weighted;
    int mismatches = 0;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b) {
                const PixelTriple p{static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g),
                                    static_cast<std::uint8_t>(r)};
                if (weighted(p) != Weighted(r, g, b) && ++mismatches < 5)
                    ADD_FAILURE() << r << "," << g << "," << b << " gives " << int{weighted(p)};
            }
    EXPECT_EQ(mismatches, 0);
}

// Every display format: the cue computes on the channel values the grid holds (raw
// fields at 15 and 16 bits) and writes at the depth read, over an odd-sized picture.
TEST(PointCueTest, WritesTheGreyGridInTheDisplaysFormat) {
    std::mt19937 random(7);
    for (const int bits : kDisplayDepths) {
        StageRig rig(bits);
        testing_support::LoadSurface(rig.surfaces.picOriginal, 7, 5, [&random](int, int) {
            return static_cast<platform::Rgb>(random() & 0xFFFFFF);
        });
        core::PixelGrid expected = ReadGrid(rig.surfaces.picOriginal);
        for (PixelTriple& p : expected.Pixels()) {
            const auto g = static_cast<std::uint8_t>(Third(p.Red + p.Green + p.Blue));
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

// Every channel sum from 0 to 765, each made up in three ways (the channel carrying
// most of it rotates), through the mean cue's vector loop and its tail.
TEST(PointCueTest, MeanOfEverySum) {
    constexpr int kWidth = 3 * 766 + 5;
    StageRig rig;
    testing_support::LoadSurface(rig.surfaces.picOriginal, kWidth, 1, [](int x, int) {
        const int sum = x % 766;
        const int r = std::min(255, sum);
        const int g = std::min(255, sum - r);
        const int b = sum - r - g;
        return x < 766 ? RGB(r, g, b) : x < 2 * 766 ? RGB(b, r, g) : RGB(g, b, r);
    });
    RunCue(rig, 0);
    const auto grey = Channel(ReadGrid(rig.surfaces.picDepth))[0];
    for (int x = 0; x < kWidth; ++x) ASSERT_EQ(grey[x], Third(x % 766)) << "cell " << x;
}

// Each cue's row loop runs in whole vectors with a tail: rows of every odd width against
// the cue's rule. Each row starts with white, then black, which every cue keeps.
TEST(PointCueTest, OddWidthsMatchTheRuleInEveryCell) {
    const struct {
        int cue;
        std::int16_t cue_color;
        int (*grey)(int r, int g, int b);
    } rules[] = {
        {0, 0, [](int r, int g, int b) { return Third(r + g + b); }},
        {1, 0, Weighted},
        {2, 0, [](int r, int, int) { return r; }},
        {2, 1, [](int, int g, int) { return g; }},
        {2, 2, [](int, int, int b) { return b; }},
        {2, 3, [](int r, int, int b) { return Half(r + b); }},
        {2, 4, [](int r, int g, int) { return Half(r + g); }},
        {2, 5, [](int, int g, int b) { return Half(g + b); }},
        {2, 7, [](int r, int g, int b) { return Third(r + g + b); }},
        {3, 0,
         [](int r, int g, int b) {
             return Half(std::min({r, g, b}) + std::max({r, g, b}));
         }},
        {4, 0,
         [](int r, int g, int b) {
             return std::max({r, g, b});
         }},
    };
    std::mt19937 random(19);
    for (const auto& rule : rules) {
        for (const int width : {1, 2, 3, 5, 16, 17, 33, 163}) {
            SCOPED_TRACE(testing::Message() << "cue " << rule.cue << " colour " << rule.cue_color
                                            << " width " << width);
            StageRig rig;
            testing_support::LoadSurface(rig.surfaces.picOriginal, width, 2, [&random](int x, int) {
                if (x < 2) return x == 0 ? Grey(255) : Grey(0);
                return static_cast<platform::Rgb>(random() & 0xFFFFFF);
            });
            const core::PixelGrid picture = ReadGrid(rig.surfaces.picOriginal);
            RunCue(rig, rule.cue, rule.cue_color);
            const core::PixelGrid grey = ReadGrid(rig.surfaces.picDepth);
            ASSERT_EQ(grey(0, 0), (PixelTriple{255, 255, 255}));
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < width; ++x) {
                    const PixelTriple p = picture(x, y);
                    const auto g = static_cast<std::uint8_t>(rule.grey(p.Red, p.Green, p.Blue));
                    ASSERT_EQ(grey(x, y), (PixelTriple{g, g, g})) << "cell " << x << ", " << y;
                }
        }
    }
}

}  // namespace
}  // namespace depth_tests
