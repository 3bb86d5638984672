// Whole conversions through the "Anaglyph" command of the window: the result, the
// window during a run, "Cancel" chosen inside a yield, and closing mid-run.
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/progress_band.h"
#include "app/surface_view.h"
#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"

namespace {

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

Opened OpenPicture(const QTemporaryDir& folder, int surface_bits,
                   const QImage& picture = TestPicture(40, 30)) {
    Opened opened{StartWindow(surface_bits), picture};
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
            for (const QAction* locked :
                 {m.mnuFileOpen, m.mnuFileSaveAs, m.mnuFileReload, m.mnuDepthGrain})
                QVERIFY(!locked->isEnabled());
            QVERIFY(m.mnuBlur[2]->isEnabled());
        });
        for (const int n : {2, 30, 60, 120, 200})
            AtYield(n, [&] { band_widths << window.Band()->width(); });
        window.OriginalView()->repaint();
        const std::int64_t conversions = window.OriginalView()->Conversions();
        m.mnuAnaglyph->trigger();
        QTRY_VERIFY(window.OriginalView()->Conversions() > conversions);  // it repainted
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

    // "Cancel" chosen inside a yield, or the window closed there, ends the run with the
    // opened picture back; a closed window closes once the run has ended.
    void CancelRestoresThePicture_data() {
        QTest::addColumn<int>("yield");
        QTest::addColumn<bool>("close");
        for (const int n : {1, 2, 31, 45, 61, 100, 150, 200, 269})
            QTest::addRow("cancel at %d", n) << n << false;
        QTest::addRow("close at 10") << 10 << true;
    }
    void CancelRestoresThePicture() {
        QFETCH(int, yield);
        QFETCH(bool, close);
        Opened o = OpenPicture(folder_, 32);
        frmQelun& window = *o.w.window;
        window.Globals().glbWarp = 33;
        bool running = false;
        bool still_open = false;
        AtYield(yield, [&] {
            running = window.Command().CurrentState() == core::AnaglyphCommand::State::Running;
            if (close)
                window.close();
            else
                window.Menus().mnuAnaglyph->trigger();
            still_open = window.isVisible();
        });
        window.Menus().mnuAnaglyph->trigger();
        QVERIFY(running && still_open);
        QCOMPARE(window.isVisible(), !close);
        QCOMPARE(Shown(window), o.picture.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(window.Menus().mnuAnaglyph->text(), QStringLiteral("Anaglyph"));
        QVERIFY(window.Band()->isHidden());
        QVERIFY(!window.Menus().mnuFileReload->isEnabled());
        QVERIFY(window.Menus().mnuFileOpen->isEnabled());
        QCOMPARE(window.Globals().glbBusy, 0);
        QCOMPARE(StoredSetting(QStringLiteral("glbWarp")), QString(close ? "33" : ""));
    }

    // Every display format converts and saves what it shows. At 32 bits the lens's
    // own channels come from the picture itself: red for "Red - Blue", green and blue
    // for "Blue - Red".
    void EveryDisplayFormatConverts_data() {
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("lens");
        for (const int bits : {8, 15, 16, 24, 32}) QTest::addRow("%d bits", bits) << bits << 0;
        QTest::addRow("32 bits, Blue - Red") << 32 << 1;
    }
    void EveryDisplayFormatConverts() {
        QFETCH(int, bits);
        QFETCH(int, lens);
        // Colours that change from column to column, so that the second view's moved
        // pixels show even in 5-bit channels, which the 0.99 gain leaves alone.
        const QImage stripes = MakeImage(23, 11, [](int x, int y) {
            return QColor((x * 71 + y * 13) % 256, (x * 37) % 256, (x * 53 + 128) % 256);
        });
        Opened o = OpenPicture(folder_, bits, stripes);
        frmQelun& window = *o.w.window;
        const MainMenus& m = window.Menus();
        QCOMPARE(window.GetDisplay().Depth(), bits);
        QVERIFY(window.Surfaces().PicFinal.ScaleWidth() != 23);  // still the designed size
        const QImage opened = Shown(window);
        m.mnuRedBlue[std::size_t(lens)]->trigger();
        m.mnuAnaglyph->trigger();

        const QImage result = Shown(window);
        QCOMPARE(result.size(), QSize(23, 11));
        // With 5-bit channels the depth map saturates (no band moves) and the 0.99 gain
        // leaves every value below 50 alone: the anaglyph is the picture itself.
        if (bits != 15) QVERIFY(result != opened);
        for (int y = 0; y < 11 && bits == 32; ++y) {
            for (int x = 0; x < 23; ++x) {
                const QRgb made = result.pixel(x, y);
                const QRgb from = stripes.pixel(x, y);
                if (lens == 0) QCOMPARE(qRed(made), Kept(qRed(from)));
                if (lens == 1) QCOMPARE(qGreen(made), Kept(qGreen(from)));
                if (lens == 1) QCOMPARE(qBlue(made), Kept(qBlue(from)));
            }
        }
        QCOMPARE(m.mnuAnaglyph->text(), QStringLiteral("Anaglyph"));
        QVERIFY(window.Band()->isHidden());
        for (const QAction* command :
             {m.mnuFileReload, m.mnuFileOpen, m.mnuFileSaveAs, m.mnuDepthGrain})
            QVERIFY(command->isEnabled());
        QCOMPARE(window.Globals().glbBusy, 0);
        QCOMPARE(window.windowTitle(), QStringLiteral("Zarvik [picture.png]"));
        QCOMPARE(window.OriginalView()->ShownImage(), result);

        // Saved as a Windows bitmap whatever the name; the caption takes the name, the
        // next run still starts from the opened file.
        const QString saved = folder_.filePath(QStringLiteral("saved.jpg"));
        o.w.prompts->answers.push_back(Chosen(saved));
        m.mnuFileSaveAs->trigger();
        QVERIFY(o.w.prompts->messages.isEmpty());
        const QByteArray bytes = ReadAll(saved);
        QVERIFY(bytes.startsWith("BM"));
        QImage back;
        QVERIFY(back.loadFromData(bytes, "BMP"));
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32), result);
        QCOMPARE(window.windowTitle(), QStringLiteral("Zarvik [saved.jpg]"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        m.mnuAnaglyph->trigger();
        QCOMPARE(Shown(window), result);
    }

    void ConversionWithoutAPictureLeavesTheWindowUsable() {
        const StartedWindow w = StartWindow(32);
        const MainMenus& m = w.window->Menus();
        m.mnuAnaglyph->trigger();
        QCOMPARE(m.mnuAnaglyph->text(), QStringLiteral("Anaglyph"));
        QVERIFY(m.mnuFileOpen->isEnabled());
        QCOMPARE(w.window->Globals().glbBusy, 0);
    }

  private:
    QTemporaryDir folder_;
};

ZARVIK_APP_TEST_MAIN(ConversionTest)
#include "app_conversion_test.moc"
