// Open, Reload and Save As through the window with real files, and the faults of the
// machine around them: a file that became a pipe, saves onto a pipe or a device, and
// a settings store that is a pipe or cannot be written at exit. Which files are
// refused, and why, is the converter's tests' business: here nothing may hang, be
// lost or change in the window.
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QDateTime>
#include <QDir>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <filesystem>

#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"
#include "tests/support/disk_faults.h"

namespace {

std::filesystem::file_type TypeOf(const QString& path) {
    return std::filesystem::status(QFile::encodeName(path).toStdString()).type();
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

// Everything about the window that a refused file must leave as it was.
QVariantList StateOf(frmQelun& window) {
    QVariantList state{window.windowTitle(), window.CurrentFile(), window.size()};
    const core::Workspace& s = window.Surfaces();
    for (const platform::PictureSurface* surface : {&s.picOriginal, &s.picResult, &s.picDepth})
        state << pictureio::ImageFromBitmap(surface->Image(), window.GetDisplay());
    for (const QAction* action : window.findChildren<QAction*>())
        state << action->isEnabled() << action->isChecked();
    return state;
}

const QString kRefused =
    QStringLiteral("'\r\nPath/File access error: it is a device, pipe or socket, not a file");

}  // namespace

class FilesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(!StoreFile().isEmpty()); }

    void init() {
        ClearStore();
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
    }

    void cleanup() {
        disk_.reset();
        if (TypeOf(StoreFile()) == std::filesystem::file_type::fifo) QFile::remove(StoreFile());
        ClearStore();
    }

    // The twips rules size the window to the picture, but never narrower than its menu
    // bar (whose last commands would hide behind an overflow button) nor wider than
    // the screen's free area.
    void OpenSizesTheWindowBetweenMenuBarAndScreen() {
        const StartedWindow w = StartWindow();
        const QMenuBar& bar = *w.window->menuBar();
        for (QAction* action : bar.actions()) QVERIFY(!bar.actionGeometry(action).isEmpty());
        const int screen = QGuiApplication::primaryScreen()->availableSize().width();
        QVERIFY(bar.sizeHint().width() < 607 && 607 < screen);
        for (const auto& [width, expected] :
             {std::pair{3, bar.sizeHint().width()}, {600, 607}, {32767, screen}}) {
            const QString path = folder_->filePath(QStringLiteral("Пейзаж %1.png").arg(width));
            QVERIFY(TestPicture(width, 37).save(path));
            w.prompts->answers.push_back(path);
            w.window->Menus().mnuFileOpen->trigger();
            QCOMPARE(w.window->windowTitle(), QStringLiteral("Zarvik [Пейзаж %1.png]").arg(width));
            QCOMPARE(Shown(*w.window), TestPicture(width, 37));
            QCOMPARE(w.window->width(), expected);
            // (135 + 37 * 15 + 135 + 650) twips and the status line
            QCOMPARE(w.window->height(), 98 + w.window->statusBar()->sizeHint().height());
        }
    }

    // The opened file has since become a pipe, whose reading would wait for a writer
    // for ever. Reload (also a run's first step) puts back the picture that was
    // opened, without a word; opened anew, it is refused and nothing else changes.
    void FileTurnedPipeIsRefusedLeavingTheWindowAsItWas() {
        const QString path = folder_->filePath(QStringLiteral("pipe.png"));
        const StartedWindow w = StartWindow();
        QVERIFY(OpenNew(*w.window, path, TestPicture(21, 10)));
        const QVariantList opened = StateOf(*w.window);
        QVERIFY(QFile::remove(path));
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0644), 0);

        w.window->Surfaces().picOriginal.PSet(0, 0, platform::RGB(1, 2, 3));
        w.window->mnuFileReload_Click();
        QVERIFY(w.prompts->messages.isEmpty());
        QVERIFY(StateOf(*w.window) == opened);

        w.window->EnableReload(true);  // a finished conversion's state, which Open must keep
        const QVariantList before = StateOf(*w.window);
        w.prompts->answers.push_back(path);
        w.window->Menus().mnuFileOpen->trigger();
        QCOMPARE(w.prompts->messages, QStringList("Error 75 opening file '" + path + kRefused));
        QVERIFY(StateOf(*w.window) == before);
    }

    // A run's reload skips the decoder only for a file that still holds the bytes
    // the picture came from; a change that keeps the size and the time stamp must
    // still be seen, in the first piece compared, across a piece boundary and at the end.
    void ReloadSeesAChangeThatKeepsSizeAndTime_data() {
        QTest::addColumn<qint64>("offset");
        QTest::newRow("first pixel byte") << qint64(54);
        QTest::newRow("second megabyte's first byte") << (qint64(1) << 20);
        QTest::newRow("last pixel byte") << qint64(-2);  // rows end in one pad byte
    }
    void ReloadSeesAChangeThatKeepsSizeAndTime() {
        QFETCH(qint64, offset);
        const QString path = folder_->filePath(QStringLiteral("same-size.bmp"));
        const StartedWindow w = StartWindow();
        QVERIFY(
            OpenNew(*w.window, path, TestPicture(701, 500).convertToFormat(QImage::Format_RGB888)));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QDateTime stamp = file.fileTime(QFileDevice::FileModificationTime);
        QByteArray bytes = file.readAll();
        QVERIFY(bytes.size() > (qint64(1) << 20));
        if (offset < 0) offset += bytes.size();
        bytes[offset] = char(~bytes[offset]);
        QVERIFY(file.seek(0));
        QCOMPARE(file.write(bytes), bytes.size());
        file.close();
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(stamp, QFileDevice::FileModificationTime));
        file.close();
        w.window->mnuFileReload_Click();
        QCOMPARE(Shown(*w.window), QImage(path).convertToFormat(QImage::Format_RGB32));
    }

    void FileHoldsOnlyTheSameBytes() {
        const QString path = folder_->filePath(QStringLiteral("held"));
        const QByteArray bytes = QByteArray("picture bytes").repeated(1000);
        QVERIFY(WriteAll(path, bytes));
        QVERIFY(pictureio::FileHolds(path, bytes));
        QByteArray other = bytes;
        other[7000] = 'X';
        QVERIFY(!pictureio::FileHolds(path, other));
        QVERIFY(!pictureio::FileHolds(path, bytes.left(bytes.size() - 1)));
        QVERIFY(!pictureio::FileHolds(path, bytes + "!"));
        QVERIFY(!pictureio::FileHolds(folder_->filePath(QStringLiteral("missing")), bytes));
        QVERIFY(WriteAll(path, {}));
        QVERIFY(!pictureio::FileHolds(path, {}));
    }

    // Saving "over" a pipe or a device through a temporary file would put a plain
    // file in its place (as root, even over /dev/null); writing into a pipe would wait
    // for a reader for ever.
    void SaveOntoAPipeOrADeviceIsRefused_data() {
        QTest::addColumn<int>("type");
        QTest::newRow("pipe") << int(S_IFIFO);
        QTest::newRow("device") << int(S_IFCHR);
    }
    void SaveOntoAPipeOrADeviceIsRefused() {
        QFETCH(int, type);
        const StartedWindow w = StartWindow();
        QVERIFY(
            OpenNew(*w.window, folder_->filePath(QStringLiteral("source.png")), TestPicture(9, 6)));
        const QString target = folder_->filePath(QStringLiteral("keep.bmp"));
        // A null device of the test's own, so that a write that got through harms nothing.
        const dev_t device = type == S_IFCHR ? makedev(1, 3) : 0;
        if (mknod(QFile::encodeName(target).constData(), mode_t(type) | 0666, device) != 0)
            QSKIP("this user cannot make such a file");
        const QStringList entries = Entries(folder_->path());
        const std::filesystem::file_type kind = TypeOf(target);

        w.prompts->answers.push_back(target);
        w.window->Menus().mnuFileSaveAs->trigger();
        QCOMPARE(w.prompts->messages, QStringList("Error 75 saving file '" + target + kRefused));
        QCOMPARE(Entries(folder_->path()), entries);
        QVERIFY(TypeOf(target) == kind);
    }

    // Whatever stands in the store's place, the window starts and closes without a
    // word; a store it cannot write is left whole, never cut short at exit.
    void StoreThatCannotBeWrittenIsLeftWhole_data() {
        QTest::addColumn<QString>("damage");
        QTest::newRow("a pipe") << "pipe";  // reading it would wait for a writer for ever
        // Room for the store's lock file, none for the store itself.
        QTest::newRow("a disk with one page free") << "one page free";
    }
    void StoreThatCannotBeWrittenIsLeftWhole() {
        QFETCH(QString, damage);
        const QString file = StoreFile();
        const QString folder = QFileInfo(file).path();
        const QString spare = folder + QStringLiteral("/spare");
        const QByteArray readable("[Settings]\nLens=1\nglbShift=3\n");
        QVERIFY(QDir().mkpath(folder));
        if (damage == "pipe") {
            QFile::remove(file);
            QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0644), 0);
        } else {
            disk_ = std::make_unique<TinyDisk>(QFile::encodeName(folder).toStdString(), 64 * 1024);
            if (!disk_->Mounted()) QSKIP("this user cannot mount a small disk for the test");
            QVERIFY(WriteAll(spare, "x") && WriteAll(file, readable) && disk_->Fill());
            QVERIFY(QFile::remove(spare));
        }

        const StartedWindow w = StartWindow();
        const bool read = damage != "pipe";  // a pipe reads as an empty store
        QCOMPARE(w.window->Globals().glbShift, read ? 3 : 6);
        QCOMPARE(w.window->Settings().Lens, read ? 1 : 0);
        w.window->close();
        QVERIFY(w.prompts->messages.isEmpty());
        if (read) QCOMPARE(ReadAll(file), readable);
        if (!read) QVERIFY(TypeOf(file) == std::filesystem::file_type::fifo);
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
};

ZARVIK_APP_TEST_MAIN(FilesTest)
#include "app_files_test.moc"
