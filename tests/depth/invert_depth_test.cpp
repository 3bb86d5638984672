#include "depth/invert_depth.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/color.h"
#include "tests/support/stage_rig.h"

namespace depth_tests {
namespace {

using platform::RGB;
using testing_support::Grey;
using testing_support::SurfaceColors;

TEST(InvertDepthTest, InvertsEachChannelOnItsOwn) {
    for (const int bits : {24, 32}) {
        StageRig rig(bits);
        LoadRows(rig.surfaces.picDepth,
                 {{Grey(0), Grey(255), Grey(127)}, {RGB(10, 20, 30), RGB(255, 0, 1), Grey(128)}});
        DepthStages().invert(rig.context);
        EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth),
                  (std::vector{Grey(255), Grey(0), Grey(128), RGB(245, 235, 225), RGB(0, 255, 254),
                               Grey(127)}));
        EXPECT_EQ(rig.host.yields, 2);
        StageRig single(bits);
        LoadRows(single.surfaces.picDepth, {{RGB(1, 2, 3)}});
        depth::InvertDepth(single.context);
        EXPECT_EQ(SurfaceColors(single.surfaces.picDepth), std::vector{RGB(254, 253, 252)});
    }
}

// At 8 bits a colour first becomes its nearest palette entry, which two inversions
// give back. At 15 and 16 bits the grid holds field values, whose inversions all lie
// above the fields' ranges: every pixel is written with the largest field values.
TEST(InvertDepthTest, TwiceGivesTheMapBackButFlatAtSixteenBits) {
    for (const int bits : kDisplayDepths) {
        StageRig rig(bits);
        std::mt19937 random(3);
        testing_support::LoadSurface(rig.surfaces.picDepth, 9, 3, [&random](int, int) {
            return static_cast<platform::Rgb>(random() & 0xFFFFFF);
        });
        depth::InvertDepth(rig.context);
        if (bits == 15 || bits == 16) {
            EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), std::vector(27, Grey(255))) << bits;
            continue;
        }
        depth::InvertDepth(rig.context);
        const auto once_round = SurfaceColors(rig.surfaces.picDepth);
        depth::InvertDepth(rig.context);
        depth::InvertDepth(rig.context);
        EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), once_round) << bits << " bits";
    }
}

TEST(InvertDepthTest, CancelAfterAnyRowLeavesTheMap) {
    const int height = 5;
    for (const int bits : kDisplayDepths) {
        for (int cancel_at = 1; cancel_at < height; ++cancel_at) {
            StageRig rig(bits);
            testing_support::LoadSurface(rig.surfaces.picDepth, 3, height,
                                         [](int x, int y) { return Grey(40 * y + x); });
            const auto before = SurfaceColors(rig.surfaces.picDepth);
            rig.CancelAtYield(cancel_at);
            depth::InvertDepth(rig.context);
            EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), before) << bits << ", " << cancel_at;
            EXPECT_EQ(rig.host.yields, cancel_at);
        }
    }
}

}  // namespace
}  // namespace depth_tests
