#pragma once
// The conversion settings in the per-user settings store (application "Zarvik",
// section "Settings"), read at start-up and written at exit. Each read takes the
// stored text or, for a missing key, the key's default text; a text that cannot be
// read leaves its field as it was, which at start-up is 0 (false for the flags),
// not the default.
//
// The main window reads in three steps with window work in between (the menu
// toggles are shown, then the window, then the Cues entry is chosen); the
// command-line converter reads all at once with ReadStoredSettings.
#include <QSettings>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/settings_table.h"

namespace settingsstore {

// The store's "Settings" section, opened for reading and writing.
std::unique_ptr<QSettings> OpenSettingsSection();

// Start values before any read: every classic field 0 or false, the channel gains
// 1, 1, 1, and every added setting its default.
void PrepareForReading(core::Choices& choices);

// The keys of one read step, each the stored text or, when missing, its default.
void ReadSettings(QSettings& store, core::ReadStep step, core::Choices& choices);

// All of the start-up reads in their order, the stored Cues entry overriding the
// stored DepthCue and CueColor as choosing it from the menu would.
void ReadStoredSettings(core::Choices& choices);

// Receives one key and its text form.
using SettingWriter = std::function<void(std::string_view key, const std::string& text)>;

// Hands every key with its text form to `write`, in the order a store is written.
void WriteSettingTexts(const core::Choices& choices, const SettingWriter& write);
// Every key into the store, in that order. A write that fails leaves the store as
// it was.
void WriteStoredSettings(const core::Choices& choices);

}  // namespace settingsstore
