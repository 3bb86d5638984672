#pragma once
// A main window with recording prompts, started as the program starts it, and
// helpers for picture files and the settings store.
#include <QColor>
#include <QFile>
#include <QImage>
#include <QSettings>
#include <QString>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>

#include "app/frm_qelun.h"
#include "io/picture_io.h"
#include "tests/app/recording_prompts.h"

struct StartedWindow {
    std::unique_ptr<frmQelun> window;
    RecordingPrompts* prompts = nullptr;
};

inline StartedWindow StartWindow(int surface_bits = 32) {
    auto prompts = std::make_unique<RecordingPrompts>();
    RecordingPrompts* recorder = prompts.get();
    auto window = std::make_unique<frmQelun>(std::move(prompts), surface_bits);
    window->Form_Load();
    return {std::move(window), recorder};
}

// The picture the window shows, as an RGB32 image.
inline QImage Shown(frmQelun& window) {
    return pictureio::ImageFromBitmap(window.Surfaces().picOriginal.Image(), window.GetDisplay());
}

// Saves `picture` at `path` and opens it as File › Open would; false if either failed.
[[nodiscard]] inline bool OpenNew(frmQelun& window, const QString& path, const QImage& picture) {
    if (!picture.save(path)) return false;
    window.OpenPicturePath(path);
    return window.CurrentFile() == path;
}

// Chooses "Anaglyph" and waits for the run on its worker thread to end.
[[nodiscard]] inline bool RunAnaglyph(frmQelun& window) {
    window.Menus().mnuAnaglyph->trigger();
    return QTest::qWaitFor([&] { return !window.Running(); }, 60000);
}

// Waits for the live result to follow the last change.
[[nodiscard]] inline bool WaitForLiveResult(frmQelun& window) {
    return QTest::qWaitFor([&] { return !window.LiveRunning(); }, 60000);
}

inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline void ClearStore() {
    QSettings store(QStringLiteral("Zarvik"), QStringLiteral("Zarvik"));
    store.clear();
    store.sync();
}

// What the settings store holds under `key`, as text.
inline QString Stored(const char* key) {
    const QSettings store(QStringLiteral("Zarvik"), QStringLiteral("Zarvik"));
    return store.value(QStringLiteral("Settings/") + QLatin1String(key)).toString();
}

inline QImage MakeImage(int width, int height, const std::function<QColor(int x, int y)>& color) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixelColor(x, y, color(x, y));
    return image;
}

// A picture with enough structure for every stage to have work: a gradient with a
// bright square in the middle.
inline QImage TestPicture(int width, int height) {
    return MakeImage(width, height, [=](int x, int y) {
        const bool square =
            x > width / 3 && x < 2 * width / 3 && y > height / 3 && y < 2 * height / 3;
        if (square) return QColor(250, 240, 40);
        return QColor((x * 255) / std::max(1, width - 1), (y * 200) / std::max(1, height - 1), 120);
    });
}
