// Whole conversions through the "Anaglyph" command of the window: the result, the
// window during a run, "Cancel" chosen inside a yield, and closing mid-run.
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/picture_io.h"
#include "app/progress_band.h"
#include "app/surface_view.h"
#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"

namespace {

QImage Shown(frmQelun& window) {
    return pictureio::ImageFromBitmap(window.Surfaces().picOriginal.Image(), window.GetDisplay());
}

// A kept channel of the anaglyph: 99 / 100 of the view's value, halves up.
int Kept(int channel) {
    return (99 * channel + 50) / 100;
}

// Runs `act` inside the n-th yield to the window system from now on (n from 1):
// each zero timer fires in the next event pass, which only a yield makes.
void AtYield(int n, std::function<void()> act) {
    if (n <= 1) {
        QTimer::singleShot(0, std::move(act));
        return;
    }
    QTimer::singleShot(0, [n, act = std::move(act)]() mutable { AtYield(n - 1, std::move(act)); });
}

struct Opened {
    StartedWindow w;
    QImage picture;
};

Opened OpenPicture(const QTemporaryDir& folder, int surface_bits, int width = 40, int height = 30,
                   const QImage& picture = {}) {
    Opened opened{StartWindow(surface_bits),
                  picture.isNull() ? TestPicture(width, height) : picture};
    const QString path = folder.filePath(QStringLiteral("picture.png"));
    opened.picture.save(path);
    opened.w.window->OpenPicturePath(path);
    return opened;
}

}  // namespace

class ConversionTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        ClearStore();
        QVERIFY(folder_.isValid());
    }

    void AnaglyphTurnsThePictureIntoAnAnaglyph() {
        Opened o = OpenPicture(folder_, 32);
        frmQelun& window = *o.w.window;
        QVERIFY(window.Surfaces().PicFinal.ScaleWidth() != 40);  // still the designed size
        window.Menus().mnuAnaglyph->trigger();

        const QImage result = Shown(window);
        QCOMPARE(result.size(), QSize(40, 30));
        QVERIFY(result != o.picture.convertToFormat(QImage::Format_RGB32));
        // "Red - Blue" without frame: red comes from the picture itself.
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                QCOMPARE(qRed(result.pixel(x, y)), Kept(qRed(o.picture.pixel(x, y))));
        QCOMPARE(window.Menus().mnuAnaglyph->text(), QStringLiteral("Anaglyph"));
        QVERIFY(window.Band()->isHidden());
        QVERIFY(window.Menus().mnuFileReload->isEnabled());
        QVERIFY(window.Menus().mnuFileOpen->isEnabled());
        QVERIFY(window.Menus().mnuFileSaveAs->isEnabled());
        QVERIFY(window.Menus().mnuDepthGrain->isEnabled());
        QCOMPARE(window.Globals().glbBusy, 0);
        QCOMPARE(window.windowTitle(), QStringLiteral("Zarvik [picture.png]"));
        QCOMPARE(window.OriginalView()->ShownImage(), result);
    }

    void BlueRedTakesGreenAndBlueFromThePicture() {
        Opened o = OpenPicture(folder_, 32);
        frmQelun& window = *o.w.window;
        window.Menus().mnuRedBlue[1]->trigger();
        window.Menus().mnuAnaglyph->trigger();
        const QImage result = Shown(window);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                QCOMPARE(qGreen(result.pixel(x, y)), Kept(qGreen(o.picture.pixel(x, y))));
                QCOMPARE(qBlue(result.pixel(x, y)), Kept(qBlue(o.picture.pixel(x, y))));
            }
        }
    }

    void WhiteSideFrameCoversTheEdges() {
        Opened o = OpenPicture(folder_, 32);
        frmQelun& window = *o.w.window;
        window.Menus().mnuFrameYesNo[1]->trigger();
        window.Menus().mnuBlackWhite[1]->trigger();
        window.Globals().glbShift = 6;
        window.Menus().mnuAnaglyph->trigger();
        const QImage result = Shown(window);
        for (int y = 0; y < 30; ++y) {
            for (const int x : {0, 5, 35, 39}) QCOMPARE(result.pixel(x, y), qRgb(255, 255, 255));
            QVERIFY(result.pixel(6, y) != qRgb(255, 255, 255) ||
                    result.pixel(34, y) != qRgb(255, 255, 255));
        }
    }

    void SecondRunStartsFromTheOpenedPicture() {
        Opened o = OpenPicture(folder_, 32);
        frmQelun& window = *o.w.window;
        window.Menus().mnuAnaglyph->trigger();
        const QImage first = Shown(window);
        window.Menus().mnuAnaglyph->trigger();
        QCOMPARE(Shown(window), first);
    }

    void WhileRunningTheWindowShowsProgressAndLocksTheFileCommands() {
        Opened o = OpenPicture(folder_, 32);
        frmQelun& window = *o.w.window;
        const MainMenus& m = window.Menus();
        QList<int> band_widths;
        bool checked = false;
        AtYield(1, [&] {
            checked = true;
            QCOMPARE(m.mnuAnaglyph->text(), QStringLiteral("Cancel"));
            QVERIFY(m.mnuAnaglyph->isEnabled());
            QVERIFY(window.Band()->isVisible());
            QCOMPARE(window.Band()->geometry().topLeft(), QPoint(0, 0));
            QCOMPARE(window.Band()->height(), 9);
            QVERIFY(!m.mnuFileOpen->isEnabled());
            QVERIFY(!m.mnuFileSaveAs->isEnabled());
            QVERIFY(!m.mnuFileReload->isEnabled());
            QVERIFY(!m.mnuDepthGrain->isEnabled());
            QVERIFY(m.mnuBlur[2]->isEnabled());
        });
        for (const int n : {2, 30, 60, 120, 200})
            AtYield(n, [&] { band_widths << window.Band()->width(); });
        m.mnuAnaglyph->trigger();
        QVERIFY(checked);
        QCOMPARE(band_widths.size(), 5);
        for (int i = 1; i < band_widths.size(); ++i) QVERIFY(band_widths[i] > band_widths[i - 1]);
        QVERIFY(band_widths.last() <= window.width());
        QVERIFY(m.mnuFileOpen->isEnabled());
    }

    // The yields deliver posted events every time and look for the window system's own
    // events (input, timers) every few milliseconds: a timer that has run out by a
    // later yield fires there, inside the run.
    void TimersFireInsideTheYieldsOfARun() {
        Opened o = OpenPicture(folder_, 32);
        frmQelun& window = *o.w.window;
        bool fired = false;
        bool fired_inside = false;
        AtYield(1, [&] {
            QTimer::singleShot(1, [&] { fired = true; });
            QElapsedTimer wait;
            wait.start();
            while (!wait.hasExpired(10)) {
            }
        });
        AtYield(3, [&] { fired_inside = fired; });
        window.Menus().mnuAnaglyph->trigger();
        QVERIFY(fired_inside);
    }

    void WindowRepaintsDuringARun() {
        Opened o = OpenPicture(folder_, 32);
        frmQelun& window = *o.w.window;
        window.OriginalView()->repaint();
        const std::int64_t before = window.OriginalView()->Conversions();
        window.Menus().mnuAnaglyph->trigger();
        QTRY_VERIFY(window.OriginalView()->Conversions() > before);
    }

    void RefreshesAreConvertedOnlyWhenPainted() {
        Opened o = OpenPicture(folder_, 32);
        SurfaceView& view = *o.w.window->OriginalView();
        (void)view.ShownImage();
        const std::int64_t before = view.Conversions();
        for (int i = 0; i < 5; ++i) o.w.window->Surfaces().picOriginal.Refresh();
        QCOMPARE(view.Conversions(), before);
        (void)view.ShownImage();
        (void)view.ShownImage();
        QCOMPARE(view.Conversions(), before + 1);
    }

    void CancelRestoresThePicture_data() {
        QTest::addColumn<int>("yield");
        for (const int n : {1, 2, 31, 45, 61, 100, 150, 200, 269})
            QTest::newRow(qPrintable(QString::number(n))) << n;
    }
    void CancelRestoresThePicture() {
        QFETCH(int, yield);
        Opened o = OpenPicture(folder_, 32);
        frmQelun& window = *o.w.window;
        bool cancelled = false;
        AtYield(yield, [&] {
            cancelled = window.Command().CurrentState() == core::AnaglyphCommand::State::Running;
            window.Menus().mnuAnaglyph->trigger();
        });
        window.Menus().mnuAnaglyph->trigger();
        QVERIFY(cancelled);
        QCOMPARE(Shown(window), o.picture.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(window.Menus().mnuAnaglyph->text(), QStringLiteral("Anaglyph"));
        QVERIFY(window.Band()->isHidden());
        QVERIFY(!window.Menus().mnuFileReload->isEnabled());
        QVERIFY(window.Menus().mnuFileOpen->isEnabled());
        QCOMPARE(window.Globals().glbBusy, 0);
    }

    void ClosingDuringARunCancelsItAndClosesAfterwards() {
        Opened o = OpenPicture(folder_, 32);
        frmQelun& window = *o.w.window;
        window.Globals().glbWarp = 33;
        bool still_open_inside = false;
        AtYield(10, [&] {
            window.close();
            still_open_inside = window.isVisible();
        });
        window.Menus().mnuAnaglyph->trigger();
        QVERIFY(still_open_inside);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.Globals().glbBusy, 0);
        QCOMPARE(Shown(window), o.picture.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(StoredSetting(QStringLiteral("glbWarp")), QStringLiteral("33"));
    }

    void EveryDisplayFormatConverts_data() {
        QTest::addColumn<int>("bits");
        for (const int bits : {8, 15, 16, 24, 32})
            QTest::newRow(qPrintable(QString::number(bits))) << bits;
    }
    void EveryDisplayFormatConverts() {
        QFETCH(int, bits);
        // Colours that change from column to column, so that the second view's moved
        // pixels show even in 5-bit channels, which the 0.99 gain leaves alone.
        const QImage stripes = MakeImage(23, 11, [](int x, int y) {
            return QColor((x * 71 + y * 13) % 256, (x * 37) % 256, (x * 53 + 128) % 256);
        });
        Opened o = OpenPicture(folder_, bits, 23, 11, stripes);
        frmQelun& window = *o.w.window;
        QCOMPARE(window.GetDisplay().Depth(), bits);
        const QImage opened = Shown(window);
        window.Menus().mnuAnaglyph->trigger();
        const QImage result = Shown(window);
        QCOMPARE(result.size(), QSize(23, 11));
        // With 5-bit channels the depth map saturates (no band moves) and the 0.99 gain
        // leaves every value below 50 alone: the anaglyph is the picture itself.
        if (bits != 15) QVERIFY(result != opened);
        const QString saved = folder_.filePath(QStringLiteral("saved%1.bmp").arg(bits));
        o.w.prompts->answers.push_back(Chosen(saved));
        window.mnuFileSaveAs_Click();
        QVERIFY(o.w.prompts->messages.isEmpty());
        QImage back;
        QVERIFY(back.load(saved, "BMP"));
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32), result);
    }

    void ConversionWithoutAPictureLeavesTheWindowUsable() {
        const StartedWindow w = StartWindow(32);
        w.window->Menus().mnuAnaglyph->trigger();
        QCOMPARE(w.window->Menus().mnuAnaglyph->text(), QStringLiteral("Anaglyph"));
        QVERIFY(w.window->Menus().mnuFileOpen->isEnabled());
        QCOMPARE(w.window->Globals().glbBusy, 0);
    }

  private:
    QTemporaryDir folder_;
};

ZARVIK_APP_TEST_MAIN(ConversionTest)
#include "app_conversion_test.moc"
