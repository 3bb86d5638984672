// The window's view and its own commands, driven by menus and keys: fitting and
// zooming, each stage on view, Space for the original, saving in the format a name
// asks for, the live result following a change, Open Recent, F5 and Quit.
#include <QImageReader>
#include <QImageWriter>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "app/frm_warp_shift.h"
#include "app/picture_view.h"
#include "app/progress_band.h"
#include "conversion/run.h"
#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"

namespace {

QByteArray FormatOfFile(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.format();
}

}  // namespace

class ViewTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        ClearStore();
        QVERIFY(folder_.isValid());
    }

    // A picture larger than the view is reduced to fit, whole and centred; the zoom
    // steps go by the square root of two, through actual size, within their limits;
    // Fit to Window comes back; a picture smaller than the view is never enlarged
    // by fitting.
    void FitsAndZoomsInSteps() {
        const StartedWindow w = StartWindow();
        frmQelun& window = *w.window;
        QVERIFY(
            OpenNew(window, folder_.filePath(QStringLiteral("wide.png")), TestPicture(4000, 500)));
        PictureView& view = *window.View();
        QVERIFY(view.Fitted());
        const QSize room = view.viewport()->size();
        QVERIFY(view.Zoom() < 1.0);
        QVERIFY(view.ShownSize().width() <= room.width() + 0.5);
        QVERIFY(std::abs(view.ShownSize().width() - room.width()) <= 1.0 ||
                std::abs(view.ShownSize().height() - room.height()) <= 1.0);
        QCOMPARE(view.horizontalScrollBar()->maximum(), 0);

        const ViewMenus& v = window.Menus().view;
        v.mnuActualSize->trigger();
        QCOMPARE(view.Zoom(), 1.0);
        QVERIFY(view.horizontalScrollBar()->maximum() > 0);  // scroll bars to pan
        const double steps[] = {std::sqrt(2.0), 2.0, 2.0 * std::sqrt(2.0)};
        for (const double zoom : steps) {
            v.mnuZoomIn->trigger();
            QVERIFY(std::abs(view.Zoom() - zoom) < 1e-9);
        }
        for (int i = 0; i < 40; ++i) v.mnuZoomIn->trigger();
        QCOMPARE(view.Zoom(), PictureView::kMaxZoom);
        for (int i = 0; i < 80; ++i) v.mnuZoomOut->trigger();
        QCOMPARE(view.Zoom(), PictureView::kMinZoom);
        v.mnuFitToWindow->trigger();
        QVERIFY(view.Fitted() && view.Zoom() < 1.0 && view.Zoom() > PictureView::kMinZoom);

        QVERIFY(
            OpenNew(window, folder_.filePath(QStringLiteral("small.png")), TestPicture(20, 10)));
        QCOMPARE(view.Zoom(), 1.0);
        QCOMPARE(view.ShownSize(), QSizeF(20, 10));
        QVERIFY(window.StatusSize()->text().startsWith(QStringLiteral("20 × 10")));
    }

    // Ctrl and the wheel zoom around the picture point under the cursor.
    void WheelZoomsAroundTheCursor() {
        const StartedWindow w = StartWindow();
        QVERIFY(
            OpenNew(*w.window, folder_.filePath(QStringLiteral("p.png")), TestPicture(300, 200)));
        PictureView& view = *w.window->View();
        view.resize(200, 150);
        view.ActualSize();
        const QPointF cursor(40, 30);
        const auto picture_point = [&] {
            const double x0 = -view.horizontalScrollBar()->value();
            const double y0 = -view.verticalScrollBar()->value();
            return QPointF((cursor.x() - x0) / view.Zoom(), (cursor.y() - y0) / view.Zoom());
        };
        const QPointF before = picture_point();
        QWheelEvent wheel(cursor, view.viewport()->mapToGlobal(cursor), QPoint(), QPoint(0, 240),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view.viewport(), &wheel);
        QCOMPARE(view.Zoom(), 2.0);
        const QPointF after = picture_point();
        QVERIFY(std::abs(after.x() - before.x()) <= 0.5);
        QVERIFY(std::abs(after.y() - before.y()) <= 0.5);
    }

    // Keys 1 to 4 show the original, the depth map, the second view and the result;
    // Space held shows the original and its release the stage again. Before the first
    // conversion every stage is the opened picture.
    void EachStageOnView() {
        const StartedWindow w = StartWindow();
        frmQelun& window = *w.window;
        const QImage picture = TestPicture(60, 40);
        QVERIFY(OpenNew(window, folder_.filePath(QStringLiteral("s.png")), picture));
        QCOMPARE(window.View()->ShownImage(), picture);
        QVERIFY(RunAnaglyph(window));
        const core::Workspace& s = window.Surfaces();
        const platform::Display& d = window.GetDisplay();
        const QImage expected[] = {picture, pictureio::ImageFromBitmap(s.picDepth.Image(), d),
                                   pictureio::ImageFromBitmap(s.picResult.Image(), d),
                                   pictureio::ImageFromBitmap(s.picOriginal.Image(), d)};
        QVERIFY(expected[1] != picture && expected[2] != picture && expected[3] != picture);
        for (int key = 0; key < 4; ++key) {
            QTest::keyClick(&window, Qt::Key(Qt::Key_1 + key));
            QCOMPARE(int(window.ShownStage()), key);
            QVERIFY(window.Menus().view.mnuStage[std::size_t(key)]->isChecked());
            QCOMPARE(window.View()->ShownImage(), expected[key]);
        }
        QTest::keyPress(&window, Qt::Key_Space);
        QCOMPARE(window.View()->ShownImage(), picture);
        QTest::keyRelease(&window, Qt::Key_Space);
        QCOMPARE(window.View()->ShownImage(), expected[3]);
    }

    // The extension names the format written; JPEG and WebP ask for a quality,
    // starting at 92 and then at the last answer; an extension no writer knows gets a
    // message and writes nothing. (BMP is saved in every display format in the
    // conversion tests.)
    void SavesTheFormatTheNameAsks_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::addRow("png") << "r.PNG" << QByteArray("png");
        QTest::addRow("jpg") << "r.jpg" << QByteArray("jpeg");
        QTest::addRow("jpeg") << "r.jpeg" << QByteArray("jpeg");
        QTest::addRow("tif") << "r.tif" << QByteArray("tiff");
        QTest::addRow("webp") << "r.webp" << QByteArray("webp");
        QTest::addRow("unknown") << "r.xyz" << QByteArray();
    }
    void SavesTheFormatTheNameAsks() {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        if (!format.isEmpty() && !QImageWriter::supportedImageFormats().contains(format))
            QSKIP("no writer for this format in this Qt");
        const StartedWindow w = StartWindow();
        QVERIFY(OpenNew(*w.window, folder_.filePath(QStringLiteral("source.png")),
                        TestPicture(64, 48)));
        const QImage result = Shown(*w.window);
        const QString path = folder_.filePath(name);
        QFile::remove(path);
        for (int save = 0; save < 2; ++save) {
            w.prompts->answers.push_back(path);
            w.window->Menus().mnuFileSaveAs->trigger();
        }
        if (format.isEmpty()) {
            QVERIFY(!QFile::exists(path));
            QCOMPARE(w.prompts->messages.size(), 2);
            QVERIFY(w.prompts->messages[0].contains(QStringLiteral("'.xyz'")));
            return;
        }
        QVERIFY(w.prompts->messages.isEmpty());
        QCOMPARE(FormatOfFile(path), format);
        const QImage read = QImage(path).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(read.size(), result.size());
        const bool lossy = format == "jpeg" || format == "webp";
        if (!lossy) QCOMPARE(read, result);
        const QString offered = QString(format.toUpper());
        const QStringList asked =
            lossy ? QStringList{offered + " 92", offered + " 80"} : QStringList();
        QCOMPARE(w.prompts->qualities_asked, asked);
    }

    // Each export is offered once a conversion has made its view, writes that view and
    // leaves the caption alone. At a scaled strength both eyes' views are warped, so
    // neither is the picture: each file is checked against the conversion call's own
    // views, given the same picture and choices. The formats are Save As's, tested there.
    void ExportsEachView_data() {
        QTest::addColumn<int>("view");
        QTest::addRow("depth map") << 0;
        QTest::addRow("second view") << 1;
        QTest::addRow("left view") << 2;
        QTest::addRow("right view") << 3;
    }
    void ExportsEachView() {
        QFETCH(int, view);
        const StartedWindow w = StartWindow();
        frmQelun& window = *w.window;
        const ViewMenus& v = window.Menus().view;
        QAction* const exports[] = {v.mnuFileExportDepth, v.mnuFileExportSecond,
                                    v.mnuFileExportLeft, v.mnuFileExportRight};
        const QImage picture = TestPicture(90, 60);
        QVERIFY(OpenNew(window, folder_.filePath(QStringLiteral("eyes.png")), picture));
        QVERIFY(!exports[view]->isEnabled());
        window.Menus().parallax.mnuStrengthLevel[3]->trigger();  // 3 %
        QVERIFY(RunAnaglyph(window));
        QVERIFY(exports[view]->isEnabled());
        const QString caption = window.windowTitle();
        const QString path = folder_.filePath(QStringLiteral("exported.png"));
        QFile::remove(path);
        w.prompts->answers = {path};
        exports[view]->trigger();
        QVERIFY(w.prompts->messages.isEmpty());
        QCOMPARE(window.windowTitle(), caption);

        const platform::Display& d = window.GetDisplay();
        core::Progress progress;
        const conversion::Result own =
            conversion::Run(pictureio::PictureFromImage(picture, d), d, window.Choices(), progress);
        QCOMPARE(own.outcome, conversion::Outcome::kConverted);
        const platform::Bitmap* const made[] = {&own.views.depth_map, &own.views.second_view,
                                                &own.views.left_view, &own.views.right_view};
        const QImage expected = pictureio::ImageFromBitmap(*made[view], d);
        QVERIFY(expected != picture);
        QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32), expected);
    }

    // With the live result on (the default) a menu change converts again without
    // "Anaglyph", giving what "Anaglyph" gives; a later change cancels the earlier
    // run. A dialog's value changes convert again as they happen, and Cancel's
    // restoring brings back the result the values give. Off, a change leaves the
    // picture alone.
    void LiveResultFollowsAChange() {
        const StartedWindow w = StartWindow();
        frmQelun& window = *w.window;
        const MainMenus& m = window.Menus();
        QVERIFY(m.view.mnuLiveResult->isChecked() && window.LiveResult());
        QVERIFY(
            OpenNew(window, folder_.filePath(QStringLiteral("live.png")), TestPicture(1800, 1200)));
        const QImage opened = Shown(window);

        m.mnuBlur[3]->trigger();
        m.mnuRedBlue[1]->trigger();  // cancels the run the blur started
        QVERIFY(window.LiveRunning());
        QVERIFY(WaitForLiveResult(window));
        const QImage live = Shown(window);
        QVERIFY(live != opened);
        QVERIFY(window.LastConversionMs() >= 0);
        QVERIFY(RunAnaglyph(window));
        QCOMPARE(Shown(window), live);

        m.mnuShift->trigger();  // so that the dialog's depth bar has work
        QVERIFY(WaitForLiveResult(window));
        const QImage shifted = Shown(window);
        w.prompts->on_modal = [&](QDialog& shown) {
            auto* d = qobject_cast<frmWarpShift*>(&shown);
            QVERIFY(d != nullptr);
            d->HScroll2->triggerAction(QAbstractSlider::SliderToMaximum);
            QVERIFY(WaitForLiveResult(window));
            QVERIFY(Shown(window) != shifted);
            d->reject();
        };
        m.mnuSetWarpShift->trigger();
        QVERIFY(WaitForLiveResult(window));
        QCOMPARE(Shown(window), shifted);

        m.view.mnuLiveResult->trigger();
        QVERIFY(!window.LiveResult());
        m.mnuRedBlue[0]->trigger();
        QVERIFY(!window.LiveRunning());
        QCOMPARE(Shown(window), shifted);
    }

    // Opening reads the file on a worker thread: meanwhile the window handles its
    // events, the band shows, "Anaglyph" reads "Cancel", and choosing it gives up the
    // opening, leaving the window as it was.
    void OpeningCanBeCancelled() {
        const StartedWindow w = StartWindow();
        frmQelun& window = *w.window;
        const QString small = folder_.filePath(QStringLiteral("small.png"));
        const QString large = folder_.filePath(QStringLiteral("large.png"));
        QVERIFY(OpenNew(window, small, TestPicture(30, 20)));
        QVERIFY(TestPicture(3000, 2000).save(large));
        const QImage before = Shown(window);
        QString caption;
        bool band = false;
        // Open handles pending events once before reading: the second timer fires
        // during the reading.
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [&] {
                caption = window.Menus().mnuAnaglyph->text();
                band = window.Band()->isVisible();
                window.Menus().mnuAnaglyph->trigger();
            });
        });
        window.OpenPicturePath(large);
        QCOMPARE(caption, QStringLiteral("Cancel"));
        QVERIFY(band);
        QCOMPARE(window.CurrentFile(), small);
        QCOMPARE(Shown(window), before);
        QCOMPARE(window.Menus().mnuAnaglyph->text(), QStringLiteral("Anaglyph"));
        QVERIFY(!window.Running() && window.Band()->isHidden());
        window.OpenPicturePath(large);
        QCOMPARE(window.CurrentFile(), large);
    }

    // Open Recent lists the last eight opened files, newest first, kept across
    // starts; F5 is "Anaglyph"; Quit closes the window, writing the settings.
    void RecentFilesKeysAndQuit() {
        QStringList paths;
        {
            const StartedWindow w = StartWindow();
            QVERIFY(!w.window->Menus().view.mnuFileRecent->isEnabled());
            for (int i = 0; i < 10; ++i) {
                paths.prepend(folder_.filePath(QStringLiteral("r%1.png").arg(i)));
                QVERIFY(OpenNew(*w.window, paths.front(), TestPicture(8 + i, 6)));
            }
            w.window->OpenPicturePath(paths[3]);
            paths.move(3, 0);
            w.window->Menus().view.mnuFileQuit->trigger();
            QVERIFY(!w.window->isVisible());
        }
        const StartedWindow w = StartWindow();
        frmQelun& window = *w.window;
        QCOMPARE(window.RecentFiles(), paths.mid(0, 8));
        const QList<QAction*> entries = window.Menus().view.mnuFileRecent->actions();
        QCOMPARE(entries.size(), 8);
        entries[2]->trigger();
        QCOMPARE(window.CurrentFile(), paths[2]);
        QCOMPARE(window.RecentFiles().front(), paths[2]);

        QCOMPARE(window.Menus().mnuAnaglyph->shortcut(), QKeySequence(Qt::Key_F5));
        QCOMPARE(window.Menus().view.mnuFileQuit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    }

  private:
    QTemporaryDir folder_;
};

ZARVIK_APP_TEST_MAIN(ViewTest)
#include "app_view_test.moc"
