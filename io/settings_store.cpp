#include "io/settings_store.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QString>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/settings_text.h"
#include "depth/gray_scale.h"

namespace settingsstore {

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The integer field a key holds; nullptr for the two flags.
std::int16_t* IntegerField(std::string_view key, core::ConversionSettings& s, TavsMod::Values& g) {
    if (key == "glbShift") return &g.glbShift;
    if (key == "glbWarp") return &g.glbWarp;
    if (key.size() == 6 && key.starts_with("Depth") && key[5] >= '0' && key[5] <= '4')
        return &g.Depth[static_cast<std::size_t>(key[5] - '0')];
    if (key == "CueColor") return &s.CueColor;
    if (key == "DepthCue") return &s.DepthCue;
    if (key == "Cue") return &s.Cue;
    if (key == "BlurChoice") return &s.BlurChoice;
    if (key == "Lens") return &s.Lens;
    if (key == "FrameColor") return &s.FrameColor;
    if (key == "ShowFrame") return &s.ShowFrame;
    if (key == "FrameType") return &s.FrameType;
    return nullptr;
}

bool* TruthField(std::string_view key, core::ConversionSettings& s) {
    if (key == "DoWarp") return &s.DoWarp;
    if (key == "DoShift") return &s.DoShift;
    return nullptr;
}

void ReadKey(QSettings& store, const core::SettingKey& key, core::ConversionSettings& s,
             TavsMod::Values& g) {
    const std::string text =
        store.value(ToQString(key.key), ToQString(key.default_text)).toString().toStdString();
    if (std::int16_t* field = IntegerField(key.key, s, g)) {
        if (const auto value = core::ParseStoredInteger(text)) *field = *value;
    } else if (bool* flag = TruthField(key.key, s)) {
        if (const auto value = core::ParseStoredTruth(text)) *flag = *value;
    }
}

// kSettingKeys in read order: 9 keys before the window shows, the 3 cue keys, the
// 5 menu group keys.
constexpr std::size_t kBeforeShowKeys = 9;
constexpr std::size_t kCueKeys = 3;
constexpr std::size_t kGroupKeys = 5;
static_assert(kBeforeShowKeys + kCueKeys + kGroupKeys == core::kSettingKeys.size());

void ReadKeys(QSettings& store, std::span<const core::SettingKey> keys, core::ConversionSettings& s,
              TavsMod::Values& g) {
    for (const core::SettingKey& key : keys) ReadKey(store, key, s, g);
}

std::span<const core::SettingKey> KeysFrom(std::size_t first, std::size_t count) {
    return std::span<const core::SettingKey>(core::kSettingKeys).subspan(first, count);
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
    for (const std::string_view key : core::kSettingWriteOrder) {
        if (!bytes.contains(QByteArray("\n") + QByteArray(key.data(), qsizetype(key.size())) + '='))
            return false;
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

void PrepareForReading(core::ConversionSettings& settings, TavsMod::Values& values) {
    settings.DepthCue = settings.CueColor = settings.BlurChoice = settings.Cue = 0;
    settings.Lens = settings.FrameColor = settings.ShowFrame = settings.FrameType = 0;
    settings.DoWarp = settings.DoShift = false;
    values.glbShift = 0;
    values.glbWarp = 0;
    values.Depth = {0, 0, 0, 0, 0};
    values.glbFactors = {1, 1, 1};
}

void ReadValuesBeforeShow(QSettings& store, core::ConversionSettings& settings,
                          TavsMod::Values& values) {
    ReadKeys(store, KeysFrom(0, kBeforeShowKeys), settings, values);
}

void ReadCueSettings(QSettings& store, core::ConversionSettings& settings) {
    TavsMod::Values unused;
    ReadKeys(store, KeysFrom(kBeforeShowKeys, kCueKeys), settings, unused);
}

void ReadMenuGroupSettings(QSettings& store, core::ConversionSettings& settings) {
    TavsMod::Values unused;
    ReadKeys(store, KeysFrom(kBeforeShowKeys + kCueKeys, kGroupKeys), settings, unused);
}

void ReadStoredSettings(core::ConversionSettings& settings, TavsMod::Values& values) {
    PrepareForReading(settings, values);
    const auto store = OpenSettingsSection();
    ReadValuesBeforeShow(*store, settings, values);
    ReadCueSettings(*store, settings);
    GrayScale::SelectCue(settings, settings.Cue);
    ReadMenuGroupSettings(*store, settings);
}

void WriteSettingTexts(const core::ConversionSettings& settings, const TavsMod::Values& values,
                       const SettingWriter& write) {
    // The field lookups want mutable records; these copies are only read.
    core::ConversionSettings s = settings;
    TavsMod::Values g = values;
    for (const std::string_view key : core::kSettingWriteOrder) {
        if (const std::int16_t* field = IntegerField(key, s, g)) {
            write(key, core::FormatStoredInteger(*field));
        } else if (const bool* flag = TruthField(key, s)) {
            write(key, core::FormatStoredTruth(*flag));
        }
    }
}

void WriteStoredSettings(const core::ConversionSettings& settings, const TavsMod::Values& values) {
    if (StoreIsSpecialFile()) return;
    const auto store = OpenSettingsSection();
    const QString path = store->fileName();
    const std::optional<QByteArray> before = FileBytes(path);
    WriteSettingTexts(settings, values, [&store](std::string_view key, const std::string& text) {
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
