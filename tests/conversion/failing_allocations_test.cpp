// Runs out of memory at every single allocation of whole conversions, through every
// real stage: each time the conversion ends failed, naming a step, with no views and
// no crash. Allocations are counted by replacing the global operator new in this
// test program; the sanitized build keeps the sanitizer's own and skips the test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <set>
#include <string>

#include "conversion/run.h"
#include "tests/support/pictures.h"
#include "tests/support/sanitized.h"

#define ZARVIK_COUNTS_ALLOCATIONS (!ZARVIK_ADDRESS_SANITIZED)

namespace {

// Allocations left before the one that fails; negative: none fails.
thread_local long allocations_before_failure = -1;

#if ZARVIK_COUNTS_ALLOCATIONS
void* Allocate(std::size_t size) {
    if (allocations_before_failure == 0) {
        allocations_before_failure = -1;
        throw std::bad_alloc();
    }
    if (allocations_before_failure > 0) --allocations_before_failure;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
#endif

}  // namespace

#if ZARVIK_COUNTS_ALLOCATIONS
void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
#endif

namespace {

struct Config {
    const char* name;
    int depth_cue, blur, bits;
};

class FailingAllocationTest : public testing::TestWithParam<Config> {};

TEST_P(FailingAllocationTest, EveryAllocationFailsCleanly) {
    if (!ZARVIK_COUNTS_ALLOCATIONS) GTEST_SKIP() << "the sanitizer owns operator new here";
    const Config& c = GetParam();
    const platform::Display display(c.bits);
    const platform::Picture picture = testing_support::MakePicture(
        display, 9, 4, [](int x, int y) { return platform::RGB(30 + x * 20, 200 - y * 30, 90); });
    conversion::Choices choices;
    choices.settings.DepthCue = static_cast<std::int16_t>(c.depth_cue);
    choices.settings.BlurChoice = static_cast<std::int16_t>(c.blur);
    choices.settings.DoWarp = choices.settings.DoShift = true;
    choices.settings.ShowFrame = 1;

    std::set<std::string> failed_steps;
    for (long n = 0;; ++n) {
        core::Progress progress;
        allocations_before_failure = n;
        const conversion::Result result = conversion::Run(picture, display, choices, progress);
        const bool fault_fired = allocations_before_failure == -1;
        allocations_before_failure = -1;
        if (!fault_fired) {
            EXPECT_EQ(result.outcome, conversion::Outcome::kConverted);
            break;
        }
        ASSERT_EQ(result.outcome, conversion::Outcome::kFailed) << "allocation " << n;
        EXPECT_EQ(result.reason, "out of memory") << "allocation " << n;
        EXPECT_EQ(result.views.anaglyph.bitmap.Width(), 0);
        failed_steps.insert(result.failed_step);
    }
    const std::set<std::string> every_step = {"preparation", "depth cue", "inversion", "centring",
                                              "warp",        "smoothing", "anaglyph",  "frame"};
    EXPECT_EQ(failed_steps, every_step) << "each step's own allocations must have failed";
}

// Every cue and every filter, each display format.
INSTANTIATE_TEST_SUITE_P(
    EveryCueAndFilter, FailingAllocationTest,
    testing::Values(Config{"mean_smere_8bit", 0, 1, 8}, Config{"weights_blur_15bit", 1, 2, 15},
                    Config{"colour_mean_16bit", 2, 3, 16},
                    Config{"lightness_median_24bit", 3, 4, 24},
                    Config{"maximum_max_32bit", 4, 5, 32}, Config{"bands_smere_32bit", 5, 1, 32}),
    [](const testing::TestParamInfo<Config>& info) { return std::string(info.param.name); });

}  // namespace
