// The smoothing filters: exact values on tiny pictures, the frame they leave, sources
// without interior, and results that never feed one another.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "depth/blurs.h"
#include "platform/color.h"
#include "tests/support/stage_rig.h"

namespace depth_tests {
namespace {

using core::PixelTriple;
using platform::RGB;
using testing_support::Grey;
using testing_support::ReadGrid;
using testing_support::SurfaceColors;

// A 5 x 5 picture, black but for one pixel in the middle, through "Smere" (the spot
// weighs 8 / 16 at its own place and 1 / 16 around it, halves to even) and "Blur" (the
// nine cells / 9, on raw 5- and 6-bit fields at 16 bits): each channel spreads on its
// own over the spot's window, and the border stays.
TEST(ChannelFiltersTest, SpotSpreadsOverItsWindowInItsChannelOnly) {
    const struct {
        int choice, bits;
        platform::Rgb spot;
        int centre[3], around[3];  // red, green, blue
    } cases[] = {{1, 24, RGB(1, 0, 0), {0, 0, 0}, {0, 0, 0}},
                 {1, 24, RGB(3, 0, 0), {2, 0, 0}, {0, 0, 0}},
                 {1, 24, RGB(5, 0, 0), {2, 0, 0}, {0, 0, 0}},
                 {1, 24, RGB(9, 0, 0), {4, 0, 0}, {1, 0, 0}},
                 {1, 24, RGB(255, 0, 0), {128, 0, 0}, {16, 0, 0}},
                 {2, 24, RGB(0, 255, 0), {0, 28, 0}, {0, 28, 0}},
                 {2, 16, RGB(255, 255, 255), {3, 7, 3}, {3, 7, 3}}};  // 31 / 9, 63 / 9
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "filter " << c.choice << " spot " << c.spot);
        StageRig rig(c.bits);
        testing_support::LoadSurface(rig.surfaces.picDepth, 5, 5,
                                     [&c](int x, int y) { return x == 2 && y == 2 ? c.spot : 0; });
        RunFilter(rig, c.choice);
        const core::PixelGrid out = ReadGrid(rig.surfaces.picDepth);
        std::uint8_t PixelTriple::*const channels[] = {&PixelTriple::Red, &PixelTriple::Green,
                                                       &PixelTriple::Blue};
        for (std::size_t i = 0; i < 3; ++i) {
            const int n = c.around[i];
            EXPECT_EQ(Channel(out, channels[i]), (Values{{0, 0, 0, 0, 0},
                                                         {0, n, n, n, 0},
                                                         {0, n, c.centre[i], n, 0},
                                                         {0, n, n, n, 0},
                                                         {0, 0, 0, 0, 0}}))
                << "channel " << i;
        }
    }
}

TEST(BlurDepthTest, KeepsChannelsApart) {
    StageRig rig;
    // red rises along the rows, blue down the columns, green is flat
    testing_support::LoadSurface(rig.surfaces.picDepth, 4, 3,
                                 [](int x, int y) { return RGB(10 * x, 50, 90 * y); });
    RunFilter(rig, 2);
    const core::PixelGrid out = ReadGrid(rig.surfaces.picDepth);
    EXPECT_EQ(out(1, 1), (PixelTriple{90, 50, 10}));
    EXPECT_EQ(out(2, 1), (PixelTriple{90, 50, 20}));
}

// A 3 x 3 picture has one interior pixel, whose window is the whole picture.
PixelTriple CentreAfter(int choice, const std::vector<platform::Rgb>& nine) {
    StageRig rig;
    testing_support::LoadSurface(rig.surfaces.picDepth, 3, 3, [&nine](int x, int y) {
        return nine[static_cast<std::size_t>(3 * y + x)];
    });
    RunFilter(rig, choice);
    return ReadGrid(rig.surfaces.picDepth)(1, 1);
}

std::vector<platform::Rgb> Greys(const std::vector<int>& values) {
    std::vector<platform::Rgb> colors;
    for (int v : values) colors.push_back(Grey(v));
    return colors;
}

PixelTriple GreyTriple(int v) {
    const auto b = static_cast<std::uint8_t>(v);
    return {b, b, b};
}

TEST(GreyFiltersTest, CentreOfAThreeByThreePicture) {
    const std::vector<platform::Rgb> red(9, RGB(255, 0, 0));
    const platform::Rgb g1 = Grey(1), g2 = Grey(2), g4 = Grey(4), g5 = Grey(5), g6 = Grey(6),
                        g7 = Grey(7), g9 = Grey(9), g10 = Grey(10);
    const struct {
        int choice;
        std::vector<platform::Rgb> nine;
        PixelTriple centre;
    } cases[] = {
        {3, red, GreyTriple(85)},
        // cell greys 0, 10, ..., 80 (cells 1 and 8 in colour): mean 40
        {3,
         {0, RGB(30, 0, 0), Grey(20), Grey(30), Grey(40), Grey(50), Grey(60), Grey(70),
          RGB(240, 0, 0)},
         GreyTriple(40)},
        {3, Greys({1, 0, 0, 0, 0, 0, 0, 0, 0}), GreyTriple(0)},  // 1 / 9 rounds to 0
        {3, Greys({1, 1, 1, 1, 1, 0, 0, 0, 0}), GreyTriple(1)},  // 5 / 9 rounds to 1
        {4, red, GreyTriple(85)},
        // "Max" copies the brightest cell with its colour, the first in raster order on a tie
        {5, {g1, g2, Grey(3), g4, g5, RGB(250, 200, 10), g7, Grey(8), g9}, {10, 200, 250}},
        {5, {g1, g2, Grey(100), g4, g5, g6, g7, RGB(0, 150, 150), g9}, GreyTriple(100)},
        {5, {g1, g2, RGB(0, 150, 150), g4, g5, g6, g7, Grey(100), g9}, {150, 150, 0}},
        {5,
         {RGB(0, 0, 30), RGB(30, 0, 0), RGB(0, 30, 0), g10, g10, g10, RGB(0, 0, 30), g10, g10},
         {30, 0, 0}},  // nine equal greys: the top-left cell, whatever its colour
    };
    for (const auto& c : cases) EXPECT_EQ(CentreAfter(c.choice, c.nine), c.centre) << c.choice;
}

TEST(GreyFiltersTest, MedianIsTheFifthSmallestWhateverThePositions) {
    std::mt19937 random(11);
    std::vector<int> duplicates = {0, 0, 0, 0, 10, 10, 10, 10, 10};
    std::vector<int> distinct = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    for (int round = 0; round < 5; ++round) {
        std::shuffle(duplicates.begin(), duplicates.end(), random);
        std::shuffle(distinct.begin(), distinct.end(), random);
        EXPECT_EQ(CentreAfter(4, Greys(duplicates)), GreyTriple(10));
        EXPECT_EQ(CentreAfter(4, Greys(distinct)), GreyTriple(4));
    }
}

struct Size {
    int width;
    int height;
};

void LoadNoise(platform::PictureSurface& surface, Size size, unsigned seed) {
    std::mt19937 random(seed);
    testing_support::LoadSurface(surface, size.width, size.height, [&random](int, int) {
        return static_cast<platform::Rgb>(random() & 0xFFFFFF);
    });
}

// In place, as the conversion runs them; a source without interior is all frame.
TEST(FilterFrameTest, OutermostRowsAndColumnsKeepTheSource) {
    for (int choice = 1; choice <= 5; ++choice)
        for (const int bits : kDisplayDepths)
            for (const Size size : {Size{7, 6}, Size{1, 1}, Size{2, 5}, Size{5, 2}, Size{1, 7}}) {
                SCOPED_TRACE(testing::Message() << "filter " << choice << ", " << bits << " bits, "
                                                << size.width << "x" << size.height);
                StageRig rig(bits);
                LoadNoise(rig.surfaces.picDepth, size, static_cast<unsigned>(bits));
                const core::PixelGrid before = ReadGrid(rig.surfaces.picDepth);
                RunFilter(rig, choice);
                const core::PixelGrid after = ReadGrid(rig.surfaces.picDepth);
                for (int y = 0; y < size.height; ++y)
                    for (int x = 0; x < size.width; ++x) {
                        if (x > 0 && y > 0 && x < size.width - 1 && y < size.height - 1) continue;
                        ASSERT_EQ(after(x, y), before(x, y)) << x << "," << y;
                    }
            }
}

// "Smere" has one surface only; the others can write elsewhere: the destination takes
// the source's size and its new image as picture, and a source without interior is
// copied whole. "Max" yields once before it starts, before the destination is sized.
TEST(FilterFrameTest, DestinationTakesTheSourcesSizeAndPicture) {
    using Filter =
        void (*)(core::StageContext&, platform::PictureSurface&, platform::PictureSurface&);
    for (const Filter filter :
         {Blurs::BlurDepth, Blurs::MeanDepth, Blurs::MedianDepth, Blurs::MaxDepth})
        for (const Size size :
             {Size{1, 1}, Size{2, 2}, Size{2, 5}, Size{5, 2}, Size{1, 7}, Size{5, 3}}) {
            SCOPED_TRACE(testing::Message() << size.width << "x" << size.height);
            StageRig rig;
            LoadNoise(rig.surfaces.picOriginal, size, 3);
            const auto source = SurfaceColors(rig.surfaces.picOriginal);
            int width_at_yield = -1;
            rig.host.on_yield = [&rig, &width_at_yield](int) {
                width_at_yield = rig.surfaces.picResult.ScaleWidth();
            };
            filter(rig.context, rig.surfaces.picOriginal, rig.surfaces.picResult);
            EXPECT_EQ(rig.host.yields, filter == Blurs::MaxDepth ? 1 : 0);
            EXPECT_EQ(width_at_yield, filter == Blurs::MaxDepth ? 0 : -1);
            EXPECT_EQ(SurfaceColors(rig.surfaces.picOriginal), source);
            EXPECT_EQ(rig.surfaces.picResult.ScaleWidth(), size.width);
            EXPECT_EQ(rig.surfaces.picResult.ScaleHeight(), size.height);
            EXPECT_TRUE(rig.surfaces.picResult.GetPicture()->bitmap.SharesBitsWith(
                rig.surfaces.picResult.Image()));
            if (size.width >= 3 && size.height >= 3) continue;
            EXPECT_EQ(SurfaceColors(rig.surfaces.picResult), source);
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
