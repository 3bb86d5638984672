// "Cancel" chosen inside every single yield of a whole conversion, through the real
// command and every real stage: each polling stage's row ends, the colour cue's
// first yield, the centring's value scans, the Max filter's start, the added-depth
// shift's rows and the frame's rows. Whatever yield the click comes in, the run
// ends idle with the opened picture back on every loaded surface.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conversion/standard_stages.h"
#include "tests/support/stage_rig.h"

namespace {

using conversion::AnaglyphCommand;
using testing_support::SurfaceColors;

constexpr int kWidth = 7;
constexpr int kHeight = 5;

struct CancelCase {
    int depth_cue, cue_color, blur, bits;
};

// One conversion with warp, a filter, added depth and a full white frame switched on.
// Its colours run from 40 to 220 in every channel, so the depth map never spans
// 0..255 and the centring's scans for the lowest and highest values have values to
// pass over.
struct Rig : depth_tests::StageRig {
    explicit Rig(const CancelCase& c) : StageRig(c.bits), command(context, conversion::StandardStages()) {
        settings.DepthCue = static_cast<std::int16_t>(c.depth_cue);
        settings.CueColor = static_cast<std::int16_t>(c.cue_color);
        settings.BlurChoice = static_cast<std::int16_t>(c.blur);
        settings.DoWarp = settings.DoShift = true;
        settings.ShowFrame = settings.FrameType = settings.FrameColor = 1;
        globals.glbShift = 1;
        globals.glbWarp = 3;
        host.AttachWorkspace(
            surfaces, testing_support::MakePicture(display, kWidth, kHeight, [](int x, int y) {
                return platform::RGB(40 + x * 25, 220 - y * 40, 60 + (x * 53 + y * 31) % 150);
            }));
        host.Reload();
    }
    AnaglyphCommand command;
};

class CancelEverywhereTest : public testing::TestWithParam<CancelCase> {};

TEST_P(CancelEverywhereTest, EveryYieldRestoresThePicture) {
    const CancelCase& c = GetParam();
    Rig reference(c);
    const std::vector<platform::Rgb> opened = SurfaceColors(reference.surfaces.picOriginal);
    // Yields right after a band step are the polling stages' row ends.
    int polled = 0;
    std::size_t band_steps = 1;  // the run sets the band's first width before any stage
    reference.host.on_yield = [&](int) {
        if (reference.host.band_widths.size() != band_steps) ++polled;
        band_steps = reference.host.band_widths.size();
    };
    reference.command.mnuAnaglyph_Click();
    ASSERT_NE(SurfaceColors(reference.surfaces.picOriginal), opened)
        << "an uncancelled run must change the picture, or restoring it proves nothing";
    const int yields = reference.host.yields;
    // Row passes of the polling stages: the cue (eleven passes for the banded one),
    // inversion 1, centring 2, second view 3, masks 2.
    EXPECT_EQ(polled, (c.depth_cue == 5 ? 11 : kHeight) + 8 * kHeight);

    for (int cancel_at = 1; cancel_at <= yields; ++cancel_at) {
        SCOPED_TRACE("cancel at yield " + std::to_string(cancel_at) + " of " +
                     std::to_string(yields));
        Rig rig(c);
        bool cancelled = false;
        std::size_t band_at_cancel = 0;
        rig.host.on_yield = [&](int yield) {
            if (yield != cancel_at) return;
            cancelled = rig.command.CurrentState() == AnaglyphCommand::State::Running;
            band_at_cancel = rig.host.band_widths.size();
            rig.command.mnuAnaglyph_Click();
        };
        rig.command.mnuAnaglyph_Click();

        ASSERT_TRUE(cancelled);
        EXPECT_EQ(rig.command.CurrentState(), AnaglyphCommand::State::Idle);
        EXPECT_FALSE(rig.command.StageFailed());
        EXPECT_EQ(rig.globals.glbBusy, 0);
        EXPECT_EQ(rig.host.command_caption, "Anaglyph");
        // A pass polled after the cancel stops at its next row end: one band step for
        // the cancelled pass, one for each of the two masks the composition still tries.
        EXPECT_LE(rig.host.band_widths.size(), band_at_cancel + 3);
        for (const auto* surface :
             {&rig.surfaces.picOriginal, &rig.surfaces.picResult, &rig.surfaces.picDepth})
            ASSERT_EQ(SurfaceColors(*surface), opened);
    }
}

// Every cue, every cue colour and every filter, each display format more than once.
// clang-format off
INSTANTIATE_TEST_SUITE_P(EveryCueAndFormat, CancelEverywhereTest, testing::Values(
    CancelCase{0, 0, 1, 8}, CancelCase{1, 0, 2, 15}, CancelCase{2, 0, 3, 16},
    CancelCase{2, 1, 4, 24}, CancelCase{2, 2, 5, 32}, CancelCase{2, 3, 5, 8},
    CancelCase{2, 4, 5, 15}, CancelCase{2, 5, 5, 16}, CancelCase{2, 9, 5, 24},
    CancelCase{3, 0, 5, 32}, CancelCase{4, 0, 5, 8}, CancelCase{5, 0, 5, 16},
    CancelCase{5, 0, 5, 32}));
// clang-format on

}  // namespace
