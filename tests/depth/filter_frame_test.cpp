#include <gtest/gtest.h>

#include <random>

#include "platform/color.h"
#include "tests/depth/filter_runner.h"

namespace depth_tests {
namespace {

using testing_support::Grey;
using testing_support::ReadGrid;
using testing_support::SurfaceColors;

class FilterFrameTest : public testing::TestWithParam<int> {};

TEST_P(FilterFrameTest, OutermostRowsAndColumnsKeepTheSource) {
    const int choice = GetParam();
    for (const int bits : kDisplayDepths) {
        StageRig rig(bits);
        std::mt19937 random(static_cast<unsigned>(bits));
        testing_support::LoadSurface(rig.surfaces.picDepth, 7, 6, [&random](int, int) {
            return static_cast<platform::Rgb>(random() & 0xFFFFFF);
        });
        const core::PixelGrid before = ReadGrid(rig.surfaces.picDepth);
        RunFilter(rig, choice);
        const core::PixelGrid after = ReadGrid(rig.surfaces.picDepth);
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(after(x, 0), before(x, 0));
            EXPECT_EQ(after(x, 5), before(x, 5));
        }
        for (int y = 0; y < 6; ++y) {
            EXPECT_EQ(after(0, y), before(0, y));
            EXPECT_EQ(after(6, y), before(6, y));
        }
    }
}

TEST_P(FilterFrameTest, SourceWithoutInteriorIsCopied) {
    const int choice = GetParam();
    struct Size {
        int width;
        int height;
    };
    for (const Size size : {Size{1, 1}, Size{2, 2}, Size{2, 5}, Size{5, 2}, Size{1, 7}}) {
        StageRig rig;
        std::mt19937 random(3);
        testing_support::LoadSurface(
            rig.surfaces.picOriginal, size.width, size.height,
            [&random](int, int) { return static_cast<platform::Rgb>(random() & 0xFFFFFF); });
        const auto source = SurfaceColors(rig.surfaces.picOriginal);
        if (choice == 1) {
            RunFilter(rig, choice, rig.surfaces.picOriginal, rig.surfaces.picOriginal);
            EXPECT_EQ(SurfaceColors(rig.surfaces.picOriginal), source);
        } else {
            RunFilter(rig, choice, rig.surfaces.picOriginal, rig.surfaces.picResult);
            EXPECT_EQ(SurfaceColors(rig.surfaces.picResult), source);
            EXPECT_EQ(SurfaceColors(rig.surfaces.picOriginal), source);
        }
    }
}

// Each result comes from the source alone: a step edge across the rows and one down
// the columns give the same values on both sides, whichever side comes first.
TEST_P(FilterFrameTest, NoResultFeedsAnother) {
    const int choice = GetParam();
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
        for (int j = 1; j < 4; ++j) EXPECT_EQ(a(i, j), d(j, i)) << i << "," << j;
    // next to the edge the dark side sees one bright column in three, the bright side two
    if (choice == 2 || choice == 3) {
        EXPECT_EQ(a(2, 2).Red, 85);
        EXPECT_EQ(a(3, 2).Red, 170);
    } else if (choice == 1) {
        EXPECT_EQ(a(2, 2).Red, 48);   // 3 x 255 / 16 = 47.8
        EXPECT_EQ(a(3, 2).Red, 207);  // (6 x 255 + 7 x 255) / 16 = 207.2
    } else {
        EXPECT_EQ(a(2, 2).Red, choice == 4 ? 0 : 255);
        EXPECT_EQ(a(3, 2).Red, 255);
    }
}

// "Smere" has one surface only; the others can write elsewhere.
TEST(FilterFrameTwoSurfacesTest, DestinationTakesTheSourcesSizeAndPicture) {
    for (const int choice : {2, 3, 4, 5}) {
        StageRig rig;
        testing_support::LoadSurface(rig.surfaces.picOriginal, 5, 3,
                                     [](int x, int y) { return Grey(40 * x + y); });
        const auto source = SurfaceColors(rig.surfaces.picOriginal);
        RunFilter(rig, choice, rig.surfaces.picOriginal, rig.surfaces.picResult);
        EXPECT_EQ(rig.surfaces.picResult.ScaleWidth(), 5);
        EXPECT_EQ(rig.surfaces.picResult.ScaleHeight(), 3);
        EXPECT_EQ(SurfaceColors(rig.surfaces.picOriginal), source);
        EXPECT_TRUE(rig.surfaces.picResult.GetPicture()->bitmap.SharesBitsWith(
            rig.surfaces.picResult.Image()));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFilter, FilterFrameTest, testing::ValuesIn(kFilterChoices));

}  // namespace
}  // namespace depth_tests
