#include <gtest/gtest.h>

#include <random>

#include "tests/depth/stage_rig.h"

namespace depth_tests {
namespace {

using testing_support::SurfaceColors;

// A cue polls after every row, the colour cue also yields once on entry. Cancelled in
// any yield but the last, a cue writes nothing: the depth surface keeps the colour
// copy of the original, at the original's size (the row after the cancel is still
// finished and counted). A cancel in the yield after the last row comes too late.
TEST(CueCancelTest, EveryYieldOfEveryPointCue) {
    const int width = 5;
    const int height = 4;
    const struct {
        int cue;
        std::int16_t cue_color;
    } cues[] = {{0, 0}, {1, 0}, {2, 0}, {2, 4}, {2, 8}, {3, 0}, {4, 0}};
    for (const auto& c : cues) {
        const int entry_yields = c.cue == 2 ? 1 : 0;
        for (int cancel_at = 1; cancel_at <= height + entry_yields; ++cancel_at) {
            StageRig rig;
            rig.surfaces.picDepth.SetPicture(testing_support::MakePicture(
                rig.display, 2, 2, [](int, int) { return testing_support::Grey(77); }));
            std::mt19937 random(static_cast<unsigned>(cancel_at));
            testing_support::LoadSurface(
                rig.surfaces.picOriginal, width, height,
                [&random](int, int) { return static_cast<platform::Rgb>(random() & 0xFFFFFF); });
            const auto original = SurfaceColors(rig.surfaces.picOriginal);
            rig.CancelAtYield(cancel_at);
            RunCue(rig, c.cue, c.cue_color);
            const std::string what = "cue " + std::to_string(c.cue) + " colour " +
                                     std::to_string(c.cue_color) + ", cancel at " +
                                     std::to_string(cancel_at);
            EXPECT_EQ(SurfaceColors(rig.surfaces.picOriginal), original) << what;
            EXPECT_EQ(rig.surfaces.picDepth.ScaleWidth(), width) << what;
            if (cancel_at < height + entry_yields) {
                EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), original) << what;
                EXPECT_EQ(rig.host.band_widths.size(),
                          static_cast<std::size_t>(cancel_at - entry_yields + 1))
                    << what;
            } else {
                EXPECT_NE(SurfaceColors(rig.surfaces.picDepth), original) << what;
                EXPECT_EQ(rig.host.yields, height + entry_yields) << what;
                EXPECT_EQ(rig.host.band_widths, (std::vector<float>{1.0f, 2.0f, 3.0f, 4.0f}));
            }
        }
    }
}

}  // namespace
}  // namespace depth_tests
