#include <gtest/gtest.h>

#include <random>

#include "tests/depth/cue_runner.h"

namespace depth_tests {
namespace {

using testing_support::SurfaceColors;

struct Cue {
    int cue;
    std::int16_t cue_color;
};

class CueCancelTest : public testing::TestWithParam<Cue> {};

// Cancelled after any row, a cue writes nothing: the depth surface keeps the colour
// copy of the original, at the original's size, and the original is untouched. The
// colour cue's extra yield on entry counts as one more place to cancel.
TEST_P(CueCancelTest, LeavesAColourCopyOfTheOriginal) {
    const Cue c = GetParam();
    const int width = 5;
    const int height = 4;
    const int entry_yields = c.cue == 2 ? 1 : 0;
    for (int cancel_at = 1; cancel_at < height + entry_yields; ++cancel_at) {
        StageRig rig;
        rig.surfaces.picDepth.SetPicture(testing_support::MakePicture(
            rig.display, 2, 2, [](int, int) { return testing_support::Grey(77); }));
        std::mt19937 random(static_cast<unsigned>(cancel_at));
        testing_support::LoadSurface(rig.surfaces.picOriginal, width, height, [&random](int, int) {
            return static_cast<platform::Rgb>(random() & 0xFFFFFF);
        });
        const auto original = SurfaceColors(rig.surfaces.picOriginal);
        rig.host.on_yield = [&rig, cancel_at](int n) {
            if (n == cancel_at) rig.globals.glbBusy = 0;
        };
        RunCue(rig, c.cue, c.cue_color);
        EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), original)
            << "cancel at yield " << cancel_at;
        EXPECT_EQ(SurfaceColors(rig.surfaces.picOriginal), original);
        EXPECT_EQ(rig.surfaces.picDepth.ScaleWidth(), width);
        // the row after the cancel is still finished and counted, then the cue stops
        EXPECT_EQ(rig.host.band_widths.size(),
                  static_cast<std::size_t>(cancel_at - entry_yields + 1));
    }
}

// A cancel in the yield after the last row comes too late: the map is written.
TEST_P(CueCancelTest, CancelAfterTheLastRowIsTooLate) {
    const Cue c = GetParam();
    StageRig rig;
    LoadRows(rig.surfaces.picOriginal, {{platform::RGB(250, 0, 0)}, {platform::RGB(0, 0, 250)}});
    const auto original = SurfaceColors(rig.surfaces.picOriginal);
    const int yields_before_last_poll = c.cue == 2 ? 2 : 1;
    rig.host.on_yield = [&rig, yields_before_last_poll](int n) {
        if (n > yields_before_last_poll) rig.globals.glbBusy = 0;
    };
    RunCue(rig, c.cue, c.cue_color);
    EXPECT_NE(SurfaceColors(rig.surfaces.picDepth), original);
}

INSTANTIATE_TEST_SUITE_P(EveryPointCue, CueCancelTest,
                         testing::Values(Cue{0, 0}, Cue{1, 0}, Cue{2, 0}, Cue{2, 4}, Cue{2, 8},
                                         Cue{3, 0}, Cue{4, 0}));

}  // namespace
}  // namespace depth_tests
