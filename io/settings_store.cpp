#include "io/settings_store.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QString>
#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings_table.h"
#include "core/settings_text.h"
#include "depth/gray_scale.h"

namespace settingsstore {

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Reads the key's text into its field. A classic key whose text cannot be read
// leaves the field as it was; an added key outside its range keeps its default.
void ReadText(const core::SettingEntry& entry, const std::string& text, core::Choices& c) {
    const bool added = entry.step == core::ReadStep::kAdded;
    switch (entry.kind) {
        case core::SettingKind::kInteger:
            if (const auto value = core::ParseStoredInteger(text);
                value && (!added || (*value >= entry.minimum && *value <= entry.maximum)))
                *entry.integer(c) = *value;
            break;
        case core::SettingKind::kTruth:
            if (const auto value = core::ParseStoredTruth(text)) *entry.truth(c) = *value;
            break;
        case core::SettingKind::kReal:
            if (const auto value = core::ParseStoredNumber(text);
                value && *value >= entry.minimum && *value <= entry.maximum)
                *entry.real(c) = *value;
            break;
        case core::SettingKind::kColour:
            if (const auto value = core::ParseStoredColour(text)) *entry.colour(c) = *value;
            break;
    }
}

std::string TextOf(const core::SettingEntry& entry, core::Choices& c) {
    switch (entry.kind) {
        case core::SettingKind::kInteger:
            return core::FormatStoredInteger(*entry.integer(c));
        case core::SettingKind::kTruth:
            return core::FormatStoredTruth(*entry.truth(c));
        case core::SettingKind::kReal:
            return core::FormatStoredReal(*entry.real(c));
        case core::SettingKind::kColour:
            return core::FormatStoredColour(*entry.colour(c));
    }
    return {};
}

// Every entry in the order a store is written.
std::vector<const core::SettingEntry*> InWriteOrder() {
    std::vector<const core::SettingEntry*> entries;
    for (const core::SettingEntry& entry : core::SettingsTable()) entries.push_back(&entry);
    std::sort(entries.begin(), entries.end(),
              [](const auto* a, const auto* b) { return a->write_position < b->write_position; });
    return entries;
}

bool IsSpecialFile(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isFile() && !info.isDir();
}

// A pipe or a device in the place of the store, or of the organisation's store beside
// it, would keep QSettings reading for ever as soon as it is made, and a write through
// a temporary file would replace it. Such a store is read as an empty one and never
// written. The paths are QSettings' own for a user's store on this platform.
bool StoreIsSpecialFile() {
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/');
    const QString name = ToQString(core::kSettingsApplication);
    return IsSpecialFile(folder + name + QLatin1Char('/') + name + QStringLiteral(".conf")) ||
           IsSpecialFile(folder + name + QStringLiteral(".conf"));
}

std::optional<QByteArray> FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

// Whether the store's file holds the section and every key just written to it.
bool HoldsEveryKey(const QByteArray& bytes) {
    const QByteArray section = QByteArray("[") + core::kSettingsSection.data() + "]";
    if (!bytes.contains(section)) return false;
    for (const core::SettingEntry& entry : core::SettingsTable()) {
        const QByteArray key(entry.key.data(), qsizetype(entry.key.size()));
        if (!bytes.contains(QByteArray("\n") + key + '=')) return false;
    }
    return true;
}

// Puts the store's file back as it was before a write (or takes it away if there was
// none), when the write left it short.
void PutBack(const QString& path, const std::optional<QByteArray>& before) {
    if (!before) {
        QFile::remove(path);
        return;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(*before);
    if (file.flush()) file.commit();
}

}  // namespace

std::unique_ptr<QSettings> OpenSettingsSection() {
    auto store =
        StoreIsSpecialFile()
            ? std::make_unique<QSettings>(QString(), QSettings::IniFormat)  // holds nothing
            : std::make_unique<QSettings>(ToQString(core::kSettingsApplication),
                                          ToQString(core::kSettingsApplication));
    store->beginGroup(ToQString(core::kSettingsSection));
    return store;
}

void PrepareForReading(core::Choices& choices) {
    choices.values.glbFactors = {1, 1, 1};
    for (const core::SettingEntry& entry : core::SettingsTable()) {
        if (entry.step == core::ReadStep::kAdded) {
            ReadText(entry, std::string(entry.default_text), choices);
        } else if (entry.kind == core::SettingKind::kInteger) {
            *entry.integer(choices) = 0;
        } else if (entry.kind == core::SettingKind::kTruth) {
            *entry.truth(choices) = false;
        }
    }
}

void ReadSettings(QSettings& store, core::ReadStep step, core::Choices& choices) {
    for (const core::SettingEntry& entry : core::SettingsTable()) {
        if (entry.step != step) continue;
        const QVariant stored = store.value(ToQString(entry.key), ToQString(entry.default_text));
        ReadText(entry, stored.toString().toStdString(), choices);
    }
}

void ReadStoredSettings(core::Choices& choices) {
    PrepareForReading(choices);
    const auto store = OpenSettingsSection();
    ReadSettings(*store, core::ReadStep::kBeforeShow, choices);
    ReadSettings(*store, core::ReadStep::kCues, choices);
    GrayScale::SelectCue(choices.settings, choices.settings.Cue);
    ReadSettings(*store, core::ReadStep::kMenuGroups, choices);
    ReadSettings(*store, core::ReadStep::kAdded, choices);
}

void WriteSettingTexts(const core::Choices& choices, const SettingWriter& write) {
    core::Choices copy = choices;  // the accessors want a mutable record; it is only read
    for (const core::SettingEntry* entry : InWriteOrder()) write(entry->key, TextOf(*entry, copy));
}

void WriteStoredSettings(const core::Choices& choices) {
    if (StoreIsSpecialFile()) return;
    const auto store = OpenSettingsSection();
    const QString path = store->fileName();
    const std::optional<QByteArray> before = FileBytes(path);
    WriteSettingTexts(choices, [&store](std::string_view key, const std::string& text) {
        store->setValue(ToQString(key), QString::fromStdString(text));
    });
    store->sync();
    // QSettings writes through QSaveFile, which loses a failure of its last write: on
    // a full disk it puts an empty or short file in place of the store and reports
    // success. A failed write must leave the store as it was.
    const std::optional<QByteArray> after = FileBytes(path);
    if (!after || !HoldsEveryKey(*after)) PutBack(path, before);
}

}  // namespace settingsstore
