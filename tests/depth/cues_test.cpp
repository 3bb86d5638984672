// The depth cues: exact greys, every colour and sum against the rules, odd widths,
// every display format, cancel at every yield, the Cues menu and the banded cue.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "core/ddb_helper.h"
#include "depth/cue_greys.h"
#include "depth/gray_scale.h"
#include "platform/color.h"
#include "tests/support/stage_rig.h"

namespace depth_tests {
namespace {

using core::PixelTriple;
using platform::RGB;
using testing_support::Grey;
using testing_support::ReadGrid;
using testing_support::SurfaceColors;

// One row of pixels through each cue, each pixel followed by its expected result: the
// grey map stays as the depth surface's picture and the original is untouched.
TEST(CueTest, ExactGreysOfSinglePixels) {
    const struct {
        int cue;
        std::int16_t cue_color;
        Rows pairs;
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
        {2, 4, {{RGB(255, 0, 255), Grey(128)}, {RGB(0, 200, 0), Grey(100)}}},
        {2, 5, {{RGB(0, 1, 0), Grey(0)}, {RGB(0, 3, 0), Grey(2)}, {RGB(200, 0, 100), Grey(50)}}},
        {2, 6, {{RGB(2, 0, 0), Grey(1)}}},
        {2, -1, {{RGB(1, 0, 0), Grey(0)}}},
        {2, 100, {{RGB(100, 150, 200), Grey(150)}}},
        // lightness: middle of the largest and the smallest
        {3,
         0,
         {{RGB(255, 0, 0), Grey(128)}, {RGB(3, 0, 0), Grey(2)}, {RGB(10, 200, 30), Grey(105)}}},
        // maximum
        {4, 0, {{RGB(10, 200, 30), Grey(200)}, {RGB(7, 3, 9), Grey(9)}}},
        // bands: the mean down to 0, 25, ..., 250; a mean of 255 matches no band and the
        // pixel keeps its colour, grey or not
        {5, 0, {{Grey(24), Grey(0)}, {RGB(25, 24, 26), Grey(25)}, {Grey(49), Grey(25)}}},
        {5, 0, {{Grey(249), Grey(225)}, {Grey(250), Grey(250)}, {Grey(254), Grey(250)}}},
        {5, 0, {{RGB(255, 255, 253), Grey(250)}, {RGB(255, 255, 254), RGB(255, 255, 254)}}},
        {5, 0, {{Grey(255), Grey(255)}}},
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

// Every channel sum from 0 to 765, each made up in three ways (the channel carrying
// most of it rotates), through the mean cue's vector loop and its tail.
TEST(CueTest, MeanOfEverySum) {
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
// the cue's rule, in every display format. The cue computes on the channel values the
// grid holds (raw fields at 15 and 16 bits) and writes at the depth read, as the bridge
// writes the rule's greys. Each row starts with white, then black, which every cue
// keeps (at 24 and 32 bits, where white is 255 in every channel).
TEST(CueTest, OddWidthsMatchTheRuleOnEveryDisplay) {
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
    for (const int bits : kDisplayDepths)
        for (const auto& rule : rules)
            for (const int width : {1, 2, 3, 5, 16, 17, 33, 163}) {
                SCOPED_TRACE(testing::Message() << bits << " bits, cue " << rule.cue << " colour "
                                                << rule.cue_color << " width " << width);
                StageRig rig(bits);
                testing_support::LoadSurface(
                    rig.surfaces.picOriginal, width, 2, [&random](int x, int) {
                        if (x < 2) return x == 0 ? Grey(255) : Grey(0);
                        return static_cast<platform::Rgb>(random() & 0xFFFFFF);
                    });
                core::PixelGrid expected = ReadGrid(rig.surfaces.picOriginal);
                for (PixelTriple& p : expected.Pixels()) {
                    const auto g = static_cast<std::uint8_t>(rule.grey(p.Red, p.Green, p.Blue));
                    p = {g, g, g};
                }
                platform::PictureSurface written(rig.display);
                written.SetPicture(rig.surfaces.picOriginal.ImageAsPicture());
                DDBHelper::SetBitmapPixels(written, static_cast<std::int16_t>(bits), expected);
                RunCue(rig, rule.cue, rule.cue_color);
                const auto greys = SurfaceColors(rig.surfaces.picDepth);
                ASSERT_EQ(greys, SurfaceColors(written));
                ASSERT_TRUE(bits < 24 || greys[0] == Grey(255));
            }
}

// A cue polls after every row, the colour cue also yields once on entry. Cancelled in
// any yield but the last, a cue writes nothing: the depth surface keeps the colour
// copy of the original, at the original's size (the row after the cancel is still
// finished and counted). A cancel in the yield after the last row comes too late.
TEST(CueCancelTest, EveryYieldOfEveryPointCue) {
    const int width = 5;
    const int height = 4;
    const struct {
        int cue;
        std::int16_t cue_color;
    } cues[] = {{0, 0}, {1, 0}, {2, 0}, {2, 4}, {2, 8}, {3, 0}, {4, 0}};
    for (const auto& c : cues) {
        const int entry_yields = c.cue == 2 ? 1 : 0;
        for (int cancel_at = 1; cancel_at <= height + entry_yields; ++cancel_at) {
            SCOPED_TRACE(testing::Message() << "cue " << c.cue << " colour " << c.cue_color
                                            << ", cancel at " << cancel_at);
            StageRig rig;
            rig.surfaces.picDepth.SetPicture(testing_support::MakePicture(
                rig.display, 2, 2, [](int, int) { return testing_support::Grey(77); }));
            std::mt19937 random(static_cast<unsigned>(cancel_at));
            testing_support::LoadSurface(
                rig.surfaces.picOriginal, width, height,
                [&random](int, int) { return static_cast<platform::Rgb>(random() & 0xFFFFFF); });
            const auto original = SurfaceColors(rig.surfaces.picOriginal);
            rig.CancelAtYield(cancel_at);
            RunCue(rig, c.cue, c.cue_color);
            EXPECT_EQ(SurfaceColors(rig.surfaces.picOriginal), original);
            EXPECT_EQ(rig.surfaces.picDepth.ScaleWidth(), width);
            if (cancel_at < height + entry_yields) {
                EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), original);
                EXPECT_EQ(rig.host.band_widths.size(),
                          static_cast<std::size_t>(cancel_at - entry_yields + 1));
            } else {
                EXPECT_NE(SurfaceColors(rig.surfaces.picDepth), original);
                EXPECT_EQ(rig.host.yields, height + entry_yields);
                EXPECT_EQ(rig.host.band_widths, (std::vector<float>{1.0f, 2.0f, 3.0f, 4.0f}));
            }
        }
    }
}

// Entry by entry: its caption, the DepthCue it chooses and the CueColor it sets (the
// colour entries only; -7 stands for "left as it was").
TEST(SelectCueTest, SetsTheCueOfTheEntry) {
    const std::string_view captions[] = {"RGB",    "UTI",     "Red",  "Green",     "Blue",
                                         "Yellow", "Magenta", "Cyan", "Luminance", "Saturation"};
    const std::int16_t depth_cues[] = {0, 2, 2, 2, 2, 2, 2, 2, 3, 4};
    const std::int16_t cue_colors[] = {-7, 1, 0, 1, 2, 3, 4, 5, -7, -7};
    for (std::size_t index = 0; index < 10; ++index) {
        core::ConversionSettings settings;
        settings.DepthCue = 1;
        settings.CueColor = -7;
        settings.Cue = 42;
        GrayScale::SelectCue(settings, static_cast<std::int16_t>(index));
        EXPECT_EQ(GrayScale::kCueCaptions[index], captions[index]);
        EXPECT_EQ(settings.DepthCue, depth_cues[index]) << index;
        EXPECT_EQ(settings.CueColor, cue_colors[index]) << index;
        EXPECT_EQ(settings.Cue, static_cast<std::int16_t>(index));
    }
}

TEST(SelectCueTest, EntryOutsideTheMenuChangesNothing) {
    for (const std::int16_t index :
         {std::int16_t{-1}, std::int16_t{10}, std::int16_t{32767}, std::int16_t{-32768}}) {
        core::ConversionSettings settings;
        settings.DepthCue = 5;
        settings.CueColor = 3;
        settings.Cue = 12;
        const core::ConversionSettings before = settings;
        GrayScale::SelectCue(settings, index);
        EXPECT_EQ(settings, before) << index;
    }
}

constexpr int kBandsCue = 5;

// Polls once per band, not per row: eleven times.
TEST(GrayFromBandsTest, EveryMeanLandsOnItsBandsLowerLevel) {
    StageRig rig;
    testing_support::LoadSurface(rig.surfaces.picOriginal, 16, 16,
                                 [](int x, int y) { return Grey(16 * y + x); });
    RunCue(rig, kBandsCue);
    const auto colors = SurfaceColors(rig.surfaces.picDepth);
    for (int mean = 0; mean < 255; ++mean) {
        const int level = mean < 250 ? mean / 25 * 25 : 250;
        EXPECT_EQ(colors[static_cast<std::size_t>(mean)], Grey(level)) << "mean " << mean;
    }
    EXPECT_EQ(rig.host.yields, 11);
    EXPECT_EQ(rig.host.band_widths.size(), 11u);
}

TEST(GrayFromBandsTest, CancelAfterAnyBandLeavesTheColourCopy) {
    const std::vector<platform::Rgb> row = {RGB(200, 10, 10), RGB(30, 40, 50), Grey(255)};
    for (int cancel_at = 1; cancel_at <= 10; ++cancel_at) {
        StageRig rig;
        LoadRows(rig.surfaces.picOriginal, {row});
        rig.CancelAtYield(cancel_at);
        RunCue(rig, kBandsCue);
        EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), row) << "cancelled at band " << cancel_at;
        EXPECT_EQ(rig.host.yields, cancel_at);
    }
}

}  // namespace
}  // namespace depth_tests
