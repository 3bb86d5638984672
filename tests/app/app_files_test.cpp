// Open, Reload and Save As with real files in a temporary folder, opening a dropped
// file, and files a user should never have chosen: refused with the load-failure
// message, changing nothing else. Which files are refused, and why, is the
// converter's tests' business; here one of each message number.
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QUrl>

#include "app/surface_view.h"
#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"

namespace {

enum class Kind { Missing, File, Folder, Unreadable, Pipe };

// Puts the refused thing at `path`; false when this user can read it anyway.
bool Make(const QString& path, Kind kind, const QByteArray& bytes) {
    if (kind == Kind::Missing) return true;
    if (kind == Kind::Folder) return QDir().mkpath(path);
    if (kind == Kind::Pipe) return mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
    if (!WriteAll(path, bytes)) return false;
    if (kind != Kind::Unreadable) return true;
    QFile::setPermissions(path, QFileDevice::Permissions());
    return access(QFile::encodeName(path).constData(), R_OK) != 0;
}

// Everything about the window that a refused file must leave as it was: caption,
// file, size, the three loaded surfaces and every menu entry's state.
QVariantList StateOf(frmQelun& window) {
    QVariantList state{window.windowTitle(), window.CurrentFile(), window.size()};
    const core::Workspace& s = window.Surfaces();
    for (const platform::PictureSurface* surface : {&s.picOriginal, &s.picResult, &s.picDepth})
        state << pictureio::ImageFromBitmap(surface->Image(), window.GetDisplay());
    for (const QAction* action : window.findChildren<QAction*>())
        state << action->isEnabled() << action->isChecked();
    return state;
}

}  // namespace

Q_DECLARE_METATYPE(Kind)

class FilesTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        ClearStore();
        QVERIFY(folder_.isValid());
    }

    void OpenLoadsThePictureAndSizesTheWindow() {
        const QImage picture = TestPicture(61, 37);
        const QString path = folder_.filePath(QStringLiteral("tree.png"));
        QVERIFY(picture.save(path));
        const StartedWindow w = StartWindow(32);
        w.prompts->answers.push_back(Chosen(path));
        w.window->Menus().mnuFileOpen->trigger();

        QVERIFY(w.prompts->messages.isEmpty());
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Zarvik [tree.png]"));
        QCOMPARE(w.window->CurrentFile(), path);
        QCOMPARE(Shown(*w.window), picture.convertToFormat(QImage::Format_RGB32));
        const core::Workspace& s = w.window->Surfaces();
        for (const platform::PictureSurface* loaded : {&s.picOriginal, &s.picResult, &s.picDepth}) {
            QCOMPARE(loaded->ScaleWidth(), 61);
            QCOMPARE(loaded->ScaleHeight(), 37);
            QVERIFY(loaded->HasPicture());
        }
        QCOMPARE(w.window->OuterWidth(), WidthFor(*w.window, 10 + 61 * 15 + 95));
        QCOMPARE(w.window->height(), qRound((135 + 37 * 15 + 135 + 650) / 15.0));
        QCOMPARE(w.window->OriginalView()->size(), QSize(61, 37));
        QVERIFY(!w.window->Menus().mnuFileReload->isEnabled());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // The widest picture the grids hold, under names in other scripts: it opens,
    // converts, saves and reloads, and the window stops at the screen's free area.
    void WidestPictureOpensConvertsAndSaves() {
        const QString path = folder_.filePath(QStringLiteral("Пейзаж у реки.png"));
        QVERIFY(TestPicture(32767, 2).save(path));
        const StartedWindow w = StartWindow(32);
        w.prompts->answers.push_back(Chosen(path));
        w.window->Menus().mnuFileOpen->trigger();
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Zarvik [Пейзаж у реки.png]"));
        const QImage opened = Shown(*w.window);
        QCOMPARE(opened.size(), QSize(32767, 2));
        QCOMPARE(w.window->width(), QGuiApplication::primaryScreen()->availableSize().width());
        QCOMPARE(w.window->height(), qRound((135 + 2 * 15 + 135 + 650) / 15.0));

        w.window->Menus().mnuAnaglyph->trigger();
        QCOMPARE(w.window->Globals().glbBusy, 0);
        const QImage anaglyph = Shown(*w.window);
        QCOMPARE(anaglyph.size(), QSize(32767, 2));
        QVERIFY(anaglyph != opened);
        const QString saved = folder_.filePath(QStringLiteral("結果 é.bmp"));
        w.prompts->answers.push_back(Chosen(saved));
        w.window->Menus().mnuFileSaveAs->trigger();
        QVERIFY2(w.prompts->messages.isEmpty(), qPrintable(w.prompts->messages.value(0).text));
        QCOMPARE(QImage(saved).convertToFormat(QImage::Format_RGB32), anaglyph);
        w.window->Menus().mnuFileReload->trigger();
        QCOMPARE(Shown(*w.window), opened);
    }

    void EachDialogStartsInTheFolderOfTheLastChoice() {
        QDir(folder_.path()).mkdir(QStringLiteral("pics"));
        const QString path = folder_.filePath(QStringLiteral("pics/a.bmp"));
        QVERIFY(TestPicture(8, 8).save(path));
        const StartedWindow w = StartWindow(32);
        w.prompts->answers.push_back(Chosen(path));
        w.window->mnuFileOpen_Click();
        w.window->mnuFileSaveAs_Click();  // cancelled
        w.prompts->answers.push_back(Chosen(folder_.filePath(QStringLiteral("out.bmp"))));
        w.window->mnuFileSaveAs_Click();
        w.window->mnuFileOpen_Click();  // cancelled
        QCOMPARE(w.prompts->file_dialogs.size(), 4);
        QCOMPARE(w.prompts->file_dialogs[0].initial_folder, QString());
        QCOMPARE(w.prompts->file_dialogs[1].initial_folder,
                 folder_.filePath(QStringLiteral("pics")));
        QVERIFY(w.prompts->file_dialogs[1].save);
        QCOMPARE(w.prompts->file_dialogs[2].initial_folder,
                 folder_.filePath(QStringLiteral("pics")));
        QCOMPARE(w.prompts->file_dialogs[3].initial_folder, folder_.path());
    }

    // A cancelled file dialog ends its command without a word; one that failed beeps
    // and says so.
    void CancelledOrFailedDialogChangesNothing() {
        const StartedWindow w = StartWindow(32);
        const QSize size = w.window->size();
        const std::array commands{w.window->Menus().mnuFileOpen, w.window->Menus().mnuFileSaveAs};
        for (QAction* command : commands) command->trigger();
        QVERIFY(w.prompts->messages.isEmpty());
        QCOMPARE(w.prompts->beeps, 0);
        for (QAction* command : commands) {
            w.prompts->answers.push_back({FileChoice::Outcome::Failed, {}});
            command->trigger();
        }
        QCOMPARE(w.prompts->beeps, 2);
        QCOMPARE(w.prompts->messages.size(), 2);
        for (const RecordedMessage& message : w.prompts->messages) {
            QCOMPARE(message.title, QStringLiteral("Zarvik"));
            QCOMPARE(message.text, QStringLiteral("Error selecting file."));
            QCOMPARE(message.icon, MessageIcon::Exclamation);
        }
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Zarvik Fast 2D 2 3D"));
        QVERIFY(w.window->CurrentFile().isEmpty());
        QVERIFY(!w.window->Surfaces().picOriginal.HasPicture());
        QCOMPARE(w.window->size(), size);
    }

    void RefusedFileChangesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char* tag, const char* name, Kind kind, int number,
                            const char* reason, const QByteArray& bytes = {}) {
            QTest::newRow(tag) << QString::fromUtf8(name) << kind << bytes << number << reason;
        };
        row("missing", "gone.jpg", Kind::Missing, 53, "File not found");
        row("text, cjk name", "壊れた 写真.png", Kind::File, 481, "Invalid picture", "テキスト\n");
        row("folder", "folder.png", Kind::Folder, 75, "folder");
        row("unreadable", "locked.png", Kind::Unreadable, 70, "Permission denied", "x");
        // Reading would wait for a writer for ever.
        row("pipe", "pipe.png", Kind::Pipe, 75, "device, pipe or socket");
    }
    // The file opened earlier has since become the refused thing: Reload (also a run's
    // first step) puts back the picture that was opened, without a word. Opened anew,
    // it is refused with the load-failure message.
    void RefusedFileChangesNothing() {
        QFETCH(QString, name);
        QFETCH(Kind, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(int, number);
        QFETCH(QString, reason);
        const QString path = folder_.filePath(name);
        QVERIFY(TestPicture(20, 10).save(path, "PNG"));
        const StartedWindow w = StartWindow(32);
        w.window->OpenPicturePath(path);
        const QVariantList opened = StateOf(*w.window);
        QVERIFY(QFile::remove(path));
        if (!Make(path, kind, bytes)) QSKIP("this user reads files without read permission (root)");

        w.window->Surfaces().picOriginal.PSet(0, 0, platform::RGB(1, 2, 3));
        w.window->EnableReload(true);
        w.window->Menus().mnuFileReload->trigger();
        QVERIFY(w.prompts->messages.isEmpty());
        QVERIFY(StateOf(*w.window) == opened);

        w.window->EnableReload(true);  // a finished conversion's state, which Open must keep
        const QVariantList before = StateOf(*w.window);
        w.prompts->answers.push_back(Chosen(path));
        w.window->Menus().mnuFileOpen->trigger();
        QCOMPARE(w.prompts->messages.size(), 1);
        const RecordedMessage& message = w.prompts->messages.front();
        QCOMPARE(message.title, QStringLiteral("Zarvik"));
        QCOMPARE(message.icon, MessageIcon::None);
        const QString head = QStringLiteral("Error %1 opening file '%2'\r\n").arg(number).arg(path);
        QVERIFY2(message.text.startsWith(head), qPrintable(message.text));
        const QString description = message.text.mid(head.size());
        QVERIFY2(description.contains(reason) && !description.contains(u'\n'),
                 qPrintable(message.text));
        QCOMPARE(w.prompts->beeps, 0);
        QVERIFY(StateOf(*w.window) == before);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void ReloadReadsTheFileAgainWithoutOtherChanges() {
        const QString path = folder_.filePath(QStringLiteral("r.png"));
        QVERIFY(TestPicture(30, 20).save(path));
        const StartedWindow w = StartWindow(32);
        w.window->OpenPicturePath(path);
        const QSize size = w.window->size();
        const QImage changed = MakeImage(30, 20, [](int x, int) { return QColor(x * 8, 0, 255); });
        QVERIFY(changed.save(path));
        w.window->EnableReload(true);
        w.window->Menus().mnuFileReload->trigger();
        QCOMPARE(Shown(*w.window), changed);
        QCOMPARE(pictureio::ImageFromBitmap(w.window->Surfaces().picDepth.Image(),
                                            w.window->GetDisplay()),
                 changed);
        QVERIFY(!w.window->Menus().mnuFileReload->isEnabled());
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Zarvik [r.png]"));
        QCOMPARE(w.window->size(), size);
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
        const QString path = folder_.filePath(QStringLiteral("same-size.bmp"));
        QVERIFY(TestPicture(701, 500).convertToFormat(QImage::Format_RGB888).save(path, "BMP"));
        const StartedWindow w = StartWindow(32);
        w.window->OpenPicturePath(path);
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
        const QString path = folder_.filePath(QStringLiteral("held"));
        const QByteArray bytes = QByteArray("picture bytes").repeated(1000);
        QVERIFY(WriteAll(path, bytes));
        QVERIFY(pictureio::FileHolds(path, bytes));
        QByteArray other = bytes;
        other[7000] = 'X';
        QVERIFY(!pictureio::FileHolds(path, other));
        QVERIFY(!pictureio::FileHolds(path, bytes.left(bytes.size() - 1)));
        QVERIFY(!pictureio::FileHolds(path, bytes + "!"));
        QVERIFY(!pictureio::FileHolds(folder_.path(), bytes));
        QVERIFY(!pictureio::FileHolds(folder_.filePath(QStringLiteral("missing")), bytes));
        QVERIFY(WriteAll(path, {}));
        QVERIFY(!pictureio::FileHolds(path, {}));
    }

    void ReloadWithNothingOpenedDoesNothing() {
        const StartedWindow w = StartWindow(32, false);  // as designed, ReLoad enabled
        w.window->mnuFileReload_Click();
        QVERIFY(w.window->Menus().mnuFileReload->isEnabled());
        QVERIFY(!w.window->Surfaces().picOriginal.HasPicture());
    }

    void SavingBeforeAnyPictureIsOpenedFails() {
        const StartedWindow w = StartWindow(32);
        const QString target = folder_.filePath(QStringLiteral("nothing.bmp"));
        w.prompts->answers.push_back(Chosen(target));
        w.window->mnuFileSaveAs_Click();
        QCOMPARE(w.prompts->messages.size(), 1);
        QVERIFY(w.prompts->messages.front().text.startsWith(
            QStringLiteral("Error 481 saving file '") + target + "'\r\n"));
        QVERIFY(!QFileInfo::exists(target));
    }

    // A drag that carries a local file is taken and its drop opens the file; a drag
    // of anything else is refused.
    void DroppingAFileOpensIt() {
        const QString path = folder_.filePath(QStringLiteral("dropped.bmp"));
        QVERIFY(TestPicture(25, 15).save(path));
        const StartedWindow w = StartWindow(32);
        QMimeData text;
        text.setText(QStringLiteral("hello"));
        QMimeData file;
        file.setUrls({QUrl::fromLocalFile(path)});
        for (QMimeData* data : {&text, &file}) {
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton,
                                  Qt::NoModifier);
            enter.setAccepted(false);
            QCoreApplication::sendEvent(w.window.get(), &enter);
            QCOMPARE(enter.isAccepted(), data == &file);
        }
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w.window.get(), &drop);
        QVERIFY(drop.isAccepted());
        QTRY_COMPARE(w.window->windowTitle(), QStringLiteral("Zarvik [dropped.bmp]"));
        QCOMPARE(w.window->CurrentFile(), path);
        QCOMPARE(w.window->Surfaces().picOriginal.ScaleWidth(), 25);
    }

  private:
    QTemporaryDir folder_;
};

ZARVIK_APP_TEST_MAIN(FilesTest)
#include "app_files_test.moc"
