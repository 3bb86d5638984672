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

#include "core/conversion_settings.h"
#include "core/tavs_mod.h"

namespace settingsstore {

// The store's "Settings" section, opened for reading and writing.
std::unique_ptr<QSettings> OpenSettingsSection();

// Start values before any read: every stored field 0 or false, the channel gains
// 1, 1, 1, not busy.
void PrepareForReading(core::ConversionSettings& settings, TavsMod::Values& values);

// "glbShift", "glbWarp", "Depth4" .. "Depth0", "DoWarp", "DoShift".
void ReadValuesBeforeShow(QSettings& store, core::ConversionSettings& settings,
                          TavsMod::Values& values);
// "CueColor", "DepthCue", "Cue".
void ReadCueSettings(QSettings& store, core::ConversionSettings& settings);
// "BlurChoice", "Lens", "FrameColor", "ShowFrame", "FrameType".
void ReadMenuGroupSettings(QSettings& store, core::ConversionSettings& settings);

// All of the start-up reads in their order, the stored Cues entry overriding the
// stored DepthCue and CueColor as choosing it from the menu would.
void ReadStoredSettings(core::ConversionSettings& settings, TavsMod::Values& values);

// Receives one key and its text form.
using SettingWriter = std::function<void(std::string_view key, const std::string& text)>;

// Hands all 17 keys with their text forms to `write`, in the exit order.
void WriteSettingTexts(const core::ConversionSettings& settings, const TavsMod::Values& values,
                       const SettingWriter& write);
// All 17 keys into the store, in the exit order.
void WriteStoredSettings(const core::ConversionSettings& settings, const TavsMod::Values& values);

}  // namespace settingsstore
