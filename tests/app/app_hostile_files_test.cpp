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
#include "tests/app/hostile_files.h"
#include "tests/app/window_fixture.h"

namespace {

enum class Kind { File, Folder, Unreadable, Pipe };

QImage Shown(const platform::PictureSurface& surface, const platform::Display& display) {
    return pictureio::ImageFromBitmap(surface.Image(), display);
}

// Everything about the window that a refused file must leave as it was.
struct WindowState {
    QString caption;
    QString current_file;
    QSize size;
    QList<QImage> surfaces;  // picOriginal, picResult, picDepth
    QList<bool> enabled;     // every menu entry, in menu order
    QList<bool> checked;

    bool operator==(const WindowState&) const = default;
};

WindowState StateOf(frmQelun& window) {
    WindowState state{window.windowTitle(), window.CurrentFile(), window.size(), {}, {}, {}};
    const core::Workspace& s = window.Surfaces();
    for (const platform::PictureSurface* surface : {&s.picOriginal, &s.picResult, &s.picDepth})
        state.surfaces << Shown(*surface, window.GetDisplay());
    for (const QAction* action : window.findChildren<QAction*>()) {
        state.enabled << action->isEnabled();
        state.checked << action->isChecked();
    }
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

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Puts the hostile thing at `path`; false when this user can read it anyway.
bool Make(const QString& path, Kind kind, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    if (kind == Kind::Folder) return QDir().mkpath(path);
    if (kind == Kind::Pipe) return mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
    if (!Write(path, bytes)) return false;
    if (kind == Kind::Unreadable) {
        QFile::setPermissions(path, QFileDevice::Permissions());
        return access(QFile::encodeName(path).constData(), R_OK) != 0;
    }
    return true;
}

QByteArray Png() {
    return hostile::Encoded(hostile::Pattern(7, 5), "png");
}

QByteArray Jpeg() {
    return hostile::Encoded(hostile::Pattern(7, 5), "jpeg");
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

    void RefusedFileChangesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char* tag, const char* name, const QByteArray& bytes,
                            const QString& reason, Kind kind = Kind::File, int number = 481) {
            QTest::newRow(tag) << QString::fromUtf8(name) << kind << bytes << number << reason;
        };
        row("empty", "empty.png", {}, "the file is empty");
        row("text", "notes.txt", "words, not a picture\n", "Invalid picture");
        row("png cut in its signature", "sig.png", hostile::Cut(Png(), 4), "Invalid picture");
        row("png cut in its header chunk", "ihdr.png", hostile::Cut(Png(), 20), "Invalid picture");
        row("png cut in its data", "data.png", hostile::CutInData(Png(), "IDAT"),
            "Invalid picture");
        row("jpeg cut in its tables", "tables.jpg", hostile::Cut(Jpeg(), 30), kCut);
        row("jpeg cut in its scan header", "scan.jpg", hostile::CutInScanHeader(Jpeg()), kCut);
        row("jpeg cut in its data", "data.jpg", hostile::CutInData(Jpeg(), hostile::JpegScan()),
            kCut);
        row("progressive jpeg cut between scans", "scans.jpg",
            hostile::CutBetweenScans(hostile::ProgressiveJpeg(hostile::Pattern(40, 30))), kCut);
        row("bmp cut in its data", "data.bmp",
            hostile::Cut(hostile::Encoded(hostile::Pattern(7, 5), "bmp"), 150), kCut);
        row("gif cut in its data", "data.gif", hostile::Cut(hostile::GifPicture(7, 5), 430), kCut);
        row("png claiming 100000 x 100000", "huge.png", hostile::PngClaiming(100000, 100000),
            "100000 x 100000");
        row("bmp claiming 100000 x 100000", "huge.bmp", hostile::BmpClaiming(100000, 100000),
            "Invalid picture");
        row("gif claiming 65535 x 65535", "huge.gif", hostile::GifClaiming(65535, 65535),
            "65535 x 65535");
        row("jpeg claiming 65500 x 65500", "huge.jpg", hostile::JpegClaiming(65500, 65500),
            "65500 x 65500");
        row("gif too short for 16000 x 16000", "short.gif", hostile::GifClaiming(16000, 16000),
            kCut);
        row("jpeg too short for 16000 x 16000", "short.jpg", hostile::JpegClaiming(16000, 16000),
            kCut);
        row("bmp too short for 16000 x 16000", "short.bmp", hostile::BmpClaiming(16000, 16000),
            kCut);
        row("strip 32768 x 2", "wide.jpg", hostile::Encoded(hostile::Pattern(32768, 2), "jpeg"),
            "32768 x 2");
        row("strip 2 x 32768", "high.gif", hostile::GifPicture(2, 32768), "2 x 32768");
        row("folder", "folder.png", {}, "folder", Kind::Folder, 75);
        row("unreadable", "locked.png", Png(), "Permission denied", Kind::Unreadable, 70);
        // Reading would wait for a writer for ever.
        row("pipe", "pipe.png", {}, "device, pipe or socket", Kind::Pipe, 75);
        row("cyrillic name", "сломанный файл.jpg", hostile::CutInData(Jpeg(), hostile::JpegScan()),
            kCut);
        row("cjk name", "壊れた 写真.png", "テキスト\n", "Invalid picture");
        row("accents in the folder", "dossier été/crème.gif", hostile::GifClaiming(9000, 9000),
            kCut);
    }
    void RefusedFileChangesNothing() {
        QFETCH(QString, name);
        QFETCH(Kind, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(int, number);
        QFETCH(QString, reason);
        const QString good = folder_->filePath(QStringLiteral("good.png"));
        QVERIFY(TestPicture(20, 10).save(good));
        const QString path = folder_->filePath(name);
        if (!Make(path, kind, bytes)) QSKIP("this user reads files without read permission (root)");
        const StartedWindow w = StartWindow(32);
        w.window->OpenPicturePath(good);
        w.window->EnableReload(true);  // a finished conversion's state, which Open must keep
        const WindowState before = StateOf(*w.window);

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
        QVERIFY(StayedUnderAGigabyte());
    }

    // The file opened earlier has since become the hostile thing: Reload, and the
    // conversion that starts with a reload, keep the picture that was opened.
    void ReloadOfASpoiltFileKeepsTheOpenedPicture_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("emptied") << Kind::File << QByteArray();
        QTest::newRow("text") << Kind::File << QByteArray("words\n");
        QTest::newRow("cut short") << Kind::File << hostile::CutInData(Png(), "IDAT");
        QTest::newRow("claiming gigapixels") << Kind::File << hostile::PngClaiming(100000, 100000);
        QTest::newRow("too short for its size") << Kind::File << hostile::GifClaiming(16000, 16000);
        QTest::newRow("a folder") << Kind::Folder << QByteArray();
        QTest::newRow("unreadable") << Kind::Unreadable << Png();
        QTest::newRow("a pipe") << Kind::Pipe << QByteArray();
    }
    void ReloadOfASpoiltFileKeepsTheOpenedPicture() {
        QFETCH(Kind, kind);
        QFETCH(QByteArray, bytes);
        const QImage picture = TestPicture(20, 10);
        const QString path = folder_->filePath(QStringLiteral("picture файл.png"));
        QVERIFY(picture.save(path));
        const QImage anaglyph = ConvertedCopy(picture);
        const StartedWindow w = StartWindow(32);
        w.window->OpenPicturePath(path);
        const WindowState opened = StateOf(*w.window);
        QVERIFY(QFile::remove(path));
        if (!Make(path, kind, bytes)) QSKIP("this user reads files without read permission (root)");

        w.window->EnableReload(true);
        w.window->Menus().mnuFileReload->trigger();
        QVERIFY(w.prompts->messages.isEmpty());
        QVERIFY(StateOf(*w.window) == opened);

        w.window->Menus().mnuAnaglyph->trigger();
        QCOMPARE(Shown(w.window->Surfaces().picOriginal, w.window->GetDisplay()), anaglyph);
        QCOMPARE(w.window->Menus().mnuAnaglyph->text(), QStringLiteral("Anaglyph"));
        QCOMPARE(w.window->Globals().glbBusy, 0);
        QVERIFY(w.prompts->messages.isEmpty());
        QVERIFY(StayedUnderAGigabyte());
    }

    void PictureOpensConvertsAndSaves_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        const auto row = [](const char* tag, const char* name, const QByteArray& bytes,
                            QSize size) {
            QTest::newRow(tag) << QString::fromUtf8(name) << bytes << size;
        };
        const auto encoded = [](int width, int height, const char* format) {
            return hostile::Encoded(hostile::Pattern(width, height), format);
        };
        row("1 x 1 png", "one.png", encoded(1, 1, "png"), QSize(1, 1));
        row("1 x 1 jpeg", "one.jpg", encoded(1, 1, "jpeg"), QSize(1, 1));
        row("1 x 1 bmp", "one.bmp", encoded(1, 1, "bmp"), QSize(1, 1));
        row("1 x 1 gif", "one.gif", hostile::GifPicture(1, 1), QSize(1, 1));
        row("strip 32767 x 2", "strip.png", encoded(32767, 2, "png"), QSize(32767, 2));
        row("strip 2 x 32767", "strip.bmp", encoded(2, 32767, "bmp"), QSize(2, 32767));
        row("spaces", "with  two spaces.png", encoded(5, 3, "png"), QSize(5, 3));
        row("spaces around", " spaces around .png", encoded(5, 3, "png"), QSize(5, 3));
        row("cyrillic", "Пейзаж у реки.png", encoded(4, 6, "png"), QSize(4, 6));
        row("cjk", "風景写真.jpg", encoded(9, 2, "jpeg"), QSize(9, 2));
        row("accents", "crème brûlée.bmp", encoded(2, 9, "bmp"), QSize(2, 9));
        row("non-ascii folder", "папка 文件夹/ñandú.gif", hostile::GifPicture(5, 5), QSize(5, 5));
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
        const core::Workspace& s = w.window->Surfaces();
        QCOMPARE(QSize(s.picOriginal.ScaleWidth(), s.picOriginal.ScaleHeight()), size);
        const QImage opened = Shown(s.picOriginal, w.window->GetDisplay());

        w.window->Menus().mnuAnaglyph->trigger();
        QCOMPARE(w.window->Globals().glbBusy, 0);
        const QImage anaglyph = Shown(s.picOriginal, w.window->GetDisplay());
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
        QCOMPARE(Shown(s.picOriginal, w.window->GetDisplay()), opened);
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
        return Shown(w.window->Surfaces().picOriginal, w.window->GetDisplay());
    }

    std::unique_ptr<QTemporaryDir> folder_;
};

ZARVIK_APP_TEST_MAIN(HostileFilesTest)
#include "app_hostile_files_test.moc"
