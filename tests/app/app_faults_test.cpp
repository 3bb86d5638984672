// Faults of the machine around the window: a save that the disk cannot take (full,
// over a file-size limit, read-only) keeps whatever file was there and leaves nothing
// beside it; a settings store that is noise, nonsense, a folder or read-only leaves
// the window usable with the fallbacks the store's rules give.
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTest>
#include <filesystem>
#include <random>

#include "app/option_group.h"
#include "app/picture_io.h"
#include "tests/app/app_test_main.h"
#include "tests/app/disk_faults.h"
#include "tests/app/window_fixture.h"

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

QImage Shown(frmQelun& window) {
    return pictureio::ImageFromBitmap(window.Surfaces().picOriginal.Image(), window.GetDisplay());
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

struct Fallbacks {
    std::int16_t glbShift;
    std::int16_t glbWarp;
    std::int16_t depth_levels;  // every Depth level holds it, or -1: the default levels
    std::int16_t Lens;
};

constexpr Fallbacks kDefaults{6, 24, -1, 0};
constexpr Fallbacks kZeros{0, 0, 0, 0};

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

    // Pictures smaller than QSaveFile's buffer fail only in its last flush, which it
    // used to lose; larger ones fail in the middle of the write.
    void SaveOverAFileSizeLimitKeepsWhatWasThere_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qint64>("limit");  // below 0: the whole file's size less this
        QTest::addColumn<bool>("earlier");
        QTest::newRow("small, 1 KB, over a file") << QSize(90, 60) << qint64(1024) << true;
        QTest::newRow("small, a byte short, over a file") << QSize(90, 60) << qint64(-1) << true;
        QTest::newRow("small, a byte short, new file") << QSize(90, 60) << qint64(-1) << false;
        QTest::newRow("small, no byte at all, new file") << QSize(90, 60) << qint64(0) << false;
        QTest::newRow("large, 1 KB, over a file") << QSize(200, 100) << qint64(1024) << true;
        QTest::newRow("large, a byte short, over a file") << QSize(200, 100) << qint64(-1) << true;
    }
    void SaveOverAFileSizeLimitKeepsWhatWasThere() {
        QFETCH(QSize, size);
        QFETCH(qint64, limit);
        QFETCH(bool, earlier);
        const StartedWindow w = OpenedWindow(size);
        const QString probe = folder_->filePath(QStringLiteral("probe.bmp"));
        w.prompts->answers.push_back(Chosen(probe));
        w.window->mnuFileSaveAs_Click();
        const qint64 whole = QFileInfo(probe).size();
        QVERIFY(QFile::remove(probe));
        const QString target = folder_->filePath(QStringLiteral("keep.bmp"));
        if (earlier) QVERIFY(WriteAll(target, kEarlier));
        const QStringList entries = Entries(folder_->path());

        w.prompts->answers.push_back(Chosen(target));
        {
            const FileSizeLimit limited(static_cast<rlim_t>(limit >= 0 ? limit : whole + limit));
            w.window->mnuFileSaveAs_Click();
        }

        CheckSaveFailure(*w.prompts, target);
        QCOMPARE(QFileInfo::exists(target), earlier);
        if (earlier) QCOMPARE(ReadAll(target), kEarlier);
        QCOMPARE(Entries(folder_->path()), entries);
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Zarvik [keep.bmp]"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);

        // The window is none the worse: the next save, with room, writes the picture.
        w.prompts->answers.push_back(Chosen(target));
        w.window->mnuFileSaveAs_Click();
        QCOMPARE(w.prompts->messages.size(), 1);
        QCOMPARE(QFileInfo(target).size(), whole);
    }

    void SaveToAFullDiskKeepsWhatWasThere_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("smaller than the write buffer") << QSize(90, 60);
        QTest::newRow("larger than the write buffer") << QSize(200, 100);
    }
    void SaveToAFullDiskKeepsWhatWasThere() {
        QFETCH(QSize, size);
        const QString disk = MountDisk(256 * 1024);
        if (disk.isEmpty()) QSKIP("this user cannot mount a small disk for the test");
        const QString target = disk + QStringLiteral("/keep.bmp");
        QVERIFY(WriteAll(target, kEarlier));
        QVERIFY(disk_->Fill());
        const StartedWindow w = OpenedWindow(size);

        w.prompts->answers.push_back(Chosen(target));
        w.window->mnuFileSaveAs_Click();

        CheckSaveFailure(*w.prompts, target);
        QCOMPARE(ReadAll(target), kEarlier);
        QCOMPARE(Entries(disk),
                 (QStringList{QStringLiteral("filler"), QStringLiteral("keep.bmp")}));

        disk_->Empty();
        w.prompts->answers.push_back(Chosen(target));
        w.window->mnuFileSaveAs_Click();
        QCOMPARE(w.prompts->messages.size(), 1);
        QImage saved;
        QVERIFY(saved.load(target, "BMP"));
        QCOMPARE(saved.size(), size);
    }

    void SaveToAReadOnlyPlaceKeepsWhatWasThere_data() {
        QTest::addColumn<QString>("place");
        QTest::newRow("inside a file") << "inside a file";
        QTest::newRow("folder without write permission") << "locked folder";
        QTest::newRow("file without write permission") << "locked file";
        QTest::newRow("read-only disk") << "read-only disk";
    }
    void SaveToAReadOnlyPlaceKeepsWhatWasThere() {
        QFETCH(QString, place);
        QString target;
        QString watched;  // the file whose bytes must not change
        if (place == "inside a file") {
            watched = folder_->filePath(QStringLiteral("plain"));
            target = watched + QStringLiteral("/out.bmp");
        } else if (place == "read-only disk") {
            const QString disk = MountDisk(64 * 1024);
            if (disk.isEmpty()) QSKIP("this user cannot mount a small disk for the test");
            watched = target = disk + QStringLiteral("/out.bmp");
        } else {
            QVERIFY(QDir(folder_->path()).mkdir(QStringLiteral("locked")));
            watched = target = folder_->filePath(QStringLiteral("locked/out.bmp"));
        }
        QVERIFY(WriteAll(watched, kEarlier));
        if (place == "read-only disk") QVERIFY(disk_->MakeReadOnly());
        const QString locked = place == "locked folder" ? QFileInfo(target).path() : watched;
        if (place.startsWith("locked")) {
            QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            if (Writable(locked))
                QSKIP("this user writes where write permission is missing (root)");
        }
        const StartedWindow w = OpenedWindow(QSize(30, 20));
        const QStringList entries = Entries(QFileInfo(watched).path());

        w.prompts->answers.push_back(Chosen(target));
        w.window->mnuFileSaveAs_Click();
        QFile::setPermissions(
            locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        CheckSaveFailure(*w.prompts, target);
        QCOMPARE(ReadAll(watched), kEarlier);
        QCOMPARE(Entries(QFileInfo(watched).path()), entries);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
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
        w.window->mnuFileSaveAs_Click();

        CheckSaveFailure(*w.prompts, target);
        QVERIFY(w.prompts->messages.front().text.contains(QStringLiteral("pipe")));
        struct stat info {};
        QCOMPARE(lstat(name.constData(), &info), 0);
        QCOMPARE(int(info.st_mode & S_IFMT), type);
    }

    void DamagedStoreLeavesTheWindowUsable_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("fallbacks");  // 0 the defaults, 1 zeros, 2 the read-only store's
        QTest::newRow("random bytes") << "random" << 0;
        QTest::newRow("unreadable values") << "values" << 1;
        QTest::newRow("a folder in place of the file") << "folder" << 0;
        QTest::newRow("a file in place of the folder") << "file" << 0;
        // Reading a pipe would wait for a writer for ever.
        QTest::newRow("a pipe in place of the file") << "pipe" << 0;
        QTest::newRow("a file without write permission") << "locked" << 2;
        QTest::newRow("a read-only disk") << "read-only disk" << 2;
        QTest::newRow("a full disk") << "full disk" << 2;
        // Room for the store's lock file, none for the store itself.
        QTest::newRow("a disk with one page free") << "one page free" << 2;
        QTest::newRow("a file-size limit at exit") << "size limit" << 2;
    }
    void DamagedStoreLeavesTheWindowUsable() {
        QFETCH(QString, damage);
        QFETCH(int, fallbacks);
        const QString file = StoreFile();
        const QString folder = QFileInfo(file).path();
        const QByteArray readable("[Settings]\nLens=1\nglbShift=3\n");
        QVERIFY(QDir().mkpath(folder));
        const QByteArray noise = RandomBytes(8192);
        QVERIFY(!noise.contains("Settings"));
        if (damage == "random") {
            QVERIFY(WriteAll(file, noise));
        } else if (damage == "values") {
            QVERIFY(WriteAll(file, UnreadableValues()));
        } else if (damage == "folder") {
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
        CheckFallbacks(*w.window, fallbacks == 0   ? kDefaults
                                  : fallbacks == 1 ? kZeros
                                                   : Fallbacks{3, 24, -1, 1});

        const QString picture = folder_->filePath(QStringLiteral("p.png"));
        QVERIFY(TestPicture(23, 17).save(picture));
        w.window->OpenPicturePath(picture);
        const QImage opened = Shown(*w.window);
        w.window->Menus().mnuAnaglyph->trigger();
        QCOMPARE(w.window->Globals().glbBusy, 0);
        QVERIFY(Shown(*w.window) != opened);
        QVERIFY(w.prompts->messages.isEmpty());

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
        if (fallbacks == 2) QCOMPARE(ReadAll(file), readable);
        if (damage == "values") {
            QCOMPARE(StoredSetting(QStringLiteral("glbShift")), QStringLiteral("0"));
            QCOMPARE(StoredSetting(QStringLiteral("DoShift")), QStringLiteral("False"));
        }
    }

  private:
    // Asked once, while the store is still a file: QSettings reads the store as soon
    // as it is made, which a pipe in its place would block.
    static QString StoreFile() {
        static const QString file =
            QSettings(QStringLiteral("Zarvik"), QStringLiteral("Zarvik")).fileName();
        return file;
    }

    static QByteArray RandomBytes(int count) {
        std::mt19937 random(20240601);
        QByteArray bytes(count, '\0');
        for (char& b : bytes) b = static_cast<char>(random() & 0xff);
        return bytes;
    }

    // Every key present, none of them holding a text that reads as its field's type.
    static QByteArray UnreadableValues() {
        return QByteArray(
                   "[Settings]\nglbShift=abc\nglbWarp=99999999999999999999\n"
                   "Depth4=@Invalid()\nDepth3=1, 2\nDepth2=@ByteArray(\\xff\\xfe)\n"
                   "Depth1=1e400\nDepth0=nan\nDoWarp=maybe\n"
                   "DoShift=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x5nosuch)\n"
                   "CueColor=\\x1\\x2\nDepthCue=\nBlurChoice=ninety\nLens=@Rect(1 2 3 4)\n"
                   "FrameColor=") +
               QByteArray(100000, '9') + "\nShowFrame=--1\nFrameType=1 1\nCue=\"\n";
    }

    static void CheckFallbacks(frmQelun& window, const Fallbacks& expected) {
        const TavsMod::Values& g = window.Globals();
        const core::ConversionSettings& s = window.Settings();
        QCOMPARE(g.glbShift, expected.glbShift);
        QCOMPARE(g.glbWarp, expected.glbWarp);
        const auto levels =
            expected.depth_levels < 0
                ? TavsMod::kDefaultDepth
                : std::array<std::int16_t, 5>{expected.depth_levels, expected.depth_levels,
                                              expected.depth_levels, expected.depth_levels,
                                              expected.depth_levels};
        QVERIFY(g.Depth == levels);
        QCOMPARE(g.glbBusy, 0);
        QVERIFY(s == (core::ConversionSettings{0, 0, 0, 0, expected.Lens, 0, 0, 0, false, false}));
        const MainMenus& m = window.Menus();
        QCOMPARE(CheckedIndex(m.mnuCue), 0);
        QCOMPARE(CheckedIndex(m.mnuBlur), 0);
        QCOMPARE(CheckedIndex(m.mnuRedBlue), static_cast<int>(expected.Lens));
        QCOMPARE(CheckedIndex(m.mnuBlackWhite), 0);
        QCOMPARE(CheckedIndex(m.mnuFrameYesNo), 0);
        QCOMPARE(CheckedIndex(m.mnuFrameFull), 0);
        QVERIFY(!m.mnuWarp->isChecked());
        QVERIFY(!m.mnuShift->isChecked());
    }

    StartedWindow OpenedWindow(QSize size) {
        const QString source = folder_->filePath(QStringLiteral("source.png"));
        TestPicture(size.width(), size.height()).save(source);
        StartedWindow w = StartWindow(32);
        w.window->OpenPicturePath(source);
        return w;
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
