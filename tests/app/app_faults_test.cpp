// Faults of the machine around the window: a save that the disk cannot take (full,
// over a file-size limit, read-only) keeps whatever file was there and leaves nothing
// beside it; a settings store that is a folder, a pipe or read-only leaves the window
// usable with the fallbacks the store's rules give.
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTest>
#include <filesystem>

#include "app/option_group.h"
#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"
#include "tests/support/disk_faults.h"

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

bool Writable(const QString& path) {
    return access(QFile::encodeName(path).constData(), W_OK) == 0;
}

const QByteArray kEarlier("the file that was there before");

// The save-failure message for `path`, and nothing else said.
void CheckSaveFailure(const RecordingPrompts& prompts, const QString& path) {
    QCOMPARE(prompts.messages.size(), 1);
    const RecordedMessage& message = prompts.messages.front();
    QCOMPARE(message.title, QStringLiteral("Zarvik"));
    QCOMPARE(message.icon, MessageIcon::None);
    const QString head = QStringLiteral("Error 75 saving file '") + path + "'\r\n";
    QVERIFY2(message.text.startsWith(head), qPrintable(message.text));
    QVERIFY(message.text.size() > head.size());
    QCOMPARE(prompts.beeps, 0);
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

    // The store's folder is put back as the other tests expect to find it.
    void cleanup() {
        disk_.reset();
        const QString file = StoreFile();
        const QString folder = QFileInfo(file).path();
        if (QFileInfo(folder).isFile()) QFile::remove(folder);
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (QFileInfo(file).isDir()) QDir(file).removeRecursively();
        if (QFileInfo(file).exists() && !QFileInfo(file).isFile()) QFile::remove(file);
        QDir().mkpath(folder);
        ClearStore();
    }

    // A save the machine cannot take says so and keeps the file that was there, with
    // nothing beside it. Pictures smaller than QSaveFile's buffer fail only in its
    // last flush, which it used to lose; larger ones fail in the middle of the write.
    void FailedSaveKeepsWhatWasThere_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QSize>("size");
        const auto row = [](const char* fault, QSize size) {
            QTest::addRow("%s, %dx%d", fault, size.width(), size.height()) << fault << size;
        };
        row("size limit a byte short", {90, 60});
        row("size limit a byte short", {200, 100});
        row("size limit of no byte, new file", {90, 60});
        row("full disk", {90, 60});
        row("full disk", {200, 100});
        row("read-only disk", {30, 20});
        row("inside a file", {30, 20});
        row("locked folder", {30, 20});
        row("locked file", {30, 20});
    }
    void FailedSaveKeepsWhatWasThere() {
        QFETCH(QString, fault);
        QFETCH(QSize, size);
        const StartedWindow w = OpenedWindow(size);
        const qint64 whole = SavedSize(w);
        QString folder = folder_->path();
        if (fault.endsWith(QStringLiteral("disk"))) {
            folder = MountDisk(256 * 1024);
            if (folder.isEmpty()) QSKIP("this user cannot mount a small disk for the test");
        }
        if (fault == "locked folder") {
            folder = folder_->filePath(QStringLiteral("locked"));
            QVERIFY(QDir().mkdir(folder));
        }
        const QString watched = folder + QStringLiteral("/keep.bmp");  // its bytes must stay
        const QString target = watched + (fault == "inside a file" ? "/out.bmp" : "");
        const bool earlier = !fault.endsWith(QStringLiteral("new file"));
        if (earlier) QVERIFY(WriteAll(watched, kEarlier));
        if (fault == "full disk") QVERIFY(disk_->Fill());
        if (fault == "read-only disk") QVERIFY(disk_->MakeReadOnly());
        const QString locked = fault == "locked folder" ? folder : watched;
        if (fault.startsWith(QStringLiteral("locked"))) {
            QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            if (Writable(locked))
                QSKIP("this user writes where write permission is missing (root)");
        }
        const QStringList entries = Entries(folder);

        w.prompts->answers.push_back(Chosen(target));
        {
            const auto limit = fault.startsWith(QStringLiteral("size limit"))
                                   ? std::make_unique<FileSizeLimit>(earlier ? whole - 1 : 0)
                                   : std::unique_ptr<FileSizeLimit>();
            w.window->Menus().mnuFileSaveAs->trigger();
        }
        QFile::setPermissions(
            locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        CheckSaveFailure(*w.prompts, target);
        QCOMPARE(QFileInfo::exists(watched), earlier);
        if (earlier) QCOMPARE(ReadAll(watched), kEarlier);
        QCOMPARE(Entries(folder), entries);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        if (fault.startsWith(QStringLiteral("size limit")) || fault == "full disk") {
            // The window is none the worse: the next save, with room, writes the picture.
            if (fault == "full disk") disk_->Empty();
            w.prompts->answers.push_back(Chosen(target));
            w.window->Menus().mnuFileSaveAs->trigger();
            QCOMPARE(w.prompts->messages.size(), 1);
            QCOMPARE(QFileInfo(target).size(), whole);
        }
    }

    // Saving "over" a pipe or a device through a temporary file would put a plain file
    // in its place (as root, even over /dev/null); writing into a pipe would wait for
    // a reader for ever.
    void SaveOntoAPipeOrADeviceLeavesItAlone_data() {
        QTest::addColumn<int>("type");
        QTest::newRow("pipe") << int(S_IFIFO);
        QTest::newRow("character device") << int(S_IFCHR);
    }
    void SaveOntoAPipeOrADeviceLeavesItAlone() {
        QFETCH(int, type);
        const QString target = folder_->filePath(QStringLiteral("special.bmp"));
        const QByteArray name = QFile::encodeName(target);
        // A null device of the test's own, so that a write that got through harms nothing.
        const auto mode = static_cast<mode_t>(type);
        if (mknod(name.constData(), mode | 0666, mode == S_IFCHR ? makedev(1, 3) : 0) != 0)
            QSKIP("this user cannot make such a file");
        const StartedWindow w = OpenedWindow(QSize(12, 7));

        w.prompts->answers.push_back(Chosen(target));
        w.window->Menus().mnuFileSaveAs->trigger();

        CheckSaveFailure(*w.prompts, target);
        QVERIFY(w.prompts->messages.front().text.contains(QStringLiteral("pipe")));
        struct stat info {};
        QCOMPARE(lstat(name.constData(), &info), 0);
        QCOMPARE(int(info.st_mode & S_IFMT), type);
    }

    // Whatever stands in the store's place, the window starts; a store it
    // cannot write is left whole (never cut short at exit), with nothing said.
    void DamagedStoreLeavesTheWindowUsable_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("read");  // the store is read; otherwise the defaults hold
        QTest::newRow("a folder in place of the file") << "folder" << false;
        QTest::newRow("a file in place of the folder") << "file" << false;
        // Reading a pipe would wait for a writer for ever.
        QTest::newRow("a pipe in place of the file") << "pipe" << false;
        QTest::newRow("a file without write permission") << "locked" << true;
        QTest::newRow("a read-only disk") << "read-only disk" << true;
        QTest::newRow("a full disk") << "full disk" << true;
        // Room for the store's lock file, none for the store itself.
        QTest::newRow("a disk with one page free") << "one page free" << true;
        QTest::newRow("a file-size limit at exit") << "size limit" << true;
    }
    void DamagedStoreLeavesTheWindowUsable() {
        QFETCH(QString, damage);
        QFETCH(bool, read);
        const QString file = StoreFile();
        const QString folder = QFileInfo(file).path();
        const QByteArray readable("[Settings]\nLens=1\nglbShift=3\n");
        QVERIFY(QDir().mkpath(folder));
        if (damage == "folder") {
            QFile::remove(file);
            QVERIFY(QDir().mkpath(file));
        } else if (damage == "file") {
            QVERIFY(QDir(folder).removeRecursively());
            QVERIFY(WriteAll(folder, "not a folder"));
        } else if (damage == "pipe") {
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
        if (damage == "folder") QVERIFY(QFileInfo(file).isDir());
        if (damage == "pipe") QVERIFY(QFileInfo(file).exists() && !QFileInfo(file).isFile());
        if (damage == "file") QCOMPARE(ReadAll(folder), QByteArray("not a folder"));
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

    StartedWindow OpenedWindow(QSize size) {
        const QString source = folder_->filePath(QStringLiteral("source.png"));
        TestPicture(size.width(), size.height()).save(source);
        StartedWindow w = StartWindow(32);
        w.window->OpenPicturePath(source);
        return w;
    }

    // The size of the file a save of the window's picture makes.
    qint64 SavedSize(const StartedWindow& w) {
        const QString probe = folder_->filePath(QStringLiteral("probe.bmp"));
        w.prompts->answers.push_back(Chosen(probe));
        w.window->Menus().mnuFileSaveAs->trigger();
        const qint64 size = QFileInfo(probe).size();
        QFile::remove(probe);
        return size;
    }

    // A tmpfs of `bytes` on a new folder; empty when it cannot be mounted.
    QString MountDisk(std::size_t bytes) {
        const QString folder = folder_->filePath(QStringLiteral("disk"));
        QDir().mkpath(folder);
        disk_ = std::make_unique<TinyDisk>(QFile::encodeName(folder).toStdString(), bytes);
        return disk_->Mounted() ? folder : QString();
    }

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<TinyDisk> disk_;
    int store_changes_ = 0;
};

ZARVIK_APP_TEST_MAIN(FaultsTest)
#include "app_faults_test.moc"
