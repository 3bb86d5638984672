// "Cancel" chosen inside every single yield of a whole conversion, through the real
// command and every real stage: each polling stage's row ends, the colour cue's
// first yield, the centring's value scans, the Max filter's start, the added-depth
// shift's rows and the frame's rows. Whatever yield the click comes in, the run
// ends idle with the opened picture back on every loaded surface.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/conversion/standard_stages.h"
#include "core/pipeline.h"
#include "tests/support/fake_host.h"
#include "tests/support/pictures.h"

namespace {

using core::AnaglyphCommand;
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
    std::int16_t depth_cue, cue_color, blur;
    int bits;
};

// One conversion with warp, a filter, added depth and a full white frame switched on.
struct Rig {
    explicit Rig(const CancelCase& c)
        : display(c.bits),
          surfaces(display),
          command({surfaces, settings, globals, host}, core::StandardStages()) {
        settings.DepthCue = c.depth_cue;
        settings.CueColor = c.cue_color;
        settings.BlurChoice = c.blur;
        settings.DoWarp = settings.DoShift = true;
        settings.ShowFrame = settings.FrameType = settings.FrameColor = 1;
        globals.glbShift = 1;
        globals.glbWarp = 3;
        host.AttachWorkspace(surfaces,
                             testing_support::MakePicture(display, kWidth, kHeight, Colour));
        host.Reload();
        host.reloads = 0;
    }

    platform::Display display;
    core::Workspace surfaces;
    core::ConversionSettings settings;
    TavsMod::Values globals;
    testing_support::FakeHost host;
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
    // Yields that do not poll: the shift's and the frame's rows, the colour cue's
    // first yield, the Max filter's start, and at least one value of the scans.
    EXPECT_GT(yields - polled, (c.depth_cue == 2) + (c.blur == 5) + 2 * kHeight);

    for (int cancel_at = 1; cancel_at <= yields; ++cancel_at) {
        SCOPED_TRACE("cancel at yield " + std::to_string(cancel_at) + " of " +
                     std::to_string(yields));
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
        for (const auto* surface :
             {&rig.surfaces.picOriginal, &rig.surfaces.picResult, &rig.surfaces.picDepth}) {
            ASSERT_EQ(surface->ScaleWidth(), kWidth);
            ASSERT_EQ(surface->ScaleHeight(), kHeight);
            ASSERT_EQ(SurfaceColors(*surface), opened);
        }
    }
}

// Every cue (every cue colour) and filter, each display format several times.
const CancelCase kCases[] = {
    {"Mean8", 0, 0, 5, 8},         {"Mean15", 0, 0, 5, 15},      {"Mean16", 0, 0, 5, 16},
    {"Mean24", 0, 0, 5, 24},       {"Mean32", 0, 0, 5, 32},      {"Weights8", 1, 0, 5, 8},
    {"Weights16", 1, 0, 5, 16},    {"Weights32", 1, 0, 5, 32},   {"Red8", 2, 0, 5, 8},
    {"Red15", 2, 0, 5, 15},        {"Green24", 2, 1, 5, 24},     {"Blue32", 2, 2, 5, 32},
    {"Yellow16", 2, 3, 5, 16},     {"Magenta32", 2, 4, 5, 32},   {"Cyan8", 2, 5, 5, 8},
    {"ColourMean24", 2, 9, 5, 24}, {"Lightness15", 3, 0, 5, 15}, {"Lightness32", 3, 0, 5, 32},
    {"Maximum8", 4, 0, 5, 8},      {"Maximum24", 4, 0, 5, 24},   {"Bands8", 5, 0, 5, 8},
    {"Bands16", 5, 0, 5, 16},      {"Bands32", 5, 0, 5, 32},     {"SmereMean32", 0, 0, 1, 32},
    {"BlurMean16", 0, 0, 2, 16},   {"MeanMean24", 0, 0, 3, 24},  {"MedianMean8", 0, 0, 4, 8},
};

INSTANTIATE_TEST_SUITE_P(EveryCueAndFormat, CancelEverywhereTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
