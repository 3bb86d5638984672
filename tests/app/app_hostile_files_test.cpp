// Files a user should never have chosen, through Open and Reload of the window: a
// file that is no picture, or not a whole one, or one whose header lies about its
// size, is refused with the load-failure message and changes nothing else; the
// smallest and largest pictures and names in any script open, convert and save.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTest>

#include "app/picture_io.h"
#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"
#include "tests/support/hostile_files.h"

namespace {

enum class Kind { File, Folder, Unreadable, Pipe };

QImage Shown(frmQelun& window) {
    return pictureio::ImageFromBitmap(window.Surfaces().picOriginal.Image(), window.GetDisplay());
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

// The most memory this process has held at once. The window and its tests take a
// few hundred megabytes; a decoder that believed a header's gigapixels, or a
// conversion of them, would pass a gigabyte.
bool StayedUnderAGigabyte() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss < (1L << 20);
}

// Puts the hostile thing at `path`; false when this user can read it anyway.
bool Make(const QString& path, Kind kind, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    if (kind == Kind::Folder) return QDir().mkpath(path);
    if (kind == Kind::Pipe) return mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return false;
    file.close();
    if (kind == Kind::Unreadable) {
        QFile::setPermissions(path, QFileDevice::Permissions());
        return access(QFile::encodeName(path).constData(), R_OK) != 0;
    }
    return true;
}

QByteArray Small(const char* format) {
    return hostile::Encoded(hostile::Pattern(7, 5), format);
}

const QString kCut = QStringLiteral("the file ends before the picture does");

}  // namespace

Q_DECLARE_METATYPE(Kind)

class HostileFilesTest : public QObject {
    Q_OBJECT

  private slots:
    // Each row gets a folder of its own: a row may leave a folder or a locked file
    // where the next row would write.
    void init() {
        ClearStore();
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
    }

    void SpoiltFileChangesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char* tag, const char* name, const QByteArray& bytes,
                            const QString& reason, Kind kind = Kind::File, int number = 481) {
            QTest::newRow(tag) << QString::fromUtf8(name) << kind << bytes << number << reason;
        };
        row("text, cjk name", "壊れた 写真.png", "テキスト\n", "Invalid picture");
        row("png cut in its data", "data.png", hostile::CutInData(Small("png"), "IDAT"),
            "Invalid picture");
        row("jpeg cut in its data, cyrillic name", "сломанный файл.jpg",
            hostile::CutInData(Small("jpeg"), hostile::JpegScan()), kCut);
        row("png claiming 100000 x 100000", "huge.png", hostile::PngClaiming(100000, 100000),
            "100000 x 100000");
        row("gif too short for 16000 x 16000", "short.gif", hostile::GifClaiming(16000, 16000),
            kCut);
        row("strip 2 x 32768", "high.gif", hostile::GifPicture(2, 32768), "2 x 32768");
        row("folder", "folder.png", {}, "folder", Kind::Folder, 75);
        row("unreadable", "locked.png", Small("png"), "Permission denied", Kind::Unreadable, 70);
        // Reading would wait for a writer for ever.
        row("pipe", "pipe.png", {}, "device, pipe or socket", Kind::Pipe, 75);
    }
    // The file opened earlier has since become the hostile thing: Reload, and the
    // conversion that starts with a reload, keep the picture that was opened, without
    // a word. Opened anew, it is refused with the load-failure message.
    void SpoiltFileChangesNothing() {
        QFETCH(QString, name);
        QFETCH(Kind, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(int, number);
        QFETCH(QString, reason);
        const QImage picture = TestPicture(20, 10);
        const QString path = folder_->filePath(name);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(picture.save(path, "PNG"));
        const QImage anaglyph = ConvertedCopy(picture);
        const StartedWindow w = StartWindow(32);
        w.window->OpenPicturePath(path);
        const QVariantList opened = StateOf(*w.window);
        QVERIFY(QFile::remove(path));
        if (!Make(path, kind, bytes)) QSKIP("this user reads files without read permission (root)");

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
        QVERIFY2(message.text.mid(head.size()).contains(reason), qPrintable(message.text));
        QVERIFY(!message.text.mid(head.size()).contains(QLatin1Char('\n')));
        QCOMPARE(w.prompts->beeps, 0);
        QVERIFY(StateOf(*w.window) == before);
        QCOMPARE(QApplication::overrideCursor(), nullptr);

        w.window->Menus().mnuAnaglyph->trigger();
        QCOMPARE(Shown(*w.window), anaglyph);
        QCOMPARE(w.window->Globals().glbBusy, 0);
        QCOMPARE(w.prompts->messages.size(), 1);
        QVERIFY(StayedUnderAGigabyte());
    }

    void PictureOpensConvertsAndSaves_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        const auto row = [](const char* name, QSize size, const char* format) {
            const QImage image = hostile::Pattern(size.width(), size.height());
            QTest::addRow("%dx%d %s", size.width(), size.height(), format)
                << QString::fromUtf8(name) << hostile::Encoded(image, format) << size;
        };
        row("папка 文件夹/ ñandú  one .png", {1, 1}, "png");
        row("Пейзаж у реки.png", {32767, 2}, "png");
        row("風景写真.bmp", {2, 32767}, "bmp");
    }
    void PictureOpensConvertsAndSaves() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        const QString path = folder_->filePath(name);
        QVERIFY(Make(path, Kind::File, bytes));
        const StartedWindow w = StartWindow(32);

        w.prompts->answers.push_back(Chosen(path));
        w.window->Menus().mnuFileOpen->trigger();
        QVERIFY2(w.prompts->messages.isEmpty(), qPrintable(w.prompts->messages.value(0).text));
        QCOMPARE(w.window->windowTitle(),
                 QStringLiteral("Zarvik [") + QFileInfo(path).fileName() + "]");
        QCOMPARE(w.window->CurrentFile(), path);
        QCOMPARE(w.window->InitialFolder(), QFileInfo(path).path());
        const QImage opened = Shown(*w.window);
        QCOMPARE(opened.size(), size);

        w.window->Menus().mnuAnaglyph->trigger();
        QCOMPARE(w.window->Globals().glbBusy, 0);
        const QImage anaglyph = Shown(*w.window);
        QCOMPARE(anaglyph.size(), size);

        const QString saved =
            QFileInfo(path).dir().filePath(QStringLiteral("результат 結果 é.bmp"));
        w.prompts->answers.push_back(Chosen(saved));
        w.window->Menus().mnuFileSaveAs->trigger();
        QVERIFY2(w.prompts->messages.isEmpty(), qPrintable(w.prompts->messages.value(0).text));
        QImage back;
        QVERIFY(back.load(saved, "BMP"));
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32), anaglyph);

        w.window->Menus().mnuFileReload->trigger();
        QCOMPARE(Shown(*w.window), opened);
        QVERIFY(StayedUnderAGigabyte());
    }

  private:
    // The anaglyph a window makes of `picture` opened from an intact file.
    QImage ConvertedCopy(const QImage& picture) {
        const QString path = folder_->filePath(QStringLiteral("intact copy.png"));
        if (!picture.save(path)) return {};
        const StartedWindow w = StartWindow(32);
        w.window->OpenPicturePath(path);
        w.window->Menus().mnuAnaglyph->trigger();
        return Shown(*w.window);
    }

    std::unique_ptr<QTemporaryDir> folder_;
};

ZARVIK_APP_TEST_MAIN(HostileFilesTest)
#include "app_hostile_files_test.moc"
