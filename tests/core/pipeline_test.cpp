#include "core/pipeline.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/ddb_helper.h"
#include "tests/support/fake_host.h"
#include "tests/support/pictures.h"

namespace {

using core::AnaglyphCommand;
using core::StageContext;
using testing_support::FakeHost;

// What the fake stages saw, in order; a stage is a plain function, so it reports here.
struct Journal {
    std::vector<std::string> stages;
    std::vector<std::int16_t> busy_seen;
    std::vector<std::string> command_captions;
    std::vector<std::string> window_captions;
    std::string cancel_in;  // the stage that clicks "Cancel" from inside its yield
    AnaglyphCommand* command = nullptr;
    int extra_clicks_in = 0;  // whether a stage clicks again after the cancel
};
Journal* journal = nullptr;

void Record(StageContext& c, const std::string& name) {
    journal->stages.push_back(name);
    journal->busy_seen.push_back(c.globals.glbBusy);
    journal->window_captions.push_back(c.host.WindowCaption());
    if (journal->cancel_in == name) c.host.Yield();  // the click on "Cancel" is handled in here
}

template <const char* Name>
void Stage(StageContext& c) {
    Record(c, Name);
}

constexpr char kCue0[] = "cue0", kCue1[] = "cue1", kCue2[] = "cue2", kCue3[] = "cue3",
               kCue4[] = "cue4", kCue5[] = "cue5", kInvert[] = "invert", kCentre[] = "centre",
               kWarp[] = "warp", kBlur1[] = "blur1", kBlur2[] = "blur2", kBlur3[] = "blur3",
               kBlur4[] = "blur4", kBlur5[] = "blur5", kAnaglyph[] = "anaglyph", kFrame[] = "frame";

core::StageTable RecordingTable() {
    core::StageTable t;
    t.cues = {Stage<kCue0>, Stage<kCue1>, Stage<kCue2>, Stage<kCue3>, Stage<kCue4>, Stage<kCue5>};
    t.invert = Stage<kInvert>;
    t.centre = Stage<kCentre>;
    t.warp = Stage<kWarp>;
    t.blurs = {nullptr, Stage<kBlur1>, Stage<kBlur2>, Stage<kBlur3>, Stage<kBlur4>, Stage<kBlur5>};
    t.anaglyph = Stage<kAnaglyph>;
    t.frame = Stage<kFrame>;
    return t;
}

class PipelineTest : public ::testing::Test {
protected:
    PipelineTest() : surfaces(display), command({surfaces, settings, globals, host}, RecordingTable()) {
        journal = &log;
        log.command = &command;
        host.AttachWorkspace(surfaces, testing_support::MakePicture(display, 4, 30, [](int, int) {
                                 return platform::RGB(10, 20, 30);
                             }));
        host.on_yield = [this](int) {
            log.command_captions.push_back(host.command_caption);
            if (!log.cancel_in.empty() && !cancelled) {
                cancelled = true;
                command.mnuAnaglyph_Click();
            }
        };
    }
    ~PipelineTest() override { journal = nullptr; }

    platform::Display display{32};
    core::Workspace surfaces;
    core::ConversionSettings settings;
    TavsMod::Values globals;
    FakeHost host;
    AnaglyphCommand command;
    Journal log;
    bool cancelled = false;
};

TEST_F(PipelineTest, ARunShowsCancelRunsEveryChosenStageAndEndsIdle) {
    settings.DepthCue = 3;
    settings.DoWarp = true;
    settings.BlurChoice = 4;
    settings.ShowFrame = 1;
    log.cancel_in = "";
    host.on_yield = nullptr;
    command.mnuAnaglyph_Click();

    EXPECT_EQ(log.stages, (std::vector<std::string>{"cue3", "invert", "centre", "warp", "blur4",
                                                    "anaglyph", "frame"}));
    for (auto busy : log.busy_seen) EXPECT_EQ(busy, -1);
    EXPECT_EQ(log.window_captions, (std::vector<std::string>{
                                       "Zarvik Fast 2D 2 3D", "Zarvik Fast 2D 2 3D", "Zarvik Fast 2D 2 3D",
                                       "Please Wait...", "Please Wait...", "Zarvik Fast 2D 2 3D",
                                       "Zarvik Fast 2D 2 3D"}));
    EXPECT_EQ(host.window_caption, "Zarvik Fast 2D 2 3D");
    EXPECT_EQ(host.command_caption, "Anaglyph");
    EXPECT_FALSE(host.band_visible);
    EXPECT_TRUE(host.reload_enabled);
    EXPECT_EQ(host.reloads, 1);
    EXPECT_EQ(globals.glbBusy, 0);
    EXPECT_EQ(command.CurrentState(), AnaglyphCommand::State::Idle);
    // The band starts at 1 and steps by the window's width over nine passes of 30 rows.
    EXPECT_FLOAT_EQ(globals.glbBandStep, 5160.0f / (30.0f * 9.0f));
    ASSERT_FALSE(host.band_widths.empty());
    EXPECT_EQ(host.band_widths.front(), 1.0f);
}

TEST_F(PipelineTest, SettingsOutsideTheirRangesRunNothingAndLeaveTheCaptionAlone) {
    for (std::int16_t cue : {-1, 6, 300}) {
        for (std::int16_t blur : {0, -1, 6, 9}) {
            log = {};
            log.command = &command;
            host.window_captions.clear();
            settings.DepthCue = cue;
            settings.BlurChoice = blur;
            command.mnuAnaglyph_Click();
            EXPECT_EQ(log.stages, (std::vector<std::string>{"invert", "centre", "anaglyph"}))
                << cue << " " << blur;
            EXPECT_TRUE(host.window_captions.empty());
        }
    }
}

TEST_F(PipelineTest, TheColourCueGetsTheCueColourSettingThroughTheContext) {
    settings.DepthCue = 2;
    settings.CueColor = 0;
    command.mnuAnaglyph_Click();
    ASSERT_FALSE(log.stages.empty());
    EXPECT_EQ(log.stages.front(), "cue2");
}

struct CancelCase {
    const char* stage;
    std::vector<std::string> expected;
};

class CancelInsideAStage : public PipelineTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(CancelInsideAStage, SkipsTheGatedStagesRunsTheOthersAndReloads) {
    settings.DepthCue = 0;
    settings.DoWarp = true;
    settings.BlurChoice = 1;
    settings.ShowFrame = 1;
    log.cancel_in = GetParam().stage;
    command.mnuAnaglyph_Click();

    EXPECT_EQ(log.stages, GetParam().expected);
    EXPECT_EQ(host.command_caption, "Anaglyph");
    EXPECT_FALSE(host.band_visible);
    EXPECT_EQ(globals.glbBusy, 0);
    EXPECT_EQ(host.reloads, 2) << "the closing reload restores the picture";
    EXPECT_FALSE(host.reload_enabled) << "enabled, then disabled again by the closing reload";
    EXPECT_EQ(command.CurrentState(), AnaglyphCommand::State::Idle);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKindOfStage, CancelInsideAStage,
    ::testing::Values(
        CancelCase{"cue0", {"cue0", "warp", "blur1", "frame"}},
        CancelCase{"invert", {"cue0", "invert", "warp", "blur1", "frame"}},
        CancelCase{"centre", {"cue0", "invert", "centre", "warp", "blur1", "frame"}},
        CancelCase{"warp", {"cue0", "invert", "centre", "warp", "blur1", "frame"}},
        CancelCase{"blur1", {"cue0", "invert", "centre", "warp", "blur1", "frame"}},
        CancelCase{"anaglyph", {"cue0", "invert", "centre", "warp", "blur1", "anaglyph", "frame"}},
        CancelCase{"frame", {"cue0", "invert", "centre", "warp", "blur1", "anaglyph", "frame"}}),
    [](const auto& info) { return std::string(info.param.stage); });

TEST_F(PipelineTest, AClickWhileACancelledRunFinishesStartsNoNestedRun) {
    settings.DoWarp = true;
    log.cancel_in = "cue0";
    log.extra_clicks_in = 1;
    core::StageTable table = RecordingTable();
    // The warp runs after the cancel (it is not gated) and gets a click of its own.
    table.warp = [](StageContext& c) {
        Record(c, "warp");
        if (journal->extra_clicks_in) journal->command->mnuAnaglyph_Click();
        journal->busy_seen.push_back(c.globals.glbBusy);
    };
    AnaglyphCommand own({surfaces, settings, globals, host}, table);
    log.command = &own;
    host.on_yield = [&own](int n) {
        if (n == 1) own.mnuAnaglyph_Click();
    };
    own.mnuAnaglyph_Click();
    EXPECT_EQ(log.stages, (std::vector<std::string>{"cue0", "warp"}));
    EXPECT_EQ(host.reloads, 2);
    EXPECT_EQ(log.busy_seen.back(), 0) << "the ignored click did not set the run flag again";

    log.extra_clicks_in = 0;
    own.mnuAnaglyph_Click();
    EXPECT_EQ(host.reloads, 3) << "once idle, a click starts a new run";
    EXPECT_EQ(globals.glbBusy, 0);
}

TEST_F(PipelineTest, AFailingStageIsSkippedAndTheRunGoesOn) {
    core::StageTable table = RecordingTable();
    table.invert = [](StageContext&) { throw std::runtime_error("out of memory"); };
    AnaglyphCommand own({surfaces, settings, globals, host}, table);
    own.mnuAnaglyph_Click();
    EXPECT_EQ(log.stages, (std::vector<std::string>{"cue0", "centre", "anaglyph"}));
    EXPECT_EQ(host.command_caption, "Anaglyph");
    EXPECT_EQ(globals.glbBusy, 0);
    EXPECT_TRUE(own.StageFailed());
    table.invert = nullptr;
    AnaglyphCommand sound({surfaces, settings, globals, host}, table);
    sound.mnuAnaglyph_Click();
    EXPECT_FALSE(sound.StageFailed());
}

TEST_F(PipelineTest, APictureWithoutRowsKeepsThePreviousBandStep) {
    host.AttachWorkspace(surfaces, platform::Picture{platform::Bitmap(0, 0, 32), std::nullopt});
    surfaces.picOriginal.Resize(0, 0);
    globals.glbBandStep = 42.5f;
    command.mnuAnaglyph_Click();
    EXPECT_EQ(globals.glbBandStep, 42.5f);
}

// A stage that polls like the real ones: one pass over the rows of picOriginal.
void PollingStage(StageContext& c) {
    journal->stages.push_back("polling");
    for (int y = 0; y < c.surfaces.picOriginal.ScaleHeight(); ++y) {
        journal->busy_seen.push_back(static_cast<std::int16_t>(y));
        if (!core::PollAfterRow(c)) return;
    }
    journal->stages.push_back("polling finished");
}

TEST_F(PipelineTest, APollingStageStopsOneRowAfterTheCancelAndTheBandGrowsPerRow) {
    for (int cancel_at = 1; cancel_at <= 30; ++cancel_at) {
        log = {};
        host.band_widths.clear();
        core::StageTable table;
        table.cues[0] = PollingStage;
        AnaglyphCommand own({surfaces, settings, globals, host}, table);
        host.on_yield = [&own, cancel_at](int n) {
            if (n == cancel_at) own.mnuAnaglyph_Click();
        };
        host.yields = 0;
        own.mnuAnaglyph_Click();
        const bool finished = log.stages.back() == "polling finished";
        EXPECT_EQ(finished, cancel_at == 30) << cancel_at;
        // Rows 0..cancel_at-1 ended in a yield; the row after the cancel ends in the stop.
        const std::size_t rows_done = std::min<std::size_t>(cancel_at + 1, 30);
        EXPECT_EQ(log.busy_seen.size(), rows_done) << cancel_at;
        // One band update per finished row, after the initial width of 1.
        ASSERT_EQ(host.band_widths.size(), rows_done + 1) << cancel_at;
        float expected = 1.0f;
        for (std::size_t i = 1; i < host.band_widths.size(); ++i) {
            expected = expected + globals.glbBandStep;
            EXPECT_EQ(host.band_widths[i], expected);
        }
    }
}

TEST_F(PipelineTest, ASecondRunStartsFromTheReloadedPicture) {
    core::StageTable table;
    // Stands in for the whole conversion: inverts what picOriginal shows.
    table.anaglyph = [](StageContext& c) {
        core::PixelGrid grid;
        std::int16_t bits = 0;
        DDBHelper::GetBitmapPixels(c.surfaces.picOriginal, grid, bits);
        for (auto& p : grid.Pixels()) p = {static_cast<std::uint8_t>(255 - p.Blue),
                                           static_cast<std::uint8_t>(255 - p.Green),
                                           static_cast<std::uint8_t>(255 - p.Red)};
        DDBHelper::SetBitmapPixels(c.surfaces.picOriginal, bits, grid);
    };
    AnaglyphCommand own({surfaces, settings, globals, host}, table);
    own.mnuAnaglyph_Click();
    const auto first = testing_support::SurfaceColors(surfaces.picOriginal);
    own.mnuAnaglyph_Click();
    EXPECT_EQ(testing_support::SurfaceColors(surfaces.picOriginal), first);
    EXPECT_EQ(first.front(), platform::RGB(245, 235, 225));
}

}  // namespace
