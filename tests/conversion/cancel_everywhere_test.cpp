// "Cancel" chosen inside every single yield of a whole conversion, through the real
// conversion call and every real stage: each polling stage's row ends, the colour
// cue's first yield, the centring's value scans, the Max filter's start, the
// added-depth shift's rows and the frame's rows. Whatever yield the cancel comes in,
// the run ends cancelled, soon, with no anaglyph, and leaves the caller's picture as
// it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conversion/run.h"
#include "tests/support/fake_progress.h"
#include "tests/support/pictures.h"

namespace {

using testing_support::FakeProgress;

constexpr int kWidth = 7;
constexpr int kHeight = 5;

struct CancelCase {
    int depth_cue, cue_color, blur, bits;
};

// One conversion with warp, a filter, added depth and a full white frame switched on.
// Its colours run from 40 to 220 in every channel, so the depth map never spans
// 0..255 and the centring's scans for the lowest and highest values have values to
// pass over.
conversion::Choices ChoicesFor(const CancelCase& c) {
    conversion::Choices choices;
    core::ConversionSettings& s = choices.settings;
    s.DepthCue = static_cast<std::int16_t>(c.depth_cue);
    s.CueColor = static_cast<std::int16_t>(c.cue_color);
    s.BlurChoice = static_cast<std::int16_t>(c.blur);
    s.DoWarp = s.DoShift = true;
    s.ShowFrame = s.FrameType = s.FrameColor = 1;
    choices.values.glbShift = 1;
    choices.values.glbWarp = 3;
    return choices;
}

// Cancels the run in each of its `yields` yields in turn. A pass polled after the
// cancel stops at its next row end: one row for the cancelled pass, one for each of
// the two masks the composition still tries.
void ExpectEveryYieldCancels(const platform::Display& display, const platform::Picture& picture,
                             const conversion::Choices& choices, int yields,
                             const conversion::Request& request = {}) {
    const std::vector<std::uint8_t> opened(picture.bitmap.Bits().begin(),
                                           picture.bitmap.Bits().end());
    for (int cancel_at = 1; cancel_at <= yields; ++cancel_at) {
        SCOPED_TRACE("cancel at yield " + std::to_string(cancel_at) + " of " +
                     std::to_string(yields));
        FakeProgress progress;
        std::size_t rows_at_cancel = 0;
        progress.on_yield = [&](int yield) {
            if (yield != cancel_at) return;
            rows_at_cancel = progress.advances.size();
            progress.Cancel();
        };
        const conversion::Result result =
            conversion::Run(picture, display, choices, progress, request);
        EXPECT_EQ(result.outcome, conversion::Outcome::kCancelled);
        EXPECT_TRUE(result.views.anaglyph.bitmap.Empty());
        EXPECT_LE(progress.advances.size(), rows_at_cancel + 3);
        EXPECT_TRUE(std::equal(opened.begin(), opened.end(), picture.bitmap.Bits().begin()))
            << "the caller's picture is never written";
    }
}

class CancelEverywhereTest : public testing::TestWithParam<CancelCase> {};

TEST_P(CancelEverywhereTest, EveryYieldEndsTheRunCancelled) {
    const CancelCase& c = GetParam();
    const platform::Display display(c.bits);
    const platform::Picture picture =
        testing_support::MakePicture(display, kWidth, kHeight, [](int x, int y) {
            return platform::RGB(40 + x * 25, 220 - y * 40, 60 + (x * 53 + y * 31) % 150);
        });
    const conversion::Choices choices = ChoicesFor(c);

    // Yields right after a reported row are the polling stages' row ends.
    FakeProgress reference;
    int polled = 0;
    std::size_t rows_reported = 0;
    reference.on_yield = [&](int) {
        if (reference.advances.size() != rows_reported) ++polled;
        rows_reported = reference.advances.size();
    };
    ASSERT_EQ(conversion::Run(picture, display, choices, reference).outcome,
              conversion::Outcome::kConverted);
    // Row passes of the polling stages: the cue (eleven passes for the banded one),
    // inversion 1, centring 2, second view 3, masks 2.
    EXPECT_EQ(polled, (c.depth_cue == 5 ? 11 : kHeight) + 8 * kHeight);
    ExpectEveryYieldCancels(display, picture, choices, reference.yields);
}

// Scaled views joined into an anaglyph without keeping the stage views.
TEST(StageViewsCancelTest, AnAnaglyphJoinedWhileWarpedStopsAtEveryYield) {
    const platform::Display display(32);
    const platform::Picture picture = testing_support::MakePicture(
        display, 37, 23, [](int x, int y) { return platform::RGB(x * 7, y * 11, (x * y) % 256); });
    conversion::Choices choices;
    choices.parallax.parallax_percent = 3.0;
    FakeProgress reference;
    ASSERT_EQ(conversion::Run(picture, display, choices, reference, {.stage_views = false}).outcome,
              conversion::Outcome::kConverted);
    ExpectEveryYieldCancels(display, picture, choices, reference.yields, {.stage_views = false});
}

std::string CaseName(const testing::TestParamInfo<CancelCase>& info) {
    constexpr const char* kCues[] = {"mean", "weights", "colour", "lightness", "maximum", "bands"};
    constexpr const char* kBlurs[] = {"none", "smere", "blur", "mean", "median", "max"};
    const CancelCase& c = info.param;
    std::string name = std::string("cue_") + kCues[c.depth_cue];
    if (c.depth_cue == 2) name += std::to_string(c.cue_color);
    return name + "_blur_" + kBlurs[c.blur] + "_" + std::to_string(c.bits) + "bit";
}

// Every cue, every cue colour and every filter, each display format more than once.
// clang-format off
INSTANTIATE_TEST_SUITE_P(EveryCueAndFormat, CancelEverywhereTest, testing::Values(
    CancelCase{0, 0, 1, 8}, CancelCase{1, 0, 2, 15}, CancelCase{2, 0, 3, 16},
    CancelCase{2, 1, 4, 24}, CancelCase{2, 2, 5, 32}, CancelCase{2, 3, 5, 8},
    CancelCase{2, 4, 5, 15}, CancelCase{2, 5, 5, 16}, CancelCase{2, 9, 5, 24},
    CancelCase{3, 0, 5, 32}, CancelCase{4, 0, 5, 8}, CancelCase{5, 0, 5, 16},
    CancelCase{5, 0, 5, 32}), CaseName);
// clang-format on

}  // namespace
