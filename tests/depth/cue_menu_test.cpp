#include <gtest/gtest.h>

#include "depth/gray_scale.h"

namespace depth_tests {
namespace {

TEST(SelectCueTest, SetsTheCueOfTheEntry) {
    constexpr std::int16_t kUnchanged = -7;
    const struct {
        std::string_view caption;
        std::int16_t depth_cue;
        std::int16_t cue_color;
    } entries[] = {{"RGB", 0, kUnchanged},
                   {"UTI", 2, 1},
                   {"Red", 2, 0},
                   {"Green", 2, 1},
                   {"Blue", 2, 2},
                   {"Yellow", 2, 3},
                   {"Magenta", 2, 4},
                   {"Cyan", 2, 5},
                   {"Luminance", 3, kUnchanged},
                   {"Saturation", 4, kUnchanged}};
    for (std::int16_t index = 0; index < 10; ++index) {
        const auto& entry = entries[index];
        core::ConversionSettings settings;
        settings.DepthCue = 1;
        settings.CueColor = kUnchanged;
        settings.Cue = 42;
        GrayScale::SelectCue(settings, index);
        EXPECT_EQ(GrayScale::kCueCaptions[static_cast<std::size_t>(index)], entry.caption);
        EXPECT_EQ(settings.DepthCue, entry.depth_cue) << index;
        EXPECT_EQ(settings.CueColor, entry.cue_color) << index;
        EXPECT_EQ(settings.Cue, index);
    }
}

TEST(SelectCueTest, EntryOutsideTheMenuChangesNothing) {
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

}  // namespace
}  // namespace depth_tests
