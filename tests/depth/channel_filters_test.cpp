#include <gtest/gtest.h>

#include "platform/color.h"
#include "tests/depth/filter_runner.h"

namespace depth_tests {
namespace {

using platform::RGB;
using testing_support::ReadGrid;

// A 5 x 5 picture, black but for one pixel in the middle.
void LoadSpot(platform::PictureSurface& surface, platform::Rgb spot) {
    testing_support::LoadSurface(surface, 5, 5,
                                 [spot](int x, int y) { return x == 2 && y == 2 ? spot : 0; });
}

// Channel values of a grid, row by row, for the channel `of`.
std::vector<std::vector<int>> Channel(const core::PixelGrid& grid,
                                      std::uint8_t core::PixelTriple::*of) {
    std::vector<std::vector<int>> values(static_cast<std::size_t>(grid.Height()));
    for (int y = 0; y < grid.Height(); ++y)
        for (int x = 0; x < grid.Width(); ++x)
            values[static_cast<std::size_t>(y)].push_back(grid(x, y).*of);
    return values;
}

// The spot's own window value and its eight neighbours' around it; borders stay.
std::vector<std::vector<int>> Spread(int centre, int neighbour) {
    return {{0, 0, 0, 0, 0},
            {0, neighbour, neighbour, neighbour, 0},
            {0, neighbour, centre, neighbour, 0},
            {0, neighbour, neighbour, neighbour, 0},
            {0, 0, 0, 0, 0}};
}

struct SpotCase {
    int value;
    int centre;
    int neighbour;
};

class SmereSpotTest : public testing::TestWithParam<SpotCase> {};

TEST_P(SmereSpotTest, HalvesGoToEven) {
    const SpotCase& c = GetParam();
    StageRig rig;
    LoadSpot(rig.surfaces.picDepth, RGB(c.value, 0, 0));
    RunFilter(rig, 1);
    const core::PixelGrid out = ReadGrid(rig.surfaces.picDepth);
    EXPECT_EQ(Channel(out, &core::PixelTriple::Red), Spread(c.centre, c.neighbour));
    EXPECT_EQ(Channel(out, &core::PixelTriple::Green), Spread(0, 0));
    EXPECT_EQ(Channel(out, &core::PixelTriple::Blue), Spread(0, 0));
}

INSTANTIATE_TEST_SUITE_P(Values, SmereSpotTest,
                         testing::Values(SpotCase{1, 0, 0},      // 8 / 16 = 0.5
                                         SpotCase{3, 2, 0},      // 1.5
                                         SpotCase{5, 2, 0},      // 2.5
                                         SpotCase{9, 4, 1},      // 4.5, 0.5625
                                         SpotCase{255, 128, 16}  // 127.5, 15.94
                                         ));

TEST(BlurDepthTest, SpotSpreadsOverItsWindowInItsChannelOnly) {
    StageRig rig;
    LoadSpot(rig.surfaces.picDepth, RGB(0, 255, 0));
    RunFilter(rig, 2);
    const core::PixelGrid out = ReadGrid(rig.surfaces.picDepth);
    EXPECT_EQ(Channel(out, &core::PixelTriple::Green), Spread(28, 28));
    EXPECT_EQ(Channel(out, &core::PixelTriple::Red), Spread(0, 0));
    EXPECT_EQ(Channel(out, &core::PixelTriple::Blue), Spread(0, 0));
}

TEST(BlurDepthTest, KeepsChannelsApart) {
    StageRig rig;
    // red rises along the rows, blue down the columns, green is flat
    testing_support::LoadSurface(rig.surfaces.picDepth, 4, 3,
                                 [](int x, int y) { return RGB(10 * x, 50, 90 * y); });
    RunFilter(rig, 2);
    const core::PixelGrid out = ReadGrid(rig.surfaces.picDepth);
    EXPECT_EQ(out(1, 1), (core::PixelTriple{90, 50, 10}));
    EXPECT_EQ(out(2, 1), (core::PixelTriple{90, 50, 20}));
}

// Sums of raw 5- and 6-bit fields: a white spot at 16 bits is 31, 63, 31 in the grid.
TEST(BlurDepthTest, WorksOnFieldValuesAtSixteenBits) {
    StageRig rig(16);
    LoadSpot(rig.surfaces.picDepth, RGB(255, 255, 255));
    RunFilter(rig, 2);
    const core::PixelGrid out = ReadGrid(rig.surfaces.picDepth);
    EXPECT_EQ(out(1, 1), (core::PixelTriple{3, 7, 3}));  // 31 / 9 = 3.4, 63 / 9 = 7
    EXPECT_EQ(out(2, 2), (core::PixelTriple{3, 7, 3}));
    EXPECT_EQ(out(0, 0), (core::PixelTriple{0, 0, 0}));
}

}  // namespace
}  // namespace depth_tests
