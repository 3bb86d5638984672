// The settings table: the one place keys, kinds and defaults are written. These
// checks keep it whole as keys are added.
#include "core/settings_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "core/settings_text.h"

namespace {

using core::SettingEntry;
using core::SettingKind;

std::vector<std::string> Keys(std::vector<const SettingEntry*> entries) {
    std::vector<std::string> keys;
    for (const SettingEntry* entry : entries) keys.emplace_back(entry->key);
    return keys;
}

// What a store written by every earlier version holds, in the order those versions
// read and wrote it.
TEST(SettingsTableTest, TheClassicKeysKeepTheirOrders) {
    std::vector<const SettingEntry*> read, written;
    for (const SettingEntry& entry : core::SettingsTable())
        if (entry.step != core::ReadStep::kAdded) read.push_back(&entry);
    written = read;
    std::sort(written.begin(), written.end(),
              [](const auto* a, const auto* b) { return a->write_position < b->write_position; });
    EXPECT_EQ(Keys(read), (std::vector<std::string>{
                              "glbShift", "glbWarp", "Depth4", "Depth3", "Depth2", "Depth1",
                              "Depth0", "DoWarp", "DoShift", "CueColor", "DepthCue", "Cue",
                              "BlurChoice", "Lens", "FrameColor", "ShowFrame", "FrameType"}));
    EXPECT_EQ(Keys(written), (std::vector<std::string>{
                                 "glbShift", "glbWarp", "Depth4", "Depth3", "Depth2", "Depth1",
                                 "Depth0", "CueColor", "DepthCue", "BlurChoice", "Cue", "DoWarp",
                                 "DoShift", "Lens", "FrameColor", "ShowFrame", "FrameType"}));
}

// Each key once, write positions 0..N-1 each once, the accessor of its kind and no
// other, added keys read after the classic ones, and a default inside the range that
// equals what a fresh record holds: a fresh record is what a store without the key
// converts with.
TEST(SettingsTableTest, EveryEntryIsWhole) {
    std::set<std::string> keys;
    std::set<int> positions;
    bool added_seen = false;
    const core::Choices fresh;
    for (const SettingEntry& entry : core::SettingsTable()) {
        SCOPED_TRACE(std::string(entry.key));
        EXPECT_TRUE(keys.insert(std::string(entry.key)).second);
        EXPECT_TRUE(positions.insert(entry.write_position).second);
        EXPECT_EQ(core::FindSetting(entry.key), &entry);
        const bool added = entry.step == core::ReadStep::kAdded;
        EXPECT_TRUE(added || !added_seen) << "a classic key after an added one";
        added_seen = added_seen || added;
        core::Choices record = fresh;
        switch (entry.kind) {
            case SettingKind::kInteger: {
                ASSERT_TRUE(entry.integer && !entry.truth && !entry.real && !entry.colour);
                const auto value = core::ParseStoredInteger(entry.default_text);
                ASSERT_TRUE(value);
                EXPECT_EQ(*entry.integer(record), *value);
                EXPECT_TRUE(*value >= entry.minimum && *value <= entry.maximum);
                break;
            }
            case SettingKind::kTruth: {
                ASSERT_TRUE(entry.truth && !entry.integer && !entry.real && !entry.colour);
                const auto value = core::ParseStoredTruth(entry.default_text);
                ASSERT_TRUE(value);
                EXPECT_EQ(*entry.truth(record), *value);
                break;
            }
            case SettingKind::kReal: {
                ASSERT_TRUE(entry.real && !entry.integer && !entry.truth && !entry.colour);
                const auto value = core::ParseStoredNumber(entry.default_text);
                ASSERT_TRUE(value);
                EXPECT_EQ(*entry.real(record), *value);
                EXPECT_TRUE(*value >= entry.minimum && *value <= entry.maximum);
                EXPECT_EQ(core::FormatStoredReal(*value), entry.default_text);
                break;
            }
            case SettingKind::kColour: {
                ASSERT_TRUE(entry.colour && !entry.integer && !entry.truth && !entry.real);
                const auto value = core::ParseStoredColour(entry.default_text);
                ASSERT_TRUE(value);
                EXPECT_EQ(*entry.colour(record), *value);
                EXPECT_EQ(core::FormatStoredColour(*value), entry.default_text);
                break;
            }
        }
    }
    EXPECT_EQ(static_cast<int>(positions.size()), *positions.rbegin() + 1);
    EXPECT_EQ(core::FindSetting("NoSuchKey"), nullptr);
}

}  // namespace
