#include "core/settings_table.h"

#include <array>

namespace core {

namespace {

using Kind = SettingKind;
using Step = ReadStep;

// clang-format off
const std::array kTable = {
    // The values the window shows before it is drawn.
    SettingEntry{"glbShift", Kind::kInteger, "6", -12, 12, Step::kBeforeShow, 0,
                 [](Choices& c) { return &c.values.glbShift; }},
    SettingEntry{"glbWarp", Kind::kInteger, "24", 1, 100, Step::kBeforeShow, 1,
                 [](Choices& c) { return &c.values.glbWarp; }},
    SettingEntry{"Depth4", Kind::kInteger, "255", 0, 255, Step::kBeforeShow, 2,
                 [](Choices& c) { return &c.values.Depth[4]; }},
    SettingEntry{"Depth3", Kind::kInteger, "200", 0, 255, Step::kBeforeShow, 3,
                 [](Choices& c) { return &c.values.Depth[3]; }},
    SettingEntry{"Depth2", Kind::kInteger, "150", 0, 255, Step::kBeforeShow, 4,
                 [](Choices& c) { return &c.values.Depth[2]; }},
    SettingEntry{"Depth1", Kind::kInteger, "100", 0, 255, Step::kBeforeShow, 5,
                 [](Choices& c) { return &c.values.Depth[1]; }},
    SettingEntry{"Depth0", Kind::kInteger, "50", 0, 255, Step::kBeforeShow, 6,
                 [](Choices& c) { return &c.values.Depth[0]; }},
    SettingEntry{"DoWarp", Kind::kTruth, "False", 0, 1, Step::kBeforeShow, 11, nullptr,
                 [](Choices& c) { return &c.settings.DoWarp; }},
    SettingEntry{"DoShift", Kind::kTruth, "False", 0, 1, Step::kBeforeShow, 12, nullptr,
                 [](Choices& c) { return &c.settings.DoShift; }},
    // The depth cue, read before the stored Cues entry is chosen.
    SettingEntry{"CueColor", Kind::kInteger, "0", 0, 5, Step::kCues, 7,
                 [](Choices& c) { return &c.settings.CueColor; }},
    SettingEntry{"DepthCue", Kind::kInteger, "0", 0, 5, Step::kCues, 8,
                 [](Choices& c) { return &c.settings.DepthCue; }},
    SettingEntry{"Cue", Kind::kInteger, "0", 0, 9, Step::kCues, 10,
                 [](Choices& c) { return &c.settings.Cue; }},
    // The menus' option groups.
    SettingEntry{"BlurChoice", Kind::kInteger, "0", 0, 5, Step::kMenuGroups, 9,
                 [](Choices& c) { return &c.settings.BlurChoice; }},
    SettingEntry{"Lens", Kind::kInteger, "0", 0, 1, Step::kMenuGroups, 13,
                 [](Choices& c) { return &c.settings.Lens; }},
    SettingEntry{"FrameColor", Kind::kInteger, "0", 0, 1, Step::kMenuGroups, 14,
                 [](Choices& c) { return &c.settings.FrameColor; }},
    SettingEntry{"ShowFrame", Kind::kInteger, "0", 0, 1, Step::kMenuGroups, 15,
                 [](Choices& c) { return &c.settings.ShowFrame; }},
    SettingEntry{"FrameType", Kind::kInteger, "0", 0, 1, Step::kMenuGroups, 16,
                 [](Choices& c) { return &c.settings.FrameType; }},
    // Keys added for new features go below, with write positions from 17 on.
    SettingEntry{"Background", Kind::kColour, "#ffffff", 0, 0xFFFFFF, Step::kAdded, 17,
                 nullptr, nullptr, nullptr, [](Choices& c) { return &c.picture.background; }},
};
// clang-format on

}  // namespace

std::span<const SettingEntry> SettingsTable() {
    return kTable;
}

const SettingEntry* FindSetting(std::string_view key) {
    for (const SettingEntry& entry : kTable)
        if (entry.key == key) return &entry;
    return nullptr;
}

}  // namespace core
