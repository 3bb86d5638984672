// The stages that map each pixel of the depth map on its own: the cues (picOriginal to
// picDepth), the inversion and the centring (picDepth in place, the centring after a
// scan for the range). Exact greys on tiny rows, the rules on odd widths in every
// display format, every colour and sum where a row loop computes in fixed point, the
// banded cue's polls per band and entries outside the Cues menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <span>

#include "core/ddb_helper.h"
#include "depth/cue_greys.h"
#include "depth/gray_scale.h"
#include "platform/color.h"
#include "tests/support/stage_rig.h"

namespace depth_tests {
namespace {

using core::PixelGrid;
using core::PixelTriple;
using platform::RGB;
using testing_support::Grey;
using testing_support::ReadGrid;
using testing_support::SurfaceColors;

// One row through a stage, each pixel followed by its result; the row is in both
// picOriginal and picDepth, as a reload leaves them, and picOriginal stays as it was.
TEST(PointStageTest, ExactGreysOfTinyRows) {
    const conversion::StageTable s = DepthStages();
    const struct {
        conversion::Stage stage;
        std::int16_t cue_color;
        Rows pairs;
    } cases[] = {
        {s.cues[0], 0, {{RGB(1, 0, 0), Grey(0)}, {RGB(2, 0, 0), Grey(1)}}},  // thirds never tie
        {s.cues[1], 0, {{RGB(255, 0, 0), Grey(57)}, {RGB(0, 0, 255), Grey(18)}}},  // weights
        // yellow is red with blue, halves to even
        {s.cues[2], 3, {{RGB(3, 0, 0), Grey(2)}, {RGB(0, 200, 5), Grey(2)}}},
        // lightness: middle of the largest and the smallest
        {s.cues[3], 0, {{RGB(255, 0, 0), Grey(128)}, {RGB(10, 200, 30), Grey(105)}}},
        {s.cues[4], 0, {{RGB(10, 200, 30), Grey(200)}, {RGB(7, 3, 9), Grey(9)}}},
        // bands: the mean down to 0, 25, ..., 250; a mean of 255 matches no band and the
        // pixel keeps its colour, grey or not
        {s.cues[5], 0, {{RGB(25, 24, 26), Grey(25)}, {RGB(255, 255, 253), Grey(250)}}},
        {s.cues[5], 0, {{RGB(255, 255, 254), RGB(255, 255, 254)}, {Grey(255), Grey(255)}}},
        {s.invert, 0, {{RGB(10, 20, 30), RGB(245, 235, 225)}, {RGB(255, 0, 1), RGB(0, 255, 254)}}},
        // centring on 127: the middle of the range rounds half to even (0.5 -> 0, 1.5 -> 2)
        {s.centre, 0, {{Grey(0), Grey(127)}, {Grey(1), Grey(128)}, {Grey(0), Grey(127)}}},
        {s.centre, 0, {{Grey(2), Grey(127)}, {Grey(1), Grey(126)}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        Rows row(1);
        std::vector<platform::Rgb> expected;
        for (const auto& pair : c.pairs) {
            row[0].push_back(pair[0]);
            expected.push_back(pair[1]);
        }
        StageRig rig;
        LoadRows(rig.surfaces.picOriginal, row);
        LoadRows(rig.surfaces.picDepth, row);
        rig.settings.CueColor = c.cue_color;
        c.stage(rig.context);
        EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), expected);
        EXPECT_EQ(SurfaceColors(rig.surfaces.picOriginal), row[0]);
        EXPECT_TRUE(rig.surfaces.picDepth.GetPicture()->bitmap.SharesBitsWith(
            rig.surfaces.picDepth.Image()));
    }
}

int Half(int s) {
    return static_cast<int>(std::nearbyint(s / 2.0));
}
int Mean(int r, int g, int b) {
    return static_cast<int>(std::nearbyint((r + g + b) / 3.0));
}
int Weighted(int r, int g, int b) {
    const auto product = [](double weight, int channel) {
        return static_cast<double>(static_cast<float>(weight) * static_cast<float>(channel));
    };
    return static_cast<int>(
        std::nearbyint(product(0.222, r) + product(0.707, g) + product(0.071, b)));
}

using GridRule = std::function<void(PixelGrid&)>;

GridRule Greys(int (*grey)(int r, int g, int b)) {
    return [grey](PixelGrid& grid) {
        for (PixelTriple& p : grid.Pixels()) {
            const auto v = static_cast<std::uint8_t>(grey(p.Red, p.Green, p.Blue));
            p = {v, v, v};
        }
    };
}

// The middle of the lowest and the highest channel value anywhere, then every pixel
// round((red - middle) x gain) + 127 with the product in single precision, clamped.
GridRule Centred(std::int16_t gain) {
    return [gain](PixelGrid& grid) {
        int lo = 255;
        int hi = 0;
        for (const PixelTriple& p : grid.Pixels()) {
            lo = std::min({lo, int{p.Blue}, int{p.Green}, int{p.Red}});
            hi = std::max({hi, int{p.Blue}, int{p.Green}, int{p.Red}});
        }
        const double mid = std::nearbyint((lo + hi) / 2.0);
        for (PixelTriple& p : grid.Pixels()) {
            const float product = static_cast<float>(p.Red - mid) * static_cast<float>(gain);
            const auto v = static_cast<std::uint8_t>(
                std::clamp(std::nearbyint(static_cast<double>(product)) + 127.0, 0.0, 255.0));
            p = {v, v, v};
        }
    };
}

// Every channel sum 0..765 as x runs, made up in three ways: the channel carrying most
// of it rotates every 766 cells.
platform::Rgb EverySum(int x) {
    const int sum = x % 766;
    const int r = std::min(255, sum);
    const int g = std::min(255, sum - r);
    const int b = sum - r - g;
    const int turn = x / 766 % 3;
    return turn == 0 ? RGB(r, g, b) : turn == 1 ? RGB(b, r, g) : RGB(g, b, r);
}

// The row loops run in whole vectors with a tail: odd widths against each rule in
// every display format, for the centring under gains up to the 16-bit extremes. A
// stage computes on the values the grid holds (raw fields at 15 and 16 bits, whose
// inverted or centred values lie above the fields and are clamped) and writes as the
// bridge writes the rule's result. The rows: greys (the centring's grey-row path),
// random colours, greys with one colour cell last, in the vector tail, which the
// centring must map from its Red alone, and every channel sum in the widest picture
// (the mean's fixed point in vectors).
TEST(PointStageTest, OddWidthsMatchTheRulesOnEveryDisplay) {
    const conversion::StageTable s = DepthStages();
    struct Case {
        conversion::Stage stage;
        std::int16_t cue_color, gain;
        GridRule rule;
    };
    std::vector<Case> cases = {
        {s.cues[0], 0, 1, Greys(Mean)},
        {s.cues[1], 0, 1, Greys(Weighted)},
        {s.cues[2], 0, 1, Greys([](int r, int, int) { return r; })},
        {s.cues[2], 1, 1, Greys([](int, int g, int) { return g; })},
        {s.cues[2], 2, 1, Greys([](int, int, int b) { return b; })},
        {s.cues[2], 3, 1, Greys([](int r, int, int b) { return Half(r + b); })},
        {s.cues[2], 4, 1, Greys([](int r, int g, int) { return Half(r + g); })},
        {s.cues[2], 5, 1, Greys([](int, int g, int b) { return Half(g + b); })},
        {s.cues[2], 6, 1, Greys(Mean)},  // any other colour: the mean
        {s.cues[3], 0, 1, Greys([](int r, int g, int b) {
             return Half(std::min({r, g, b}) + std::max({r, g, b}));
         })},
        {s.cues[4], 0, 1, Greys([](int r, int g, int b) {
             return std::max({r, g, b});
         })},
        // bands: a mean of 255 matches no band and keeps its colour
        {s.cues[5], 0, 1,
         [](PixelGrid& grid) {
             for (PixelTriple& p : grid.Pixels()) {
                 const int mean = Mean(p.Red, p.Green, p.Blue);
                 const auto v = static_cast<std::uint8_t>(std::min(mean / 25 * 25, 250));
                 if (mean < 255) p = {v, v, v};
             }
         }},
        {s.invert, 0, 1,
         [](PixelGrid& grid) {
             for (std::byte& b : std::as_writable_bytes(grid.Pixels())) b = ~b;  // 255 - b
         }},
    };
    for (const std::int16_t gain : {-32768, -300, -129, -128, -2, -1, 0, 1, 2, 3, 128, 129, 32767})
        cases.push_back({s.centre, 0, gain, Centred(gain)});
    std::mt19937 random(19);
    for (const int bits : kDisplayDepths)
        for (const Case& c : cases)
            for (const int width : {1, 3, 17, 33, 163, 3 * 766 + 5}) {
                SCOPED_TRACE(testing::Message() << bits << " bits, case " << &c - cases.data()
                                                << ", gain " << c.gain << ", width " << width);
                StageRig rig(bits);
                rig.settings.CueColor = c.cue_color;
                rig.globals.glbFactors[0] = c.gain;
                const platform::Picture picture =
                    testing_support::MakePicture(rig.display, width, 4, [&](int x, int y) {
                        if (y == 1 || (y == 2 && x == width - 1))
                            return static_cast<platform::Rgb>(random() & 0xFFFFFF);
                        return y == 3 ? EverySum(x) : Grey((x * 97 + 13) % 256);
                    });
                rig.surfaces.picOriginal.SetPicture(picture);
                rig.surfaces.picDepth.SetPicture(picture);
                PixelGrid expected = ReadGrid(rig.surfaces.picOriginal);
                c.rule(expected);
                platform::PictureSurface written(rig.display);
                written.SetPicture(picture);
                DDBHelper::SetBitmapPixels(written, static_cast<std::int16_t>(bits), expected);
                c.stage(rig.context);
                ASSERT_EQ(ImageBytes(rig.surfaces.picDepth), ImageBytes(written));
            }
}

// The weighted grey works in fixed point; it must agree with the single-precision
// products summed in double and rounded half to even, for every colour.
TEST(WeightedGreyTest, MatchesFloatProductsForEveryColour) {
    const GrayScale::detail::WeightedGrey weighted;
    for (int c = 0; c < (1 << 24); ++c) {
        const PixelTriple p{static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                            static_cast<std::uint8_t>(c >> 16)};
        ASSERT_EQ(weighted(p), Weighted(p.Red, p.Green, p.Blue)) << "colour " << c;
    }
}

// The banded cue polls once per band, eleven times, not once per row. Cancelled in
// any band but the last it writes nothing: picDepth keeps the colour copy of the
// original.
TEST(GrayFromBandsTest, PollsOncePerBand) {
    for (int cancel_at = 0; cancel_at <= 10; ++cancel_at) {
        StageRig rig;
        testing_support::LoadSurface(rig.surfaces.picOriginal, 5, 16,
                                     [](int x, int y) { return RGB(16 * y + x, 7, 9); });
        if (cancel_at > 0) rig.CancelAtYield(cancel_at);
        RunCue(rig, 5);
        EXPECT_EQ(rig.progress.yields, cancel_at > 0 ? cancel_at : 11);
        const auto original = SurfaceColors(rig.surfaces.picOriginal);
        EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth) == original, cancel_at > 0) << cancel_at;
    }
}

// The menu's own entries are checked through the window; an entry read from a
// settings file may lie anywhere and must change nothing rather than index past the
// table.
TEST(SelectCueTest, EntryOutsideTheMenuChangesNothing) {
    for (const std::int16_t index : {-32768, -1, 10, 32767}) {
        core::ConversionSettings settings;
        settings.Cue = 3;
        const core::ConversionSettings before = settings;
        GrayScale::SelectCue(settings, index);
        EXPECT_EQ(settings, before) << index;
    }
}

}  // namespace
}  // namespace depth_tests
