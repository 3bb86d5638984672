// The layouts against the views: the whole-view layouts copy them exactly; the half
// layouts squeeze each view by area, checked against a mean of covered areas worked
// out in floating point, on even and odd sides.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "stereo/area_squeeze.h"
#include "stereo/stereo_layouts.h"

namespace {

using core::PixelGrid;
using core::PixelTriple;
using core::StereoChoices;
using core::StereoLayout;

PixelGrid View(int width, int height, int seed) {
    PixelGrid grid(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            grid(x, y) = {static_cast<std::uint8_t>((x * 37 + y * 11 + seed) & 255),
                          static_cast<std::uint8_t>((x * 5 + y * 71 + 3 * seed) & 255),
                          static_cast<std::uint8_t>(((x ^ y) * 29 + seed) & 255)};
    return grid;
}

StereoChoices LayoutChoice(StereoLayout layout) {
    StereoChoices choices;
    choices.layout = static_cast<std::int16_t>(layout);
    return choices;
}

// The part of `grid` at (left, top), width x height.
PixelGrid Part(const PixelGrid& grid, int left, int top, int width, int height) {
    PixelGrid part(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) part(x, y) = grid(left + x, top + y);
    return part;
}

// The area mean of `view` squeezed to width x height, in doubles: new pixel (i, j)
// covers old columns [i W / w, (i + 1) W / w) and rows likewise.
double Covered(int i, int from, int to, int k) {
    const double start = static_cast<double>(i) * from / to;
    const double end = static_cast<double>(i + 1) * from / to;
    return std::max(0.0, std::min(end, k + 1.0) - std::max(start, static_cast<double>(k)));
}

PixelGrid ReferenceSqueeze(const PixelGrid& view, int width, int height) {
    PixelGrid out(width, height);
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) {
            double b = 0, g = 0, r = 0, area = 0;
            for (int y = 0; y < view.Height(); ++y)
                for (int x = 0; x < view.Width(); ++x) {
                    const double a =
                        Covered(i, view.Width(), width, x) * Covered(j, view.Height(), height, y);
                    b += a * view(x, y).Blue;
                    g += a * view(x, y).Green;
                    r += a * view(x, y).Red;
                    area += a;
                }
            out(i, j) = {static_cast<std::uint8_t>(std::lround(b / area)),
                         static_cast<std::uint8_t>(std::lround(g / area)),
                         static_cast<std::uint8_t>(std::lround(r / area))};
        }
    return out;
}

// Within one step of the reference: the area mean rounds once, the reference too,
// and they may round a sum lying near a half apart.
void ExpectWithinOne(const PixelGrid& got, const PixelGrid& want, const std::string& what) {
    ASSERT_EQ(got.Width(), want.Width()) << what;
    ASSERT_EQ(got.Height(), want.Height()) << what;
    int worst = 0;
    for (std::size_t n = 0; n < got.Pixels().size(); ++n) {
        const PixelTriple a = got.Pixels()[n], b = want.Pixels()[n];
        worst = std::max({worst, std::abs(a.Blue - b.Blue), std::abs(a.Green - b.Green),
                          std::abs(a.Red - b.Red)});
    }
    EXPECT_LE(worst, 1) << what;
}

// Where each view goes: across or down, whole or squeezed by area to half the side
// (an odd side gives the first view the extra pixel, and the whole keeps the size).
struct LayoutCase {
    const char* name;
    StereoLayout layout;
    bool across, halves, right_first;
};

class LayoutTable : public testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTable, PlacesEachViewOnEvenAndOddSides) {
    const LayoutCase& c = GetParam();
    for (const auto& [w, h] : {std::pair{1, 1}, {2, 2}, {3, 5}, {7, 4}, {8, 9}, {13, 11}}) {
        const std::string sides = std::to_string(w) + "x" + std::to_string(h);
        const PixelGrid left = View(w, h, 1), right = View(w, h, 90);
        const PixelGrid composed = stereo::Compose(left, right, LayoutChoice(c.layout));
        const int first_w = c.across && c.halves ? (w + 1) / 2 : w;
        const int first_h = !c.across && c.halves ? (h + 1) / 2 : h;
        const int second_w = c.across && c.halves ? w / 2 : w;
        const int second_h = !c.across && c.halves ? h / 2 : h;
        ASSERT_EQ(composed.Width(), c.across ? first_w + second_w : w) << sides;
        ASSERT_EQ(composed.Height(), c.across ? h : first_h + second_h) << sides;
        const PixelGrid first = Part(composed, 0, 0, first_w, first_h);
        const PixelGrid second =
            Part(composed, c.across ? first_w : 0, c.across ? 0 : first_h, second_w, second_h);
        const PixelGrid& first_view = c.right_first ? right : left;
        const PixelGrid& second_view = c.right_first ? left : right;
        if (c.halves) {
            ExpectWithinOne(first, ReferenceSqueeze(first_view, first_w, first_h), "1st " + sides);
            ExpectWithinOne(second, ReferenceSqueeze(second_view, second_w, second_h),
                            "2nd " + sides);
        } else {
            EXPECT_EQ(first, first_view) << sides;
            EXPECT_EQ(second, second_view) << sides;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, LayoutTable,
    testing::Values(LayoutCase{"SideBySide", StereoLayout::kSideBySide, true, false, false},
                    LayoutCase{"CrossEye", StereoLayout::kCrossEye, true, false, true},
                    LayoutCase{"TopBottom", StereoLayout::kTopBottom, false, false, false},
                    LayoutCase{"HalfSideBySide", StereoLayout::kHalfSideBySide, true, true, false},
                    LayoutCase{"HalfTopBottom", StereoLayout::kHalfTopBottom, false, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

// An even squeeze is the rounded mean of each pair, exactly.
TEST(AreaSqueeze, EvenSqueezeIsThePairMean) {
    const stereo::AreaSqueeze squeeze(4, 2);
    const PixelTriple in[] = {{0, 10, 255}, {1, 11, 254}, {100, 0, 7}, {200, 255, 8}};
    PixelTriple out[2];
    squeeze.Row(in, out);
    EXPECT_EQ(out[0], (PixelTriple{1, 11, 255}));   // 0.5 -> 1, 10.5 -> 11, 254.5 -> 255
    EXPECT_EQ(out[1], (PixelTriple{150, 128, 8}));  // 127.5 -> 128, 7.5 -> 8
}

// The anaglyph layout is the join; views of two sizes are cut to the smaller.
TEST(StereoLayouts, AnaglyphLayoutJoinsAndCutsToTheSmallerView) {
    const PixelGrid left = View(5, 4, 1), right = View(3, 6, 90);
    StereoChoices choices;
    choices.method = static_cast<std::int16_t>(core::JoinMethod::kHalfColour);
    const PixelGrid joined = stereo::Compose(left, right, choices);
    ASSERT_EQ(joined.Width(), 3);
    ASSERT_EQ(joined.Height(), 4);
    EXPECT_EQ(joined(2, 3).Green, right(2, 3).Green);
    EXPECT_EQ(joined(2, 3).Blue, right(2, 3).Blue);
}

}  // namespace
