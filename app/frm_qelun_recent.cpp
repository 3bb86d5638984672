// Open Recent and the window's own settings (recent files, the JPEG and WebP
// quality, the live result on or off). They are no conversion choices, so they live in
// a store of their own beside the settings store, Zarvik/Window.conf, whose classic
// section stays exactly as it always was.
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <memory>

#include "app/frm_qelun.h"

namespace {

constexpr int kRecentFiles = 8;

// A pipe or a device in the store's place would keep QSettings reading for ever; such
// a store is neither read nor written.
std::unique_ptr<QSettings> WindowStore() {
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         QStringLiteral("/Zarvik/Window.conf");
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) return nullptr;
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

}  // namespace

void frmQelun::ReadWindowSettings() {
    const auto store = WindowStore();
    if (!store) return;
    recent_files_ = store->value(QStringLiteral("Window/RecentFiles")).toStringList();
    while (recent_files_.size() > kRecentFiles) recent_files_.removeLast();
    jpeg_quality_ = std::clamp(store->value(QStringLiteral("Window/Quality"), 92).toInt(), 0, 100);
    menus_.view.mnuLiveResult->setChecked(
        store->value(QStringLiteral("Window/LiveResult"), true).toBool());
    ShowRecentFiles();
}

void frmQelun::WriteWindowSettings() const {
    const auto store = WindowStore();
    if (!store) return;
    store->setValue(QStringLiteral("Window/RecentFiles"), recent_files_);
    store->setValue(QStringLiteral("Window/Quality"), jpeg_quality_);
    store->setValue(QStringLiteral("Window/LiveResult"), live_);
    store->sync();
}

void frmQelun::AddRecentFile(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    recent_files_.removeAll(full);
    recent_files_.prepend(full);
    while (recent_files_.size() > kRecentFiles) recent_files_.removeLast();
    ShowRecentFiles();
}

void frmQelun::ShowRecentFiles() {
    QMenu& menu = *menus_.view.mnuFileRecent;
    menu.clear();
    for (int i = 0; i < recent_files_.size(); ++i) {
        const QString& path = recent_files_[i];
        QAction* entry = menu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QFileInfo(path).fileName().replace(QLatin1Char('&'), QStringLiteral("&&"))));
        entry->setObjectName(QStringLiteral("mnuFileRecent%1").arg(i));
        entry->setToolTip(path);
        connect(entry, &QAction::triggered, this, [this, i] { OpenRecent(i); });
    }
    menu.setToolTipsVisible(true);
    UpdateCommandStates();
}

void frmQelun::OpenRecent(int index) {
    if (index < 0 || index >= recent_files_.size()) return;
    // Open's own steps; a file gone since is said so by its failure message.
    OpenPicturePath(recent_files_[index]);
}
