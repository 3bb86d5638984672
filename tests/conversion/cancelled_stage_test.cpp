// A stage cancelled inside any of its yields writes nothing: the surface it makes
// keeps every byte it had, whether the stage went through the bridge's grid or, on a
// 32-bit display, read and wrote the images directly. Run uncancelled, each stage does
// change that surface, so the comparison has something to catch.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "depth/centre_depth.h"
#include "depth/invert_depth.h"
#include "stereo/channel_masks.h"
#include "tests/stereo/stereo_pictures.h"

namespace {

using depth_tests::ImageBytes;
using depth_tests::kDisplayDepths;
using depth_tests::StageRig;

struct StageCase {
    const char* name;
    std::function<void(StageRig&)> run;
    platform::PictureSurface core::Workspace::*made;
};

const StageCase kStages[] = {
    {"inversion", [](StageRig& r) { depth::InvertDepth(r.context); }, &core::Workspace::picDepth},
    {"centring", [](StageRig& r) { depth::CentreDepth(r.context); }, &core::Workspace::picDepth},
    {"red mask",
     [](StageRig& r) { stereo::MakeRedOnly(r.context, r.surfaces.picOriginal, r.surfaces.PicRed); },
     &core::Workspace::PicRed},
    {"cyan mask",
     [](StageRig& r) { stereo::MakeCyanOnly(r.context, r.surfaces.picResult, r.surfaces.PicBlue); },
     &core::Workspace::PicBlue},
};

// The views' colours and a depth map that spans neither 0 nor 255, so that the
// centring scans for its range; the masks' surfaces hold an older grey of their size.
void Load(StageRig& rig) {
    stereo_testing::LoadViews(
        rig, 9, 5, [](int x, int y) { return 40 + 17 * x + 3 * y; },
        [](int x, int y) { return platform::RGB(30 * x, 255 - 40 * y, (x * 53 + y * 31) % 256); });
    for (auto* s : {&rig.surfaces.PicRed, &rig.surfaces.PicBlue})
        testing_support::LoadSurface(*s, 9, 5, [](int, int) { return testing_support::Grey(200); });
}

TEST(CancelledStageTest, LeavesTheSurfaceItMakesAsItWas) {
    for (const int bits : kDisplayDepths)
        for (const StageCase& stage : kStages) {
            SCOPED_TRACE(testing::Message() << stage.name << ", " << bits << " bits");
            StageRig whole(bits);
            Load(whole);
            const std::vector<std::uint8_t> before = ImageBytes(whole.surfaces.*stage.made);
            stage.run(whole);
            ASSERT_NE(ImageBytes(whole.surfaces.*stage.made), before);

            // A cancel in the last yield comes after the last row: the stage has finished.
            for (int cancel_at = 1; cancel_at < whole.progress.yields; ++cancel_at) {
                SCOPED_TRACE("cancelled at yield " + std::to_string(cancel_at));
                StageRig rig(bits);
                Load(rig);
                rig.CancelAtYield(cancel_at);
                stage.run(rig);
                EXPECT_EQ(ImageBytes(rig.surfaces.*stage.made), before);
            }
        }
}

}  // namespace
