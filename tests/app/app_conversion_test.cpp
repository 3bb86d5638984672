// Whole conversions through the window's "Anaglyph" command: the window during a
// run on its worker thread, "Cancel" chosen or the window closed during it, every
// display format; and the pictures between Qt images and the surfaces' bitmaps, as
// the view shows them.
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTest>
#include <functional>
#include <optional>
#include <random>
#include <span>

#include "app/picture_view.h"
#include "app/progress_band.h"
#include "conversion/run.h"
#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"

namespace {

// Acts once, inside the resize that first makes the band wider than its start.
class BandGrowth : public QObject {
  public:
    BandGrowth(QWidget& band, std::function<void()> act) : act_(std::move(act)) {
        band.installEventFilter(this);
    }
    bool Acted() const { return acted_; }

  protected:
    bool eventFilter(QObject* band, QEvent* event) override {
        if (!acted_ && event->type() == QEvent::Resize &&
            static_cast<QWidget*>(band)->width() > 1) {
            acted_ = true;
            act_();
        }
        return false;
    }

  private:
    std::function<void()> act_;
    bool acted_ = false;
};

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

    // During a run "Anaglyph" reads "Cancel" and the commands that replace or write
    // the pictures wait. "Cancel" chosen at once or once the run is under way, or the
    // window closed, ends the run with the opened picture back; a closed window closes
    // (writing the settings) once the run has ended.
    void CancelRestoresThePicture_data() {
        QTest::addColumn<bool>("under_way");
        QTest::addColumn<bool>("close");
        QTest::addRow("cancel at once") << false << false;
        QTest::addRow("cancel under way") << true << false;
        QTest::addRow("close at once") << false << true;
        QTest::addRow("close under way") << true << true;
    }
    void CancelRestoresThePicture() {
        QFETCH(bool, under_way);
        QFETCH(bool, close);
        const QImage picture = TestPicture(900, 700);
        const StartedWindow w = StartWindow();
        QVERIFY(OpenNew(*w.window, folder_.filePath(QStringLiteral("p.png")), picture));
        frmQelun& window = *w.window;
        window.Globals().glbWarp = 33;
        const MainMenus& m = window.Menus();
        m.mnuAnaglyph->trigger();
        QCOMPARE(m.mnuAnaglyph->text(), QStringLiteral("Cancel"));
        for (const QAction* waits :
             {m.mnuFileOpen, m.mnuFileSaveAs, m.mnuFileReload, m.mnuDepthGrain})
            QVERIFY(!waits->isEnabled());
        QCOMPARE(window.CurrentRunState(), frmQelun::RunState::Running);
        const auto act = [&] {
            if (close)
                window.close();
            else
                m.mnuAnaglyph->trigger();
        };
        // Under way: as the band first grows with the progress the worker posts.
        std::optional<BandGrowth> grown;
        if (under_way)
            grown.emplace(*window.Band(), act);
        else
            act();
        QVERIFY(window.isVisible());
        QVERIFY(QTest::qWaitFor([&] { return !window.Running(); }));
        if (grown) QVERIFY(grown->Acted());
        QCOMPARE(window.isVisible(), !close);
        QCOMPARE(Shown(window), picture);
        QCOMPARE(m.mnuAnaglyph->text(), QStringLiteral("Anaglyph"));
        QVERIFY(window.Band()->isHidden());
        QVERIFY(m.mnuFileOpen->isEnabled());
        QCOMPARE(window.LastOutcome(), conversion::Outcome::kCancelled);
        QCOMPARE(Stored("glbWarp"), QString(close ? "33" : ""));
    }

    // Every display format converts, for either lens, as the conversion call does, and
    // saves what it shows; the next run starts from the opened file again.
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
        const StartedWindow w = StartWindow(bits);
        QVERIFY(OpenNew(*w.window, folder_.filePath(QStringLiteral("p.png")), stripes));
        frmQelun& window = *w.window;
        const MainMenus& m = window.Menus();
        const QImage opened = Shown(window);
        const platform::Picture picture = *window.Surfaces().picOriginal.GetPicture();
        m.mnuRedBlue[std::size_t(lens)]->trigger();
        QVERIFY(RunAnaglyph(window));

        const QImage result = Shown(window);
        QCOMPARE(result.size(), QSize(23, 11));
        // With 5-bit channels the depth map saturates (no band moves) and the 0.99 gain
        // leaves every value below 50 alone: the anaglyph is the picture itself.
        if (bits != 15) QVERIFY(result != opened);
        // Whose pixels are right is the conversion's tests' business: here the window
        // must give what the conversion call makes of the shown picture and the choices.
        core::Progress progress;
        const conversion::Result own =
            conversion::Run(picture, window.GetDisplay(), window.Choices(), progress);
        QCOMPARE(result,
                 pictureio::ImageFromBitmap(own.views.anaglyph.bitmap, window.GetDisplay()));
        QCOMPARE(window.View()->ShownImage(), result);

        const QString saved = folder_.filePath(QStringLiteral("saved.bmp"));
        w.prompts->answers.push_back(saved);
        m.mnuFileSaveAs->trigger();
        QVERIFY(w.prompts->messages.isEmpty());
        QCOMPARE(QImage(saved, "BMP").convertToFormat(QImage::Format_RGB32), result);
        QVERIFY(RunAnaglyph(window));
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

    // At actual size the view paints the bitmap's own pixels wherever it is scrolled
    // to, and a pixel drawn afterwards once the bitmap is said to have changed.
    void AViewPaintsTheBitmapsPixels() {
        const platform::Display display(32);
        platform::Picture picture = pictureio::PictureFromImage(NoisyImage(31, 200), display);
        PictureView view(display, nullptr);
        view.resize(80, 30);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.ShowBitmap(&picture.bitmap);
        view.ActualSize();
        const QImage expected = pictureio::ImageFromBitmap(picture.bitmap, display);
        QCOMPARE(view.ShownImage(), expected);
        for (const int scrolled : {120, 0, 170}) {
            view.verticalScrollBar()->setValue(scrolled);
            const int top = view.verticalScrollBar()->value();
            // The narrower picture is centred across the view.
            const int left = (view.viewport()->width() - 31) / 2;
            QCOMPARE(view.viewport()
                         ->grab(QRect(left, 0, 31, 20))
                         .toImage()
                         .convertToFormat(QImage::Format_RGB32),
                     expected.copy(QRect(0, top, 31, 20)));
        }
        std::uint8_t* pixel = picture.bitmap.MutableRow(150).data() + 3 * 4;
        pixel[0] = 0, pixel[1] = 0, pixel[2] = 255;
        view.BitmapChanged();
        QCOMPARE(view.ShownImage().pixel(3, 150), qRgb(255, 0, 0));
    }

    // A large bitmap is made into what is painted on a worker: until it is there the
    // view paints what it showed before (never a blank), then the bitmap reduced
    // smoothly to the zoom, exactly as it would have been made on the UI thread.
    void AViewMakesALargePictureOffTheUiThread() {
        const platform::Display display(32);
        platform::Picture first = pictureio::PictureFromImage(NoisyImage(1600, 1200), display);
        platform::Picture second = pictureio::PictureFromImage(TestPicture(1600, 1200), display);
        PictureView view(display, nullptr);
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const auto painted = [&] {
            return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        const auto reduced = [&](const platform::Bitmap& bitmap) {
            return pictureio::ImageFromBitmap(bitmap, display)
                .scaled(view.viewport()->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        };
        view.ShowBitmap(&first.bitmap);
        QCOMPARE(view.Zoom(), 0.25);
        painted();
        QVERIFY(view.Preparing());
        QTRY_VERIFY(!view.Preparing());
        QCOMPARE(painted(), reduced(first.bitmap));
        const std::int64_t made = view.Conversions();

        view.ShowBitmap(&second.bitmap);
        QCOMPARE(painted(), reduced(first.bitmap));  // the earlier picture, meanwhile
        QVERIFY(view.Preparing());
        QTRY_VERIFY(!view.Preparing());
        QCOMPARE(painted(), reduced(second.bitmap));
        QCOMPARE(view.Conversions(), made + 1);
        view.ShowBitmap(&second.bitmap);  // the same again: nothing to make
        painted();
        QVERIFY(!view.Preparing());
        QCOMPARE(view.Conversions(), made + 1);
    }

  private:
    QTemporaryDir folder_;
};

ZARVIK_APP_TEST_MAIN(ConversionTest)
#include "app_conversion_test.moc"
