#include "conversion/pipeline.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "tests/support/stage_rig.h"

namespace {

// What the fake stages did: their names in order, and the run flag as the last one
// returned. A stage is a plain function, so it reports here. Stages named in
// `yield_in` yield once, where the test's click lands.
std::string ran, yield_in;
std::int16_t busy_at_end = 0;

constexpr const char* kNames[] = {"cue0",   "cue1",   "cue2",     "cue3",  "cue4",  "cue5",
                                  "invert", "centre", "warp",     "blur1", "blur2", "blur3",
                                  "blur4",  "blur5",  "anaglyph", "frame"};

template <int I>
void Stage(core::StageContext& c) {
    const std::string name = kNames[I];
    ran += ran.empty() ? name : " " + name;
    if (yield_in.find(name) != std::string::npos) c.host.Yield();
    busy_at_end = c.globals.glbBusy;
}

const conversion::StageTable kRecording{
    .cues = {Stage<0>, Stage<1>, Stage<2>, Stage<3>, Stage<4>, Stage<5>},
    .invert = Stage<6>,
    .centre = Stage<7>,
    .warp = Stage<8>,
    .blurs = {nullptr, Stage<9>, Stage<10>, Stage<11>, Stage<12>, Stage<13>},
    .anaglyph = Stage<14>,
    .frame = Stage<15>};

// No picture: every yield clicks the command.
class PipelineTest : public ::testing::Test, public depth_tests::StageRig {
  protected:
    PipelineTest() {
        ran.clear();
        yield_in.clear();
        host.on_yield = [this](int) { command.mnuAnaglyph_Click(); };
    }

    conversion::AnaglyphCommand command{context, kRecording};
};

// The settings choose the cue and the filter (a value outside the table runs none);
// a cancel inside a stage skips the stages gated on the run flag, runs the others
// and reloads the picture.
TEST_F(PipelineTest, StagesRunAsTheSettingsAndACancelChoose) {
    struct Case {
        std::int16_t cue, blur;
        bool warp;
        const char *yield_in, *stages;
    };
    const Case cases[] = {
        {3, 4, true, "", "cue3 invert centre warp blur4 anaglyph frame"},
        {5, 5, false, "", "cue5 invert centre blur5 anaglyph frame"},
        {-1, 0, false, "", "invert centre anaglyph frame"},
        {6, 6, false, "", "invert centre anaglyph frame"},
        {0, 1, true, "cue0", "cue0 warp blur1 frame"},
        {0, 1, true, "centre", "cue0 invert centre warp blur1 frame"},
        {0, 1, true, "blur1", "cue0 invert centre warp blur1 frame"},
        {0, 1, true, "anaglyph", "cue0 invert centre warp blur1 anaglyph frame"},
    };
    settings.ShowFrame = 1;
    for (const auto& c : cases) {
        ran.clear();
        yield_in = c.yield_in;
        host.reloads = 0;
        settings.DepthCue = c.cue;
        settings.BlurChoice = c.blur;
        settings.DoWarp = c.warp;
        command.mnuAnaglyph_Click();
        EXPECT_EQ(ran, c.stages) << c.yield_in;
        EXPECT_EQ(busy_at_end, *c.yield_in ? 0 : -1) << c.stages;
        EXPECT_EQ(host.reloads, *c.yield_in ? 2 : 1) << "a cancelled run reloads the picture";
    }
}

// The warp runs after the cancel (it is not gated), and the click in its yield comes
// while the cancelled run is still finishing: it must not start a nested run.
TEST_F(PipelineTest, AClickWhileACancelledRunFinishesStartsNoNestedRun) {
    settings.DoWarp = true;
    yield_in = "cue0 warp";
    command.mnuAnaglyph_Click();
    EXPECT_EQ(ran, "cue0 warp");
    EXPECT_EQ(host.reloads, 2);
    EXPECT_EQ(busy_at_end, 0) << "the ignored click did not set the run flag again";
    yield_in.clear();
    command.mnuAnaglyph_Click();
    EXPECT_EQ(host.reloads, 3) << "once idle, a click starts a new run";
    EXPECT_EQ(globals.glbBusy, 0);
}

TEST_F(PipelineTest, AFailingStageIsSkippedAndReportedUntilARunSucceeds) {
    static bool fail;
    fail = true;
    conversion::StageTable table = kRecording;
    table.invert = [](core::StageContext&) {
        if (fail) throw std::runtime_error("out of memory");
    };
    conversion::AnaglyphCommand own(context, table);
    own.mnuAnaglyph_Click();
    EXPECT_EQ(ran, "cue0 centre anaglyph");
    EXPECT_EQ(globals.glbBusy, 0);
    EXPECT_TRUE(own.StageFailed());
    fail = false;
    own.mnuAnaglyph_Click();
    EXPECT_FALSE(own.StageFailed());
}

}  // namespace
