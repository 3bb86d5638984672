#include <gtest/gtest.h>

#include <random>

#include "depth/blurs.h"
#include "platform/color.h"
#include "tests/depth/stage_rig.h"

namespace depth_tests {
namespace {

using testing_support::Grey;
using testing_support::ReadGrid;
using testing_support::SurfaceColors;

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
                StageRig rig(bits);
                LoadNoise(rig.surfaces.picDepth, size, static_cast<unsigned>(bits));
                const core::PixelGrid before = ReadGrid(rig.surfaces.picDepth);
                RunFilter(rig, choice);
                const core::PixelGrid after = ReadGrid(rig.surfaces.picDepth);
                for (int y = 0; y < size.height; ++y)
                    for (int x = 0; x < size.width; ++x)
                        if (x == 0 || y == 0 || x == size.width - 1 || y == size.height - 1) {
                            ASSERT_EQ(after(x, y), before(x, y))
                                << "filter " << choice << ", " << bits << " bits, " << size.width
                                << "x" << size.height << ", cell " << x << "," << y;
                        }
            }
}

using TwoSurfaceFilter = void (*)(core::StageContext&, platform::PictureSurface&,
                                  platform::PictureSurface&);
constexpr TwoSurfaceFilter kTwoSurfaceFilters[] = {Blurs::BlurDepth, Blurs::MeanDepth,
                                                   Blurs::MedianDepth, Blurs::MaxDepth};

// "Smere" has one surface only; the others can write elsewhere: the destination takes
// the source's size and its new image as picture, and a source without interior is
// copied whole.
TEST(FilterFrameTest, DestinationTakesTheSourcesSizeAndPicture) {
    for (const TwoSurfaceFilter filter : kTwoSurfaceFilters)
        for (const Size size :
             {Size{1, 1}, Size{2, 2}, Size{2, 5}, Size{5, 2}, Size{1, 7}, Size{5, 3}}) {
            StageRig rig;
            LoadNoise(rig.surfaces.picOriginal, size, 3);
            const auto source = SurfaceColors(rig.surfaces.picOriginal);
            filter(rig.context, rig.surfaces.picOriginal, rig.surfaces.picResult);
            const std::string what = std::to_string(size.width) + "x" + std::to_string(size.height);
            EXPECT_EQ(SurfaceColors(rig.surfaces.picOriginal), source) << what;
            EXPECT_EQ(rig.surfaces.picResult.ScaleWidth(), size.width) << what;
            EXPECT_EQ(rig.surfaces.picResult.ScaleHeight(), size.height) << what;
            EXPECT_TRUE(rig.surfaces.picResult.GetPicture()->bitmap.SharesBitsWith(
                rig.surfaces.picResult.Image()));
            if (size.width < 3 || size.height < 3) {
                EXPECT_EQ(SurfaceColors(rig.surfaces.picResult), source) << what;
            }
        }
}

// Each result comes from the source alone: a step edge across the rows and one down
// the columns give the same values on both sides, whichever side comes first.
TEST(FilterFrameTest, NoResultFeedsAnother) {
    // next to the edge the dark side sees one bright column in three, the bright side two
    const int dark_side[] = {48, 85, 85, 0, 255};         // Smere: 3 x 255 / 16 = 47.8
    const int bright_side[] = {207, 170, 170, 255, 255};  // Smere: 13 x 255 / 16 = 207.2
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

TEST(FilterFrameTest, MaxYieldsOnceBeforeItStarts) {
    StageRig rig;
    int surface_width_at_yield = -1;
    LoadGreys(rig.surfaces.picOriginal, {{1, 2, 3, 4}});
    rig.host.on_yield = [&rig, &surface_width_at_yield](int) {
        surface_width_at_yield = rig.surfaces.picResult.ScaleWidth();
    };
    Blurs::MaxDepth(rig.context, rig.surfaces.picOriginal, rig.surfaces.picResult);
    EXPECT_EQ(rig.host.yields, 1);
    EXPECT_EQ(surface_width_at_yield, 0);  // before the destination was sized
    EXPECT_EQ(rig.surfaces.picResult.ScaleWidth(), 4);
}

}  // namespace
}  // namespace depth_tests
