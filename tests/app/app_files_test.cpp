// Open, Reload and Save As with real files in a temporary folder, and opening a
// dropped file.
#include <sys/resource.h>
#include <QDateTime>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QUrl>
#include <csignal>

#include "app/picture_io.h"
#include "app/surface_view.h"
#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"
#include "tests/support/disk_faults.h"

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QImage ShownPicture(frmQelun& window) {
    return pictureio::ImageFromBitmap(window.Surfaces().picOriginal.Image(), window.GetDisplay());
}

}  // namespace

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
        QCOMPARE(w.window->InitialFolder(), folder_.path());
        QCOMPARE(ShownPicture(*w.window), picture.convertToFormat(QImage::Format_RGB32));
        const core::Workspace& s = w.window->Surfaces();
        for (const platform::PictureSurface* loaded : {&s.picOriginal, &s.picResult, &s.picDepth}) {
            QCOMPARE(loaded->ScaleWidth(), 61);
            QCOMPARE(loaded->ScaleHeight(), 37);
            QVERIFY(loaded->HasPicture());
        }
        QCOMPARE(s.picDepth.Top(), 135 + 37 * 15 + 40);
        QCOMPARE(s.picDepth.Left(), -10000);
        QCOMPARE(s.picResult.Left(), 10 + 61 * 15 + 40);
        QCOMPARE(s.picResult.Top(), 240);
        QCOMPARE(w.window->OuterWidth(), WidthFor(*w.window, 10 + 61 * 15 + 95));
        QCOMPARE(w.window->height(), qRound((135 + 37 * 15 + 135 + 650) / 15.0));
        QCOMPARE(w.window->OriginalView()->geometry(), QRect(1, 9, 61, 37));
        QVERIFY(!w.window->Menus().mnuFileReload->isEnabled());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void WindowForAPictureLargerThanTheScreenStopsAtTheScreen() {
        const QSize screen = QGuiApplication::primaryScreen()->availableSize();
        const QString path = folder_.filePath(QStringLiteral("large.png"));
        QVERIFY(TestPicture(screen.width() + 50, 20).save(path));
        const StartedWindow w = StartWindow(32);
        w.window->OpenPicturePath(path);
        QCOMPARE(w.window->width(), screen.width());
        QCOMPARE(w.window->height(), qRound((135 + 20 * 15 + 135 + 650) / 15.0));
        QCOMPARE(w.window->Surfaces().picOriginal.ScaleWidth(), screen.width() + 50);
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

    void CancelledOpenChangesNothing() {
        const StartedWindow w = StartWindow(32);
        const QSize size = w.window->size();
        w.window->mnuFileOpen_Click();
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Zarvik Fast 2D 2 3D"));
        QVERIFY(w.window->CurrentFile().isEmpty());
        QVERIFY(!w.window->Surfaces().picOriginal.HasPicture());
        QCOMPARE(w.window->size(), size);
        QVERIFY(w.prompts->messages.isEmpty());
        QCOMPARE(w.prompts->beeps, 0);
    }

    void FailedDialogBeepsAndSaysSo() {
        const StartedWindow w = StartWindow(32);
        for (QAction* command : {w.window->Menus().mnuFileOpen, w.window->Menus().mnuFileSaveAs}) {
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
    }

    void UnreadableFileIsReportedAndChangesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("number");
        QTest::newRow("empty file") << "e.bmp" << QByteArray() << 481;
        QTest::newRow("missing file") << "" << QByteArray() << 53;
    }
    void UnreadableFileIsReportedAndChangesNothing() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, number);
        const QString good = folder_.filePath(QStringLiteral("good.bmp"));
        QVERIFY(TestPicture(20, 10).save(good));
        QString bad = folder_.filePath(name.isEmpty() ? QStringLiteral("gone.jpg") : name);
        if (!name.isEmpty()) WriteAll(bad, content);
        const StartedWindow w = StartWindow(32);
        w.window->OpenPicturePath(good);
        const QSize size = w.window->size();
        w.prompts->answers.push_back(Chosen(bad));
        w.window->mnuFileOpen_Click();

        QCOMPARE(w.prompts->messages.size(), 1);
        const RecordedMessage& message = w.prompts->messages.front();
        QCOMPARE(message.title, QStringLiteral("Zarvik"));
        QCOMPARE(message.icon, MessageIcon::None);
        const QStringList lines = message.text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("Error %1 opening file '%2'").arg(number).arg(bad));
        QVERIFY(!lines[1].isEmpty());
        QCOMPARE(w.prompts->beeps, 0);
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Zarvik [good.bmp]"));
        QCOMPARE(w.window->CurrentFile(), good);
        QCOMPARE(w.window->Surfaces().picOriginal.ScaleWidth(), 20);
        QCOMPARE(w.window->size(), size);
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
        QCOMPARE(ShownPicture(*w.window), changed);
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
        QCOMPARE(ShownPicture(*w.window), QImage(path).convertToFormat(QImage::Format_RGB32));
    }

    void FileHoldsOnlyTheSameBytes() {
        const QString path = folder_.filePath(QStringLiteral("held"));
        const QByteArray bytes = QByteArray("picture bytes").repeated(1000);
        WriteAll(path, bytes);
        QVERIFY(pictureio::FileHolds(path, bytes));
        QByteArray other = bytes;
        other[7000] = 'X';
        QVERIFY(!pictureio::FileHolds(path, other));
        QVERIFY(!pictureio::FileHolds(path, bytes.left(bytes.size() - 1)));
        QVERIFY(!pictureio::FileHolds(path, bytes + "!"));
        QVERIFY(!pictureio::FileHolds(folder_.path(), bytes));
        QVERIFY(!pictureio::FileHolds(folder_.filePath(QStringLiteral("missing")), bytes));
        WriteAll(path, {});
        QVERIFY(!pictureio::FileHolds(path, {}));
    }

    void ReloadOfAFileGoneKeepsThePictureOpened() {
        const QString path = folder_.filePath(QStringLiteral("gone.png"));
        const QImage picture = TestPicture(12, 9);
        QVERIFY(picture.save(path));
        const StartedWindow w = StartWindow(32);
        w.window->OpenPicturePath(path);
        w.window->Surfaces().picOriginal.PSet(0, 0, platform::RGB(1, 2, 3));
        QVERIFY(QFile::remove(path));
        w.window->mnuFileReload_Click();
        QCOMPARE(ShownPicture(*w.window), picture.convertToFormat(QImage::Format_RGB32));
        QVERIFY(w.prompts->messages.isEmpty());
    }

    void ReloadWithNothingOpenedDoesNothing() {
        const StartedWindow w = StartWindow(32, false);  // as designed, ReLoad enabled
        w.window->mnuFileReload_Click();
        QVERIFY(w.window->Menus().mnuFileReload->isEnabled());
        QVERIFY(!w.window->Surfaces().picOriginal.HasPicture());
    }

    void SaveAsWritesAWindowsBitmapWhateverTheName() {
        const QString source = folder_.filePath(QStringLiteral("s.png"));
        const QImage picture = TestPicture(33, 17);
        QVERIFY(picture.save(source));
        const StartedWindow w = StartWindow(32);
        w.window->OpenPicturePath(source);
        const QString target = folder_.filePath(QStringLiteral("out.jpg"));
        w.prompts->answers.push_back(Chosen(target));
        w.window->Menus().mnuFileSaveAs->trigger();

        QVERIFY(w.prompts->messages.isEmpty());
        const QByteArray bytes = ReadAll(target);
        QVERIFY(bytes.startsWith("BM"));
        QImage saved;
        QVERIFY(saved.loadFromData(bytes, "BMP"));
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32),
                 picture.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Zarvik [out.jpg]"));
        QCOMPARE(w.window->CurrentFile(), source);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void FailedSaveKeepsTheExistingFileAndSaysSo() {
        const QString source = folder_.filePath(QStringLiteral("big.png"));
        QVERIFY(TestPicture(200, 100).save(source));
        const QString target = folder_.filePath(QStringLiteral("keep.bmp"));
        const QByteArray old_bytes("the file that was there before");
        WriteAll(target, old_bytes);
        const StartedWindow w = StartWindow(32);
        w.window->OpenPicturePath(source);
        w.prompts->answers.push_back(Chosen(target));
        {
            const FileSizeLimit limit(4096);
            w.window->mnuFileSaveAs_Click();
        }
        QCOMPARE(ReadAll(target), old_bytes);
        // and no temporary file beside it
        QCOMPARE(
            QDir(folder_.path()).entryList({QStringLiteral("keep*")}, QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("keep.bmp")});
        QCOMPARE(w.prompts->messages.size(), 1);
        const RecordedMessage& message = w.prompts->messages.front();
        QCOMPARE(message.title, QStringLiteral("Zarvik"));
        QCOMPARE(message.icon, MessageIcon::None);
        QVERIFY(
            message.text.startsWith(QStringLiteral("Error 75 saving file '") + target + "'\r\n"));
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Zarvik [keep.bmp]"));
    }

    void SavingOntoAFolderFails() {
        const QString source = folder_.filePath(QStringLiteral("p.png"));
        QVERIFY(TestPicture(5, 5).save(source));
        QDir(folder_.path()).mkdir(QStringLiteral("dir.bmp"));
        const StartedWindow w = StartWindow(32);
        w.window->OpenPicturePath(source);
        w.prompts->answers.push_back(Chosen(folder_.filePath(QStringLiteral("dir.bmp"))));
        w.window->mnuFileSaveAs_Click();
        QCOMPARE(w.prompts->messages.size(), 1);
        QVERIFY(
            w.prompts->messages.front().text.startsWith(QStringLiteral("Error 75 saving file")));
        QVERIFY(QFileInfo(folder_.filePath(QStringLiteral("dir.bmp"))).isDir());
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

    void DroppingAFileOpensIt() {
        const QString path = folder_.filePath(QStringLiteral("dropped.bmp"));
        const QImage picture = TestPicture(25, 15);
        QVERIFY(picture.save(path));
        const StartedWindow w = StartWindow(32);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(w.window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w.window.get(), &drop);
        QVERIFY(drop.isAccepted());
        QTRY_COMPARE(w.window->windowTitle(), QStringLiteral("Zarvik [dropped.bmp]"));
        QCOMPARE(w.window->CurrentFile(), path);
        QCOMPARE(ShownPicture(*w.window), picture.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(w.window->OuterWidth(), WidthFor(*w.window, 10 + 25 * 15 + 95));
    }

    void DraggingSomethingElseIsRefused() {
        const StartedWindow w = StartWindow(32);
        QMimeData data;
        data.setText(QStringLiteral("hello"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(false);
        QCoreApplication::sendEvent(w.window.get(), &enter);
        QVERIFY(!enter.isAccepted());
    }

  private:
    QTemporaryDir folder_;
};

ZARVIK_APP_TEST_MAIN(FilesTest)
#include "app_files_test.moc"
