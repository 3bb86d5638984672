// Faults of the machine around the window: a save that the disk or the file system
// cannot take keeps whatever was at the name and leaves nothing beside it; a settings
// store that is a pipe, read-only or on a full disk leaves the window usable with the
// fallbacks the store's rules give. Faults the converter's save meets in the same
// way (size limits, a file or folder in the way) are left to its tests.
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QTest>
#include <filesystem>

#include "app/option_group.h"
#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"
#include "tests/support/disk_faults.h"

namespace {

// Every entry of `folder` by name and kind, a plain file with its bytes.
QStringList Snapshot(const QString& folder) {
    QStringList entries;
    const auto filter = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QFileInfo& entry : QDir(folder).entryInfoList(filter, QDir::Name)) {
        entries << entry.fileName()
                << (entry.isFile() ? QCryptographicHash::hash(ReadAll(entry.filePath()),
                                                              QCryptographicHash::Sha1)
                                         .toHex()
                    : entry.isDir() ? QStringLiteral("folder")
                                    : QStringLiteral("special"));
    }
    return entries;
}

bool Writable(const QString& path) {
    return access(QFile::encodeName(path).constData(), W_OK) == 0;
}

}  // namespace

class FaultsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(!StoreFile().isEmpty()); }

    void init() {
        ClearStore();
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
    }

    // The store is put back as the other tests expect to find it.
    void cleanup() {
        disk_.reset();
        const QString file = StoreFile();
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (QFileInfo(file).exists() && !QFileInfo(file).isFile()) QFile::remove(file);
        ClearStore();
    }

    // A save the machine cannot take says so and keeps whatever was at the name, with
    // nothing beside it. This picture is smaller than QSaveFile's buffer, so a full
    // disk fails it only in the last flush, which QSaveFile used to lose. Saving "over"
    // a pipe or a device through a temporary file would put a plain file in its place
    // (as root, even over /dev/null); writing into a pipe would wait for a reader.
    void FailedSaveKeepsWhatWasThere_data() {
        QTest::addColumn<QString>("fault");
        for (const char* fault :
             {"full disk", "read-only disk", "locked folder", "locked file", "pipe", "device"})
            QTest::newRow(fault) << QString::fromLatin1(fault);
    }
    void FailedSaveKeepsWhatWasThere() {
        QFETCH(QString, fault);
        const QString source = folder_->filePath(QStringLiteral("source.png"));
        QVERIFY(TestPicture(90, 60).save(source));
        const StartedWindow w = StartWindow(32);
        w.window->OpenPicturePath(source);
        const QString folder = folder_->filePath(QStringLiteral("place"));
        QVERIFY(QDir().mkdir(folder));
        if (fault.endsWith(QStringLiteral("disk"))) {
            disk_ = std::make_unique<TinyDisk>(QFile::encodeName(folder).toStdString(), 256 << 10);
            if (!disk_->Mounted()) QSKIP("this user cannot mount a small disk for the test");
        }
        const QString target = folder + QStringLiteral("/keep.bmp");
        const QByteArray name = QFile::encodeName(target);
        if (fault == "pipe" || fault == "device") {
            // A null device of the test's own, so that a write that got through harms nothing.
            const mode_t type = fault == "pipe" ? S_IFIFO : S_IFCHR;
            if (mknod(name.constData(), type | 0666, type == S_IFCHR ? makedev(1, 3) : 0) != 0)
                QSKIP("this user cannot make such a file");
        } else {
            QVERIFY(WriteAll(target, "the file that was there before"));
        }
        if (fault == "full disk") QVERIFY(disk_->Fill());
        if (fault == "read-only disk") QVERIFY(disk_->MakeReadOnly());
        const QString locked = fault == "locked folder" ? folder : target;
        if (fault.startsWith(QStringLiteral("locked"))) {
            QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            if (Writable(locked))
                QSKIP("this user writes where write permission is missing (root)");
        }
        const QStringList before = Snapshot(folder);

        w.prompts->answers.push_back(Chosen(target));
        w.window->Menus().mnuFileSaveAs->trigger();
        if (fault.startsWith(QStringLiteral("locked")))
            QFile::setPermissions(
                locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        QCOMPARE(w.prompts->messages.size(), 1);
        const RecordedMessage& message = w.prompts->messages.front();
        QCOMPARE(message.title, QStringLiteral("Zarvik"));
        QCOMPARE(message.icon, MessageIcon::None);
        const QString head = QStringLiteral("Error 75 saving file '") + target + "'\r\n";
        QVERIFY2(message.text.startsWith(head), qPrintable(message.text));
        QVERIFY(message.text.size() > head.size());
        QCOMPARE(w.prompts->beeps, 0);
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Zarvik [keep.bmp]"));
        QCOMPARE(Snapshot(folder), before);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        if (fault == "full disk") {
            // The window is none the worse: the next save, with room, writes the picture.
            disk_->Empty();
            w.prompts->answers.push_back(Chosen(target));
            w.window->Menus().mnuFileSaveAs->trigger();
            QCOMPARE(w.prompts->messages.size(), 1);
            QCOMPARE(QImage(target).size(), QSize(90, 60));
        }
    }

    // Whatever stands in the store's place, the window starts; a store it
    // cannot write is left whole (never cut short at exit), with nothing said.
    void DamagedStoreLeavesTheWindowUsable_data() {
        QTest::addColumn<QString>("damage");
        // Reading a pipe would wait for a writer for ever.
        QTest::newRow("a pipe in place of the file") << "pipe";
        QTest::newRow("a file without write permission") << "locked";
        QTest::newRow("a read-only disk") << "read-only disk";
        QTest::newRow("a full disk") << "full disk";
        // Room for the store's lock file, none for the store itself.
        QTest::newRow("a disk with one page free") << "one page free";
        QTest::newRow("a file-size limit at exit") << "size limit";
    }
    void DamagedStoreLeavesTheWindowUsable() {
        QFETCH(QString, damage);
        const bool read = damage != "pipe";  // otherwise the defaults hold
        const QString file = StoreFile();
        const QString folder = QFileInfo(file).path();
        const QByteArray readable("[Settings]\nLens=1\nglbShift=3\n");
        QVERIFY(QDir().mkpath(folder));
        if (damage == "pipe") {
            QFile::remove(file);
            QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0644), 0);
        } else if (damage == "size limit") {
            QVERIFY(WriteAll(file, readable));
        } else if (damage == "locked") {
            QVERIFY(WriteAll(file, readable));
            QFile::setPermissions(file, QFileDevice::ReadOwner);
            if (Writable(file)) QSKIP("this user writes files without write permission (root)");
        } else {
            disk_ = std::make_unique<TinyDisk>(QFile::encodeName(folder).toStdString(), 64 * 1024);
            if (!disk_->Mounted()) QSKIP("this user cannot mount a small disk for the test");
            QVERIFY(WriteAll(file, readable));
            const QString spare = folder + QStringLiteral("/spare");
            QVERIFY(WriteAll(spare, "x"));
            QVERIFY(damage == "read-only disk" ? disk_->MakeReadOnly() : disk_->Fill());
            if (damage == "one page free") QVERIFY(QFile::remove(spare));
        }
        // A time of its own, so that no cached reading of an earlier store is taken for it.
        std::error_code ignored;
        std::filesystem::last_write_time(
            QFile::encodeName(file).toStdString(),
            std::filesystem::file_time_type::clock::now() + std::chrono::hours(++store_changes_),
            ignored);

        const StartedWindow w = StartWindow(32);
        QVERIFY(w.window->isVisible());
        const TavsMod::Values& g = w.window->Globals();
        QCOMPARE(g.glbShift, read ? 3 : 6);
        QCOMPARE(g.glbWarp, 24);
        QVERIFY(g.Depth == TavsMod::kDefaultDepth);
        QCOMPARE(w.window->Settings().Lens, read ? 1 : 0);
        QCOMPARE(CheckedIndex(w.window->Menus().mnuRedBlue), read ? 1 : 0);
        QCOMPARE(CheckedIndex(w.window->Menus().mnuCue), 0);

        {
            // Room for the store's lock file (a process id, a name, a host and a machine
            // id), not for the seventeen keys of the store's new text.
            const auto limited = damage == "size limit" ? std::make_unique<FileSizeLimit>(150)
                                                        : std::unique_ptr<FileSizeLimit>();
            w.window->close();  // writes the store, or fails to without a word
        }
        QVERIFY(!w.window->isVisible());
        QVERIFY(w.prompts->messages.isEmpty());
        if (damage == "pipe") QVERIFY(QFileInfo(file).exists() && !QFileInfo(file).isFile());
        if (read) QCOMPARE(ReadAll(file), readable);
    }

  private:
    // Asked once, while the store is still a file: QSettings reads the store as soon
    // as it is made, which a pipe in its place would block.
    static QString StoreFile() {
        static const QString file =
            QSettings(QStringLiteral("Zarvik"), QStringLiteral("Zarvik")).fileName();
        return file;
    }

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<TinyDisk> disk_;
    int store_changes_ = 0;
};

ZARVIK_APP_TEST_MAIN(FaultsTest)
#include "app_faults_test.moc"
