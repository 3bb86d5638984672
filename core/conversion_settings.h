#pragma once
// Every user choice that a conversion reads, with its default and its key in the
// settings store. The menu-owned fields live here; the process-wide values shared
// with the dialogs live in tavs_mod.h.
#include <array>
#include <cstdint>
#include <string_view>

namespace core {

struct ConversionSettings {
    std::int16_t DepthCue = 0;    // 0..5 pick a cue; anything else runs none
    std::int16_t CueColor = 0;    // colour cue variant 0..5; anything else: channel mean
    std::int16_t BlurChoice = 0;  // 0 none, 1..5 a filter; anything else: none
    std::int16_t Cue = 0;         // the checked Cues entry, 0..9
    std::int16_t Lens = 0;        // 0 "Red - Blue", 1 "Blue - Red"
    std::int16_t FrameColor = 0;  // 1 white; anything else black
    std::int16_t ShowFrame = 0;   // 1 draws the frame
    std::int16_t FrameType = 0;   // 0 sides only; anything else all four sides
    bool DoWarp = false;
    bool DoShift = false;

    friend bool operator==(const ConversionSettings&, const ConversionSettings&) = default;
};

// The settings store's names: application, section, and the keys in the order the
// program reads them at start-up.
inline constexpr std::string_view kSettingsApplication = "Zarvik";
inline constexpr std::string_view kSettingsSection = "Settings";

struct SettingKey {
    std::string_view key;
    std::string_view default_text;
};

inline constexpr std::array<SettingKey, 17> kSettingKeys = {{
    {"glbShift", "6"},   {"glbWarp", "24"},     {"Depth4", "255"},  {"Depth3", "200"},
    {"Depth2", "150"},   {"Depth1", "100"},     {"Depth0", "50"},   {"DoWarp", "False"},
    {"DoShift", "False"}, {"CueColor", "0"},    {"DepthCue", "0"},  {"Cue", "0"},
    {"BlurChoice", "0"}, {"Lens", "0"},         {"FrameColor", "0"}, {"ShowFrame", "0"},
    {"FrameType", "0"},
}};

// The order in which the keys are written at exit.
inline constexpr std::array<std::string_view, 17> kSettingWriteOrder = {
    "glbShift", "glbWarp",    "Depth4", "Depth3", "Depth2",     "Depth1",    "Depth0",
    "CueColor", "DepthCue",   "BlurChoice", "Cue", "DoWarp",    "DoShift",   "Lens",
    "FrameColor", "ShowFrame", "FrameType"};

}  // namespace core
