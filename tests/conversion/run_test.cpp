// The conversion call: which steps the choices run, in what order, and how a cancel
// and a failing step end it.
#include "conversion/run.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/fake_progress.h"
#include "tests/support/pictures.h"

namespace {

// What the fake stages did, in order. A stage is a plain function, so it reports
// here; stages named in `yield_in` yield once, and the one named in `throw_in`
// throws `thrown`.
std::string ran, yield_in, throw_in;
enum class Thrown { kBadAlloc, kRuntimeError } thrown;

constexpr const char* kNames[] = {"cue0",   "cue1",   "cue2",     "cue3",  "cue4",  "cue5",
                                  "invert", "centre", "warp",     "blur1", "blur2", "blur3",
                                  "blur4",  "blur5",  "anaglyph", "frame"};

template <int I>
void Stage(core::StageContext& c) {
    const std::string name = kNames[I];
    ran += ran.empty() ? name : " " + name;
    if (yield_in.find(name) != std::string::npos) c.progress.Yield();
    if (name != throw_in) return;
    if (thrown == Thrown::kBadAlloc) throw std::bad_alloc();
    throw std::runtime_error("the disk caught fire");
}

const conversion::StageTable kRecording{
    .cues = {Stage<0>, Stage<1>, Stage<2>, Stage<3>, Stage<4>, Stage<5>},
    .invert = Stage<6>,
    .centre = Stage<7>,
    .warp = Stage<8>,
    .blurs = {nullptr, Stage<9>, Stage<10>, Stage<11>, Stage<12>, Stage<13>},
    .anaglyph = Stage<14>,
    .frame = Stage<15>};

class RunTest : public testing::Test {
  protected:
    RunTest() {
        ran.clear();
        yield_in.clear();
        throw_in.clear();
    }
    conversion::Result Run() {
        return conversion::Run(picture, display, choices, progress, kRecording);
    }

    platform::Display display{24};
    platform::Picture picture = testing_support::MakePicture(
        display, 3, 2, [](int x, int y) { return platform::RGB(x * 80, y * 90, 30); });
    conversion::Choices choices;
    testing_support::FakeProgress progress;
};

// The choices pick the cue and the filter (a number outside the table runs none);
// the warp and the frame run only when chosen.
TEST_F(RunTest, TheChoicesPickTheSteps) {
    struct Case {
        std::int16_t cue, blur;
        bool warp;
        std::int16_t frame;
        const char* stages;
    };
    const Case cases[] = {
        {3, 4, true, 1, "cue3 invert centre warp blur4 anaglyph frame"},
        {5, 5, false, 1, "cue5 invert centre blur5 anaglyph frame"},
        {0, 0, false, 0, "cue0 invert centre anaglyph"},
        {-1, 0, false, 2, "invert centre anaglyph"},
        {6, 6, false, 0, "invert centre anaglyph"},
    };
    for (const Case& c : cases) {
        ran.clear();
        choices.settings.DepthCue = c.cue;
        choices.settings.BlurChoice = c.blur;
        choices.settings.DoWarp = c.warp;
        choices.settings.ShowFrame = c.frame;
        EXPECT_EQ(Run().outcome, conversion::Outcome::kConverted) << c.stages;
        EXPECT_EQ(ran, c.stages);
    }
}

// A cancel inside a step lets that step finish its own way and runs no later one;
// the run leaves no views.
TEST_F(RunTest, ACancelEndsTheRunAfterTheStepItCameIn) {
    struct Case {
        const char *yield_in, *stages;
    };
    const Case cases[] = {
        {"cue0", "cue0"},
        {"centre", "cue0 invert centre"},
        {"blur1", "cue0 invert centre warp blur1"},
        {"frame", "cue0 invert centre warp blur1 anaglyph frame"},
    };
    choices.settings.DoWarp = true;
    choices.settings.BlurChoice = 1;
    choices.settings.ShowFrame = 1;
    for (const Case& c : cases) {
        ran.clear();
        yield_in = c.yield_in;
        testing_support::FakeProgress own;
        own.CancelAtYield(1);
        const conversion::Result result =
            conversion::Run(picture, display, choices, own, kRecording);
        EXPECT_EQ(result.outcome, conversion::Outcome::kCancelled) << c.yield_in;
        EXPECT_EQ(ran, c.stages);
        EXPECT_EQ(result.views.anaglyph.bitmap.Width(), 0);
    }
}

// Whatever step throws, and whatever it throws, the run ends there, failed, naming
// the step in the user's words.
TEST_F(RunTest, AFailingStepEndsTheRunNamingIt) {
    struct Case {
        const char* throw_in;
        Thrown thrown;
        const char *stages, *failure;
    };
    const Case cases[] = {
        {"cue0", Thrown::kBadAlloc, "cue0", "the depth cue step failed: out of memory"},
        {"invert", Thrown::kBadAlloc, "cue0 invert", "the inversion step failed: out of memory"},
        {"centre", Thrown::kRuntimeError, "cue0 invert centre",
         "the centring step failed: the disk caught fire"},
        {"warp", Thrown::kBadAlloc, "cue0 invert centre warp",
         "the warp step failed: out of memory"},
        {"blur2", Thrown::kBadAlloc, "cue0 invert centre warp blur2",
         "the smoothing step failed: out of memory"},
        {"anaglyph", Thrown::kBadAlloc, "cue0 invert centre warp blur2 anaglyph",
         "the anaglyph step failed: out of memory"},
        {"frame", Thrown::kBadAlloc, "cue0 invert centre warp blur2 anaglyph frame",
         "the frame step failed: out of memory"},
    };
    choices.settings.DoWarp = true;
    choices.settings.BlurChoice = 2;
    choices.settings.ShowFrame = 1;
    for (const Case& c : cases) {
        ran.clear();
        throw_in = c.throw_in;
        thrown = c.thrown;
        const conversion::Result result = Run();
        EXPECT_EQ(result.outcome, conversion::Outcome::kFailed) << c.throw_in;
        EXPECT_EQ(ran, c.stages);
        EXPECT_EQ(result.Failure(), c.failure);
    }
}

// The warp and the smoothing poll no rows: the caller hears when each begins and
// ends, even when it fails.
TEST_F(RunTest, StepsThatPollNoRowsAreMarkedEvenWhenTheyFail) {
    choices.settings.DoWarp = true;
    choices.settings.BlurChoice = 3;
    throw_in = "blur3";
    thrown = Thrown::kBadAlloc;
    Run();
    EXPECT_EQ(progress.long_steps, (std::vector<bool>{true, false, true, false}));
}

// Two conversions of two pictures on two threads at once, with different choices,
// give what each gives alone: the real stages share nothing they write.
TEST(ConcurrentRunTest, TwoRunsAtOnceMatchEachAlone) {
    const platform::Display display(32);
    const auto picture_of = [&](int seed) {
        return testing_support::MakePicture(display, 61, 47, [seed](int x, int y) {
            return platform::RGB((x * 7 + seed) % 256, (y * 11 + x * seed) % 256,
                                 (x * y + seed) % 256);
        });
    };
    const platform::Picture pictures[2] = {picture_of(3), picture_of(101)};
    conversion::Choices choices[2];
    choices[0].settings.DoWarp = true;
    choices[0].settings.BlurChoice = 4;
    choices[1].settings.DepthCue = 5;
    choices[1].settings.DoShift = true;
    choices[1].settings.ShowFrame = 1;
    const auto bytes_of = [&](int i) {
        core::Progress progress;
        const conversion::Result result =
            conversion::Run(pictures[i], display, choices[i], progress);
        const auto bits = result.views.anaglyph.bitmap.Bits();
        return std::vector<std::uint8_t>(bits.begin(), bits.end());
    };
    const std::vector<std::uint8_t> alone[2] = {bytes_of(0), bytes_of(1)};
    for (int round = 0; round < 20; ++round) {
        std::vector<std::uint8_t> together[2];
        std::thread other([&] { together[1] = bytes_of(1); });
        together[0] = bytes_of(0);
        other.join();
        ASSERT_EQ(together[0], alone[0]) << "round " << round;
        ASSERT_EQ(together[1], alone[1]) << "round " << round;
    }
}

}  // namespace
