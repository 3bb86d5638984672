#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/color.h"
#include "tests/depth/filter_runner.h"

namespace depth_tests {
namespace {

using platform::RGB;
using testing_support::Grey;
using testing_support::ReadGrid;

// A 3 x 3 picture has one interior pixel, whose window is the whole picture.
core::PixelTriple CentreAfter(int choice, const std::vector<platform::Rgb>& nine) {
    StageRig rig;
    testing_support::LoadSurface(rig.surfaces.picDepth, 3, 3, [&nine](int x, int y) {
        return nine[static_cast<std::size_t>(3 * y + x)];
    });
    RunFilter(rig, choice);
    return ReadGrid(rig.surfaces.picDepth)(1, 1);
}

core::PixelTriple GreyTriple(int v) {
    const auto b = static_cast<std::uint8_t>(v);
    return {b, b, b};
}

std::vector<platform::Rgb> Greys(const std::vector<int>& values) {
    std::vector<platform::Rgb> colors;
    for (int v : values) colors.push_back(Grey(v));
    return colors;
}

TEST(MeanDepthTest, PureRedGivesGrey) {
    EXPECT_EQ(CentreAfter(3, std::vector<platform::Rgb>(9, RGB(255, 0, 0))), GreyTriple(85));
}

TEST(MeanDepthTest, MeanOfTheCellGreys) {
    // cell greys 0, 10, 20, ..., 80 (the first two colour, not grey): mean 40
    EXPECT_EQ(CentreAfter(3, {RGB(0, 0, 0), RGB(30, 0, 0), Grey(20), Grey(30), Grey(40), Grey(50),
                              Grey(60), Grey(70), RGB(240, 0, 0)}),
              GreyTriple(40));
    // greys 1 and eight 0: 1 / 9 rounds to 0; 5 ones: 0.56 rounds to 1
    EXPECT_EQ(CentreAfter(3, Greys({1, 0, 0, 0, 0, 0, 0, 0, 0})), GreyTriple(0));
    EXPECT_EQ(CentreAfter(3, Greys({1, 1, 1, 1, 1, 0, 0, 0, 0})), GreyTriple(1));
}

TEST(MedianDepthTest, PureRedGivesGrey) {
    EXPECT_EQ(CentreAfter(4, std::vector<platform::Rgb>(9, RGB(255, 0, 0))), GreyTriple(85));
}

TEST(MedianDepthTest, FifthSmallestWhateverThePositions) {
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

TEST(MaxDepthTest, CopiesTheBrightestCellWithItsColour) {
    EXPECT_EQ(CentreAfter(5, {Grey(1), Grey(2), Grey(3), Grey(4), Grey(5), RGB(250, 200, 10),
                              Grey(7), Grey(8), Grey(9)}),
              (core::PixelTriple{10, 200, 250}));
}

TEST(MaxDepthTest, TiesGoToTheFirstCellInRasterOrder) {
    // cells 2 and 7 share the greatest grey, 100
    EXPECT_EQ(CentreAfter(5, {Grey(1), Grey(2), RGB(100, 100, 100), Grey(4), Grey(5), Grey(6),
                              Grey(7), RGB(0, 150, 150), Grey(9)}),
              (core::PixelTriple{100, 100, 100}));
    EXPECT_EQ(CentreAfter(5, {Grey(1), Grey(2), RGB(0, 150, 150), Grey(4), Grey(5), Grey(6),
                              Grey(7), Grey(100), Grey(9)}),
              (core::PixelTriple{150, 150, 0}));
    // nine equal greys: the top-left neighbour, whatever its colour
    EXPECT_EQ(CentreAfter(5, {RGB(0, 0, 30), RGB(30, 0, 0), RGB(0, 30, 0), Grey(10), Grey(10),
                              Grey(10), RGB(0, 0, 30), Grey(10), Grey(10)}),
              (core::PixelTriple{30, 0, 0}));
}

TEST(MaxDepthTest, YieldsOnceBeforeItStarts) {
    StageRig rig;
    int surface_width_at_yield = -1;
    LoadGreys(rig.surfaces.picOriginal, {{1, 2, 3, 4}});
    rig.host.on_yield = [&rig, &surface_width_at_yield](int) {
        surface_width_at_yield = rig.surfaces.picResult.ScaleWidth();
    };
    RunFilter(rig, 5, rig.surfaces.picOriginal, rig.surfaces.picResult);
    EXPECT_EQ(rig.host.yields, 1);
    EXPECT_EQ(surface_width_at_yield, 0);  // before the destination was sized
    EXPECT_EQ(rig.surfaces.picResult.ScaleWidth(), 4);
}

}  // namespace
}  // namespace depth_tests
