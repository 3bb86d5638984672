// The smoothing filters: the rounded quotients and the median they build on against
// their definitions, exact values on tiny pictures, the frame they leave in every
// display format, and results that never feed one another.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

#include "depth/blurs.h"
#include "depth/median_of_nine.h"
#include "depth/rounded_quotients.h"
#include "platform/color.h"
#include "tests/support/stage_rig.h"

namespace depth_tests {
namespace {

using core::PixelTriple;
using platform::RGB;
using testing_support::Grey;
using testing_support::ReadGrid;

// Every sum a stage can form, against the rounding the program has always used.
TEST(RoundedQuotientTest, AgreesWithNearbyintForEverySum) {
    const struct {
        std::uint16_t (*rounded)(std::uint16_t);
        int divisor;
        int largest_sum;
    } quotients[] = {{depth::RoundedHalf, 2, 510},
                     {depth::RoundedThird, 3, 765},
                     {depth::RoundedNinth, 9, 2295},
                     {depth::RoundedSixteenth, 16, 4080}};
    for (const auto& q : quotients)
        for (int s = 0; s <= q.largest_sum; ++s)
            ASSERT_EQ(q.rounded(static_cast<std::uint16_t>(s)),
                      std::nearbyint(static_cast<double>(s) / q.divisor))
                << s << " / " << q.divisor;
}

// The filter's median works from sorted columns with minima and maxima only, so the
// 0-1 principle holds: right on every window of 0s and 1s means right on every window.
TEST(MedianOfNineTest, AgreesWithGetMedianOnEveryWindowOfZerosAndOnes) {
    using Blurs::detail::SortColumn;
    for (int bits = 0; bits < 512; ++bits) {
        std::array<std::uint8_t, 9> c{};
        for (std::size_t k = 0; k < 9; ++k) c[k] = static_cast<std::uint8_t>((bits >> k) & 1);
        const auto median =
            Blurs::detail::MedianOfNine(SortColumn(c[0], c[3], c[6]), SortColumn(c[1], c[4], c[7]),
                                        SortColumn(c[2], c[5], c[8]));
        ASSERT_EQ(median, Blurs::GetMedian(std::vector<std::int16_t>(c.begin(), c.end()))) << bits;
    }
}

// A 3 x 3 picture has one interior pixel, whose window is the whole picture: its grid
// value afterwards. "Smere" weighs the centre 8 / 16 and each neighbour 1 / 16, "Blur"
// takes the nine cells / 9, each channel on its own (on the raw 5- and 6-bit fields
// at 16 bits); "Mean" and "Median" give greys; "Max" copies the brightest cell with
// its colour, the first in raster order on a tie. Halves round to even.
TEST(FiltersTest, CentreOfAThreeByThreePicture) {
    const platform::Rgb g1 = Grey(1), g2 = Grey(2), g4 = Grey(4), g9 = Grey(9), g10 = Grey(10);
    const struct {
        int choice, bits;
        std::vector<platform::Rgb> nine;
        platform::Rgb centre;
    } cases[] = {
        {1, 24, {0, 0, 0, 0, RGB(3, 0, 0), 0, 0, 0, 0}, RGB(2, 0, 0)},  // 1.5
        {1, 24, {0, 0, 0, 0, RGB(5, 0, 0), 0, 0, 0, 0}, RGB(2, 0, 0)},  // 2.5
        {1, 24, {RGB(0, 9, 255), 0, 0, 0, 0, 0, 0, 0, 0}, RGB(0, 1, 16)},
        {2, 24, {0, 0, 0, 0, 0, 0, 0, 0, RGB(0, 255, 0)}, RGB(0, 28, 0)},
        {2, 16, {0, 0, 0, 0, RGB(255, 255, 255), 0, 0, 0, 0}, RGB(3, 7, 3)},  // 31 / 9, 63 / 9
        // cell greys 10, 20, 1, 2, 4, 9, 10, 10, 0 (the first two in colour): 66 / 9
        {3, 24, {RGB(30, 0, 0), RGB(0, 60, 0), g1, g2, g4, g9, g10, g10, 0}, Grey(7)},
        {4, 24, std::vector(9, RGB(255, 0, 0)), Grey(85)},  // the grey of red
        {4, 24, {Grey(8), g1, Grey(5), 0, Grey(7), g2, Grey(6), g9, g4}, Grey(5)},
        {5, 24, {g1, g2, g1, g4, g2, RGB(250, 200, 10), g4, g1, g9}, RGB(250, 200, 10)},
        {5, 24, {g1, g2, Grey(100), g4, g1, g2, g4, RGB(0, 150, 150), g9}, Grey(100)},
        // nine equal greys: the top-left cell, whatever its colour
        {5, 24, {RGB(0, 0, 30), RGB(30, 0, 0), g10, g10, g10, g10, g10, g10, g10}, RGB(0, 0, 30)},
    };
    for (const auto& c : cases) {
        StageRig rig(c.bits);
        testing_support::LoadSurface(rig.surfaces.picDepth, 3, 3, [&c](int x, int y) {
            return c.nine[static_cast<std::size_t>(3 * y + x)];
        });
        RunFilter(rig, c.choice);
        const PixelTriple p = ReadGrid(rig.surfaces.picDepth)(1, 1);
        EXPECT_EQ(RGB(p.Red, p.Green, p.Blue), c.centre) << "case " << &c - cases;
    }
}

// In place, as the conversion runs them; a source without interior is all frame.
TEST(FilterFrameTest, OutermostRowsAndColumnsKeepTheSourceOnEveryDisplay) {
    for (int choice = 1; choice <= 5; ++choice)
        for (const int bits : kDisplayDepths)
            for (const auto& [width, height] : {std::pair{5, 4}, {1, 1}, {2, 5}, {5, 2}}) {
                SCOPED_TRACE(testing::Message() << "filter " << choice << ", " << bits << " bits, "
                                                << width << "x" << height);
                StageRig rig(bits);
                std::mt19937 random(static_cast<unsigned>(bits));
                testing_support::LoadSurface(rig.surfaces.picDepth, width, height, [&](int, int) {
                    return static_cast<platform::Rgb>(random() & 0xFFFFFF);
                });
                const core::PixelGrid before = ReadGrid(rig.surfaces.picDepth);
                RunFilter(rig, choice);
                const core::PixelGrid after = ReadGrid(rig.surfaces.picDepth);
                for (int y = 0; y < height; ++y)
                    for (int x = 0; x < width; ++x) {
                        if (x > 0 && y > 0 && x < width - 1 && y < height - 1) continue;
                        ASSERT_EQ(after(x, y), before(x, y)) << x << "," << y;
                    }
            }
}

// Each result comes from the source alone: a step edge across the rows and one down
// the columns give the same values on both sides, whichever side comes first. Next to
// the edge the dark side sees one bright column in three, the bright side two; Smere
// weighs them 3 / 16 (47.8) and 13 / 16 (207.2).
TEST(FilterFrameTest, NoResultFeedsAnother) {
    const int dark_side[] = {48, 85, 85, 0, 255};
    const int bright_side[] = {207, 170, 170, 255, 255};
    for (int choice = 1; choice <= 5; ++choice) {
        StageRig across;
        testing_support::LoadSurface(across.surfaces.picDepth, 6, 5,
                                     [](int x, int) { return Grey(x < 3 ? 0 : 255); });
        RunFilter(across, choice);
        StageRig down;
        testing_support::LoadSurface(down.surfaces.picDepth, 5, 6,
                                     [](int, int y) { return Grey(y < 3 ? 0 : 255); });
        RunFilter(down, choice);
        const core::PixelGrid a = ReadGrid(across.surfaces.picDepth);
        const core::PixelGrid d = ReadGrid(down.surfaces.picDepth);
        for (int i = 1; i < 5; ++i)
            for (int j = 1; j < 4; ++j) EXPECT_EQ(a(i, j), d(j, i)) << choice << ": " << i << j;
        EXPECT_EQ(a(2, 2).Red, dark_side[choice - 1]) << choice;
        EXPECT_EQ(a(3, 2).Red, bright_side[choice - 1]) << choice;
    }
}

}  // namespace
}  // namespace depth_tests
