#include "core/pipeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/fake_host.h"
#include "tests/support/pictures.h"

namespace {

using core::AnaglyphCommand;
using core::StageContext;
using Names = std::vector<std::string>;

// What the fake stages saw, in order; a stage is a plain function, so it reports here.
struct Journal {
    Names stages;
    std::vector<std::int16_t> busy_seen;
    Names window_captions;
    Names yield_in;  // stages that yield once, where the test's click lands
};
Journal* journal = nullptr;

template <const char* Name>
void Stage(StageContext& c) {
    journal->stages.push_back(Name);
    journal->busy_seen.push_back(c.globals.glbBusy);
    journal->window_captions.push_back(c.host.WindowCaption());
    if (std::find(journal->yield_in.begin(), journal->yield_in.end(), Name) ==
        journal->yield_in.end())
        return;
    c.host.Yield();
    journal->busy_seen.push_back(c.globals.glbBusy);
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

// A 4x30 picture; every yield clicks the command.
class PipelineTest : public ::testing::Test {
  protected:
    PipelineTest() {
        journal = &log;
        host.AttachWorkspace(surfaces, testing_support::MakePicture(display, 4, 30, [](int, int) {
                                 return platform::RGB(10, 20, 30);
                             }));
        host.on_yield = [this](int) { command.mnuAnaglyph_Click(); };
    }
    ~PipelineTest() override { journal = nullptr; }

    platform::Display display{32};
    core::Workspace surfaces{display};
    core::ConversionSettings settings;
    TavsMod::Values globals;
    testing_support::FakeHost host;
    StageContext context{surfaces, settings, globals, host};
    AnaglyphCommand command{context, RecordingTable()};
    Journal log;
};

TEST_F(PipelineTest, ARunShowsCancelRunsEveryChosenStageAndEndsIdle) {
    settings.DepthCue = 3;
    settings.DoWarp = true;
    settings.BlurChoice = 4;
    settings.ShowFrame = 1;
    command.mnuAnaglyph_Click();

    EXPECT_EQ(log.stages,
              (Names{"cue3", "invert", "centre", "warp", "blur4", "anaglyph", "frame"}));
    for (auto busy : log.busy_seen) EXPECT_EQ(busy, -1);
    const std::string normal = "Zarvik Fast 2D 2 3D", wait = "Please Wait...";
    EXPECT_EQ(log.window_captions, (Names{normal, normal, normal, wait, wait, normal, normal}));
    EXPECT_EQ(host.window_caption, normal);
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

// Each cue and filter setting runs its own stage; one outside the range runs none,
// and without a filter or warp the caption is never touched.
TEST_F(PipelineTest, TheSettingsChooseTheCueAndFilter) {
    for (const std::int16_t cue : {-1, 0, 2, 5, 6, 300})
        for (const std::int16_t blur : {-1, 0, 1, 3, 5, 6, 9}) {
            log.stages.clear();
            host.window_captions.clear();
            settings.DepthCue = cue;
            settings.BlurChoice = blur;
            command.mnuAnaglyph_Click();
            Names expected = {"invert", "centre"};
            if (cue >= 0 && cue <= 5)
                expected.insert(expected.begin(), "cue" + std::to_string(cue));
            if (blur >= 1 && blur <= 5) expected.push_back("blur" + std::to_string(blur));
            expected.push_back("anaglyph");
            EXPECT_EQ(log.stages, expected) << cue << " " << blur;
            EXPECT_EQ(host.window_captions.empty(), blur < 1 || blur > 5) << cue << " " << blur;
        }
}

// Cancelled inside each kind of stage, the run skips the stages gated on the run flag,
// runs the others and reloads the picture. (How a cancelled run ends, through the real
// stages, is the business of cancel_everywhere_test.cpp.)
TEST_F(PipelineTest, ACancelInsideAStageSkipsTheGatedStagesOnly) {
    settings.DepthCue = 0;
    settings.DoWarp = true;
    settings.BlurChoice = 1;
    settings.ShowFrame = 1;
    const std::pair<const char*, Names> cases[] = {
        {"cue0", {"cue0", "warp", "blur1", "frame"}},
        {"invert", {"cue0", "invert", "warp", "blur1", "frame"}},
        {"centre", {"cue0", "invert", "centre", "warp", "blur1", "frame"}},
        {"warp", {"cue0", "invert", "centre", "warp", "blur1", "frame"}},
        {"blur1", {"cue0", "invert", "centre", "warp", "blur1", "frame"}},
        {"anaglyph", {"cue0", "invert", "centre", "warp", "blur1", "anaglyph", "frame"}},
        {"frame", {"cue0", "invert", "centre", "warp", "blur1", "anaglyph", "frame"}},
    };
    for (const auto& [stage, expected] : cases) {
        SCOPED_TRACE(stage);
        log.stages.clear();
        log.yield_in = {stage};
        host.reloads = 0;
        command.mnuAnaglyph_Click();
        EXPECT_EQ(log.stages, expected);
        EXPECT_EQ(host.reloads, 2) << "the closing reload restores the picture";
    }
}

// The warp runs after the cancel (it is not gated), and the click in its yield comes
// while the cancelled run is still finishing.
TEST_F(PipelineTest, AClickWhileACancelledRunFinishesStartsNoNestedRun) {
    settings.DoWarp = true;
    log.yield_in = {"cue0", "warp"};
    command.mnuAnaglyph_Click();
    EXPECT_EQ(log.stages, (Names{"cue0", "warp"}));
    EXPECT_EQ(host.reloads, 2);
    EXPECT_EQ(log.busy_seen.back(), 0) << "the ignored click did not set the run flag again";

    log.yield_in.clear();
    command.mnuAnaglyph_Click();
    EXPECT_EQ(host.reloads, 3) << "once idle, a click starts a new run";
    EXPECT_EQ(globals.glbBusy, 0);
}

TEST_F(PipelineTest, AFailingStageIsSkippedAndReportedUntilARunSucceeds) {
    static bool fail;
    fail = true;
    core::StageTable table = RecordingTable();
    table.invert = [](StageContext&) {
        if (fail) throw std::runtime_error("out of memory");
    };
    AnaglyphCommand own(context, table);
    own.mnuAnaglyph_Click();
    EXPECT_EQ(log.stages, (Names{"cue0", "centre", "anaglyph"}));
    EXPECT_EQ(host.command_caption, "Anaglyph");
    EXPECT_EQ(globals.glbBusy, 0);
    EXPECT_TRUE(own.StageFailed());
    fail = false;
    own.mnuAnaglyph_Click();
    EXPECT_FALSE(own.StageFailed());
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
    for (int y = 0; y < c.surfaces.picOriginal.ScaleHeight(); ++y)
        if (!core::PollAfterRow(c)) return;
    journal->stages.push_back("polling finished");
}

TEST_F(PipelineTest, APollingStageStopsOneRowAfterTheCancelAndTheBandGrowsPerRow) {
    core::StageTable table;
    table.cues[0] = PollingStage;
    AnaglyphCommand own(context, table);
    for (int cancel_at = 1; cancel_at <= 30; ++cancel_at) {
        SCOPED_TRACE(cancel_at);
        log.stages.clear();
        host.band_widths.clear();
        host.yields = 0;
        host.on_yield = [&own, cancel_at](int n) {
            if (n == cancel_at) own.mnuAnaglyph_Click();
        };
        own.mnuAnaglyph_Click();
        EXPECT_EQ(log.stages.size(), cancel_at == 30 ? 1u : 0u) << "finished only if not cancelled";
        // Rows 0..cancel_at-1 ended in a yield; the row after the cancel ends in the stop.
        // One band update per finished row, after the initial width of 1.
        const std::size_t rows_done = std::min<std::size_t>(cancel_at + 1, 30);
        ASSERT_EQ(host.band_widths.size(), rows_done + 1);
        float expected = 1.0f;
        for (std::size_t i = 1; i < host.band_widths.size(); ++i) {
            expected = expected + globals.glbBandStep;
            EXPECT_EQ(host.band_widths[i], expected);
        }
    }
}

}  // namespace
