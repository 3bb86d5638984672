#pragma once
// The one table of stored settings: each key's name, kind, default, range and the
// choice it holds, written once. The settings store, the command line's
// --saved-settings and the tests all walk it.
//
// The seventeen classic keys keep their names, texts and the order the program has
// always read and written them in. A key added for a new feature reads after them,
// and its default gives the classic result, so a store without it converts as before.
#include <cstdint>
#include <span>
#include <string_view>

#include "core/choices.h"

namespace core {

inline constexpr std::string_view kSettingsApplication = "Zarvik";
inline constexpr std::string_view kSettingsSection = "Settings";

enum class SettingKind {
    kInteger,  // a 16-bit integer, in decimal
    kTruth,    // True or False
    kReal,     // a decimal number
    kColour,   // a colour, as #rrggbb
};

// The main window reads the classic keys in three steps with window work between
// them; the converter reads them all at once. Keys added later read last.
enum class ReadStep { kBeforeShow, kCues, kMenuGroups, kAdded };

struct SettingEntry {
    std::string_view key;
    SettingKind kind;
    std::string_view default_text;
    // What the menus, dialogs and command line let a user choose. A classic key keeps
    // whatever 16-bit value the store holds, as it always has; an added key's value
    // outside the range is read as its default.
    double minimum;
    double maximum;
    ReadStep step;
    int write_position;  // 0 first: the order of the keys in a written store
    // Where the value lives: the one accessor that fits the kind.
    std::int16_t* (*integer)(Choices&) = nullptr;
    bool* (*truth)(Choices&) = nullptr;
    double* (*real)(Choices&) = nullptr;
    std::uint32_t* (*colour)(Choices&) = nullptr;  // 0xRRGGBB
};

// Every stored setting, in read order.
std::span<const SettingEntry> SettingsTable();
// The entry of a key; nullptr for a key the table lacks.
const SettingEntry* FindSetting(std::string_view key);

}  // namespace core
