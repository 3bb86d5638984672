// "Cancel" chosen inside every single yield of a whole conversion, through the real
// command and every real stage: each polling stage's row ends, the colour cue's
// first yield, the centring's value scans, the Max filter's start, the added-depth
// shift's rows and the frame's rows. Whatever yield the click comes in, the run
// ends idle with the opened picture back on every loaded surface.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/conversion/standard_stages.h"
#include "core/pipeline.h"
#include "tests/support/fake_host.h"
#include "tests/support/pictures.h"

namespace {

using core::AnaglyphCommand;
using testing_support::FakeHost;
using testing_support::SurfaceColors;

constexpr int kWidth = 7;
constexpr int kHeight = 5;

// Colours from 40 to 220 in every channel, so the depth map never spans 0..255 and
// the centring's scans for the lowest and highest values have values to pass over.
platform::Rgb Colour(int x, int y) {
    return platform::RGB(40 + x * 25, 220 - y * 40, 60 + (x * 53 + y * 31) % 150);
}

struct CancelCase {
    const char* name;
    std::int16_t depth_cue;
    std::int16_t cue_color;
    std::int16_t blur;
    int bits;
};

void PrintTo(const CancelCase& c, std::ostream* out) {
    *out << c.name;
}

// One conversion with warp, a filter, added depth and a full white frame switched on.
struct Rig {
    explicit Rig(const CancelCase& c)
        : display(c.bits),
          surfaces(display),
          picture(testing_support::MakePicture(display, kWidth, kHeight, Colour)),
          command({surfaces, settings, globals, host}, core::StandardStages()) {
        settings.DepthCue = c.depth_cue;
        settings.CueColor = c.cue_color;
        settings.BlurChoice = c.blur;
        settings.DoWarp = true;
        settings.DoShift = true;
        settings.ShowFrame = 1;
        settings.FrameType = 1;
        settings.FrameColor = 1;
        globals.glbShift = 1;
        globals.glbWarp = 3;
        host.AttachWorkspace(surfaces, picture);
        host.Reload();
        host.reloads = 0;
    }

    platform::Display display;
    core::Workspace surfaces;
    platform::Picture picture;
    core::ConversionSettings settings;
    TavsMod::Values globals;
    FakeHost host;
    AnaglyphCommand command;
};

// What an uncancelled run yields: in all, and how many of those yields came right
// after a band step (the polling stages' row ends).
struct YieldCount {
    int all = 0;
    int polled = 0;
};

YieldCount CountYields(const CancelCase& c) {
    Rig rig(c);
    YieldCount count;
    std::size_t band_steps = 1;  // the run sets the band's first width before any stage
    rig.host.on_yield = [&](int) {
        if (rig.host.band_widths.size() != band_steps) ++count.polled;
        band_steps = rig.host.band_widths.size();
    };
    rig.command.mnuAnaglyph_Click();
    count.all = rig.host.yields;
    return count;
}

class CancelEverywhereTest : public testing::TestWithParam<CancelCase> {};

TEST_P(CancelEverywhereTest, EveryYieldRestoresThePicture) {
    const CancelCase& c = GetParam();
    const YieldCount count = CountYields(c);
    // Row passes of the polling stages: the cue (eleven passes for the banded one),
    // inversion 1, centring 2, second view 3, masks 2.
    const int cue_passes = c.depth_cue == 5 ? 11 : kHeight;
    EXPECT_EQ(count.polled, cue_passes + 8 * kHeight);
    // Yields that do not poll: the shift's and the frame's rows, the colour cue's
    // first yield, the Max filter's start, and at least one value of the scans.
    const int unpolled = (c.depth_cue == 2 ? 1 : 0) + (c.blur == 5 ? 1 : 0) + 2 * kHeight;
    EXPECT_GT(count.all - count.polled, unpolled);

    std::vector<platform::Rgb> opened;
    {
        Rig reference(c);
        opened = SurfaceColors(reference.surfaces.picOriginal);
        reference.command.mnuAnaglyph_Click();
        ASSERT_NE(SurfaceColors(reference.surfaces.picOriginal), opened)
            << "an uncancelled run must change the picture, or restoring it proves nothing";
    }

    for (int cancel_at = 1; cancel_at <= count.all; ++cancel_at) {
        SCOPED_TRACE("cancel at yield " + std::to_string(cancel_at) + " of " +
                     std::to_string(count.all));
        Rig rig(c);
        bool cancelled = false;
        rig.host.on_yield = [&](int yield) {
            if (yield != cancel_at) return;
            cancelled = rig.command.CurrentState() == AnaglyphCommand::State::Running;
            rig.command.mnuAnaglyph_Click();
        };
        rig.command.mnuAnaglyph_Click();

        ASSERT_TRUE(cancelled);
        EXPECT_EQ(rig.command.CurrentState(), AnaglyphCommand::State::Idle);
        EXPECT_FALSE(rig.command.StageFailed());
        EXPECT_EQ(rig.globals.glbBusy, 0);
        EXPECT_EQ(rig.host.command_caption, "Anaglyph");
        EXPECT_EQ(rig.host.window_caption, "Zarvik Fast 2D 2 3D");
        EXPECT_FALSE(rig.host.band_visible);
        EXPECT_EQ(rig.host.reloads, 2);
        for (const platform::PictureSurface* surface :
             {&rig.surfaces.picOriginal, &rig.surfaces.picResult, &rig.surfaces.picDepth}) {
            ASSERT_EQ(surface->ScaleWidth(), kWidth);
            ASSERT_EQ(surface->ScaleHeight(), kHeight);
            ASSERT_EQ(SurfaceColors(*surface), opened);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryCueAndFormat, CancelEverywhereTest,
    testing::Values(CancelCase{"Mean8", 0, 0, 5, 8}, CancelCase{"Mean15", 0, 0, 5, 15},
                    CancelCase{"Mean16", 0, 0, 5, 16}, CancelCase{"Mean24", 0, 0, 5, 24},
                    CancelCase{"Mean32", 0, 0, 5, 32}, CancelCase{"Weights8", 1, 0, 5, 8},
                    CancelCase{"Weights16", 1, 0, 5, 16}, CancelCase{"Weights32", 1, 0, 5, 32},
                    CancelCase{"Red8", 2, 0, 5, 8}, CancelCase{"Red15", 2, 0, 5, 15},
                    CancelCase{"Green24", 2, 1, 5, 24}, CancelCase{"Blue32", 2, 2, 5, 32},
                    CancelCase{"Yellow16", 2, 3, 5, 16}, CancelCase{"Magenta32", 2, 4, 5, 32},
                    CancelCase{"Cyan8", 2, 5, 5, 8}, CancelCase{"ColourMean24", 2, 9, 5, 24},
                    CancelCase{"Lightness15", 3, 0, 5, 15}, CancelCase{"Lightness32", 3, 0, 5, 32},
                    CancelCase{"Maximum8", 4, 0, 5, 8}, CancelCase{"Maximum24", 4, 0, 5, 24},
                    CancelCase{"Bands8", 5, 0, 5, 8}, CancelCase{"Bands16", 5, 0, 5, 16},
                    CancelCase{"Bands32", 5, 0, 5, 32}, CancelCase{"SmereMean32", 0, 0, 1, 32},
                    CancelCase{"BlurMean16", 0, 0, 2, 16}, CancelCase{"MeanMean24", 0, 0, 3, 24},
                    CancelCase{"MedianMean8", 0, 0, 4, 8}),
    [](const testing::TestParamInfo<CancelCase>& info) { return std::string(info.param.name); });

}  // namespace
