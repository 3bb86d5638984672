#include <gtest/gtest.h>

#include "depth/gray_scale.h"

namespace depth_tests {
namespace {

struct MenuCase {
    std::int16_t index;
    std::string_view caption;
    std::int16_t depth_cue;
    std::int16_t cue_color;  // -7 stands for "left as it was"
};

constexpr std::int16_t kUnchanged = -7;

class SelectCueTest : public testing::TestWithParam<MenuCase> {};

TEST_P(SelectCueTest, SetsTheCueOfTheEntry) {
    const MenuCase& c = GetParam();
    core::ConversionSettings settings;
    settings.DepthCue = 1;
    settings.CueColor = kUnchanged;
    settings.Cue = 42;
    GrayScale::SelectCue(settings, c.index);
    EXPECT_EQ(GrayScale::kCueCaptions[static_cast<std::size_t>(c.index)], c.caption);
    EXPECT_EQ(settings.DepthCue, c.depth_cue);
    EXPECT_EQ(settings.CueColor, c.cue_color);
    EXPECT_EQ(settings.Cue, c.index);
}

INSTANTIATE_TEST_SUITE_P(Entries, SelectCueTest,
                         testing::Values(MenuCase{0, "RGB", 0, kUnchanged},
                                         MenuCase{1, "UTI", 2, 1}, MenuCase{2, "Red", 2, 0},
                                         MenuCase{3, "Green", 2, 1}, MenuCase{4, "Blue", 2, 2},
                                         MenuCase{5, "Yellow", 2, 3}, MenuCase{6, "Magenta", 2, 4},
                                         MenuCase{7, "Cyan", 2, 5},
                                         MenuCase{8, "Luminance", 3, kUnchanged},
                                         MenuCase{9, "Saturation", 4, kUnchanged}));

TEST(SelectCueOutsideTest, ChangesNothing) {
    for (const std::int16_t index :
         {std::int16_t{-1}, std::int16_t{10}, std::int16_t{32767}, std::int16_t{-32768}}) {
        core::ConversionSettings settings;
        settings.DepthCue = 5;
        settings.CueColor = 3;
        settings.Cue = 12;
        const core::ConversionSettings before = settings;
        GrayScale::SelectCue(settings, index);
        EXPECT_EQ(settings, before) << index;
    }
}

// The start-up applies the stored Cue after the stored DepthCue: the entry wins.
TEST(SelectCueOutsideTest, StoredEntryWinsOverStoredCue) {
    core::ConversionSettings settings;
    settings.DepthCue = 1;
    settings.Cue = 3;
    GrayScale::SelectCue(settings, settings.Cue);
    EXPECT_EQ(settings.DepthCue, 2);
    EXPECT_EQ(settings.CueColor, 1);
}

}  // namespace
}  // namespace depth_tests
