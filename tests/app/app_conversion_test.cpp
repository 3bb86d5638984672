// Whole conversions through the window's "Anaglyph" command: the window during a
// run, "Cancel" chosen or the window closed inside a yield, every display format;
// and the pictures between Qt images and the surfaces' bitmaps, as the view shows them.
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <random>
#include <span>

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

StartedWindow OpenPicture(const QTemporaryDir& folder, int surface_bits,
                          const QImage& picture = TestPicture(41, 30)) {
    StartedWindow w = StartWindow(surface_bits);
    const QString path = folder.filePath(QStringLiteral("picture.png"));
    picture.save(path);
    w.window->OpenPicturePath(path);
    return w;
}

// An RGB32 image whose unused alpha bytes are not 0xFF, as a decoder may leave them.
QImage NoisyImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);  // rows without padding
    std::mt19937 random(5);
    for (QRgb& pixel : std::span(reinterpret_cast<QRgb*>(image.bits()), width * height))
        pixel = static_cast<QRgb>(random());
    return image;
}

}  // namespace

class ConversionTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        ClearStore();
        QVERIFY(folder_.isValid());
    }

    // The yields deliver posted events every time and the window system's own (input
    // such as a click on "Cancel", timers) every few milliseconds; the result shows
    // once the run is over.
    void YieldsLetTimersFire() {
        const StartedWindow w = OpenPicture(folder_, 32);
        frmQelun& window = *w.window;
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
        window.OriginalView()->repaint();
        const std::int64_t conversions = window.OriginalView()->Conversions();
        window.Menus().mnuAnaglyph->trigger();
        QVERIFY(fired_inside);
        QTRY_VERIFY(window.OriginalView()->Conversions() > conversions);
    }

    // During a run "Anaglyph" reads "Cancel" and the commands that replace or write
    // the pictures wait. "Cancel" chosen inside a yield, or the window closed there,
    // ends the run with the opened picture back; a closed window closes (writing the
    // settings) once the run has ended.
    void CancelRestoresThePicture_data() {
        QTest::addColumn<int>("yield");
        QTest::addColumn<bool>("close");
        for (const int n : {1, 61, 269}) QTest::addRow("cancel at %d", n) << n << false;
        QTest::addRow("close at 10") << 10 << true;
    }
    void CancelRestoresThePicture() {
        QFETCH(int, yield);
        QFETCH(bool, close);
        const StartedWindow w = OpenPicture(folder_, 32);
        frmQelun& window = *w.window;
        window.Globals().glbWarp = 33;
        const MainMenus& m = window.Menus();
        bool running = false;
        bool still_open = false;
        AtYield(yield, [&] {
            QCOMPARE(m.mnuAnaglyph->text(), QStringLiteral("Cancel"));
            for (const QAction* waits :
                 {m.mnuFileOpen, m.mnuFileSaveAs, m.mnuFileReload, m.mnuDepthGrain})
                QVERIFY(!waits->isEnabled());
            running = window.CurrentRunState() == frmQelun::RunState::Running;
            if (close)
                window.close();
            else
                m.mnuAnaglyph->trigger();
            still_open = window.isVisible();
        });
        m.mnuAnaglyph->trigger();
        QVERIFY(running && still_open);
        QCOMPARE(window.isVisible(), !close);
        QCOMPARE(Shown(window), TestPicture(41, 30));
        QCOMPARE(m.mnuAnaglyph->text(), QStringLiteral("Anaglyph"));
        QVERIFY(window.Band()->isHidden());
        QVERIFY(m.mnuFileOpen->isEnabled());
        QVERIFY(!window.Running());
        QCOMPARE(window.LastOutcome(), conversion::Outcome::kCancelled);
        const QSettings store(QStringLiteral("Zarvik"), QStringLiteral("Zarvik"));
        QCOMPARE(store.value(QStringLiteral("Settings/glbWarp")).toString(),
                 QString(close ? "33" : ""));
    }

    // Every display format converts and saves what it shows, as a Windows bitmap
    // whatever the name; the next run starts from the opened file again. At 32 bits
    // the lens's own channels come from the picture itself: red for "Red - Blue",
    // green and blue for "Blue - Red".
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
        const StartedWindow w = OpenPicture(folder_, bits, stripes);
        frmQelun& window = *w.window;
        const MainMenus& m = window.Menus();
        const QImage opened = Shown(window);
        m.mnuRedBlue[std::size_t(lens)]->trigger();
        m.mnuAnaglyph->trigger();

        const QImage result = Shown(window);
        QCOMPARE(result.size(), QSize(23, 11));
        // With 5-bit channels the depth map saturates (no band moves) and the 0.99 gain
        // leaves every value below 50 alone: the anaglyph is the picture itself.
        if (bits != 15) QVERIFY(result != opened);
        const QRgb lens_channels = lens == 0 ? 0xFF0000 : 0x00FFFF;
        for (int y = 0; y < 11 && bits == 32; ++y) {
            for (int x = 0; x < 23; ++x) {
                const QRgb from = stripes.pixel(x, y);
                const QRgb kept = qRgb(Kept(qRed(from)), Kept(qGreen(from)), Kept(qBlue(from)));
                QCOMPARE(result.pixel(x, y) & lens_channels, kept & lens_channels);
            }
        }
        QCOMPARE(window.OriginalView()->ShownImage(), result);

        const QString saved = folder_.filePath(QStringLiteral("saved.jpg"));
        w.prompts->answers.push_back(saved);
        m.mnuFileSaveAs->trigger();
        QVERIFY(w.prompts->messages.isEmpty());
        QCOMPARE(QImage(saved, "BMP").convertToFormat(QImage::Format_RGB32), result);
        m.mnuAnaglyph->trigger();
        QCOMPARE(Shown(window), result);
    }

    // Pictures go into bitmaps as blue, green, red and a zero byte, whatever the
    // decoder left in the fourth, and come back whole, by rows or by areas (also areas
    // reaching outside), in every format.
    void PicturesGoIntoBitmapsAndBack() {
        const QImage image = NoisyImage(9, 6);
        for (const int bits : {8, 15, 16, 24, 32}) {
            const platform::Display display(bits);
            const platform::Picture picture = pictureio::PictureFromImage(image, display);
            const QImage whole = pictureio::ImageFromBitmap(picture.bitmap, display);
            for (int y = 0; y < 6 && bits == 32; ++y) {
                for (int x = 0; x < 9; ++x) {
                    const std::uint8_t* p = picture.bitmap.Row(y).data() + 4 * x;
                    QCOMPARE(qRgb(p[2], p[1], p[0]), image.pixel(x, y));
                    QCOMPARE(p[3], std::uint8_t{0});
                }
            }
            const auto expect_only = [&](const QRect& area, const QImage& part) {
                for (int y = 0; y < 6; ++y)
                    for (int x = 0; x < 9; ++x)
                        QCOMPARE(part.pixel(x, y),
                                 area.contains(x, y) ? whole.pixel(x, y) : qRgb(1, 2, 3));
            };
            QImage part(9, 6, QImage::Format_RGB32);
            for (const QRect& area : {QRect(0, 2, 9, 2), QRect(3, 0, 4, 6), QRect(-2, 4, 5, 9),
                                      QRect(8, -1, 7, 3), QRect(4, 3, 0, 2)}) {
                part.fill(qRgb(1, 2, 3));
                pictureio::ImageAreaFromBitmap(picture.bitmap, display, area, part);
                expect_only(area, part);
            }
        }
    }

    // A view taller than its window paints strips; a strip to the right, then one to
    // the left with a gap between, and all that lies between them afterwards show the
    // surface's pixels, and so does a pixel drawn after them.
    void AViewPaintsTheSurfacesPixels() {
        const platform::Display display(32);
        platform::PictureSurface surface(display);
        surface.SetPicture(pictureio::PictureFromImage(NoisyImage(31, 200), display));
        QWidget parent;
        parent.resize(40, 30);
        SurfaceView view(surface, display, &parent);
        const QImage expected = pictureio::ImageFromBitmap(surface.Image(), display);
        for (const QRect strip :
             {QRect(20, 120, 11, 20), QRect(0, 130, 5, 20), QRect(0, 120, 31, 20)}) {
            QCOMPARE(view.grab(strip).toImage().convertToFormat(QImage::Format_RGB32),
                     expected.copy(strip));
        }
        QCOMPARE(view.ShownImage(), expected);
        surface.PSet(3, 150, platform::RGB(255, 0, 0));
        surface.Refresh();
        QCOMPARE(view.ShownImage().pixel(3, 150), qRgb(255, 0, 0));
        surface.SetRefreshHandler({});
    }

  private:
    QTemporaryDir folder_;
};

ZARVIK_APP_TEST_MAIN(ConversionTest)
#include "app_conversion_test.moc"
