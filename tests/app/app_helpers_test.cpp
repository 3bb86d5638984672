// The window's small rules (file names, the surfaces' pixel format, twips, the depth
// histogram's counts), pictures between Qt images and bitmaps, whole, by rows and by
// areas, and the picture view, which converts only the pixels it paints.
#include <QTest>
#include <array>
#include <random>

#include "app/depth_histogram.h"
#include "app/display_depth.h"
#include "app/file_messages.h"
#include "app/picture_io.h"
#include "app/surface_view.h"
#include "app/twips.h"
#include "tests/app/app_test_main.h"

namespace {

// An RGB32 image whose unused alpha bytes are not 0xFF, as a decoder may leave them.
QImage NoisyImage(int width, int height, unsigned seed) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) row[x] = static_cast<QRgb>(random());
    }
    return image;
}

}  // namespace

class HelpersTest : public QObject {
    Q_OBJECT

  private slots:
    void FileTitleAndStartingFolder() {
        struct Case {
            const char *path, *title, *folder;
        };
        for (const Case& c :
             {Case{"/a/b/c/x.y.bmp", "x.y.bmp", "/a/b/c"}, Case{"/tree.jpg", "tree.jpg", "/"},
              Case{"/my pics/a tree.png", "a tree.png", "/my pics"}}) {
            QCOMPARE(filemessages::FileTitleOf(c.path), QString(c.title));
            QCOMPARE(filemessages::InitialFolderOf(c.path, c.title), QString(c.folder));
        }
    }

    void ChosenPathLosesOuterSpacesUnlessTheyNameAFile() {
        QCOMPARE(filemessages::TrimmedPath(QStringLiteral("  /nowhere/a.bmp  ")),
                 QStringLiteral("/nowhere/a.bmp"));
        QTemporaryDir dir;
        const QString spaced = dir.filePath(QStringLiteral(" b.bmp "));
        QFile file(spaced);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(filemessages::TrimmedPath(spaced), spaced);
    }

    void SurfaceFormatFollowsTheScreenDepth() {
        // screen depth, surface bits: 30 is deep colour, 1 an unknown depth
        const std::array<std::array<int, 2>, 7> cases{
            {{32, 32}, {24, 32}, {16, 16}, {15, 15}, {8, 8}, {30, 32}, {1, 32}}};
        for (const auto& [screen, surface] : cases)
            QCOMPARE(SurfaceBitsForScreenDepth(screen), surface);
    }

    void TwipsRoundHalfToEvenPixels() {
        const std::array<std::pair<double, int>, 6> cases{
            {{5160, 344}, {10, 1}, {7.5, 0}, {22.5, 2}, {37.5, 2}, {-10000, -667}}};
        for (const auto& [twips_value, pixels] : cases)
            QCOMPARE(twips::ToPixels(twips_value), pixels);
    }

    // Only red counts, and the peak leaves value 0 (a depth map's background) out.
    void HistogramCountsTheRedChannelAndPeaksAboveZero() {
        core::PixelGrid grid(3, 2);
        grid(0, 0) = {9, 9, 0};
        grid(1, 0) = {0, 0, 7};
        grid(2, 0) = {200, 100, 7};
        grid(0, 1) = {1, 2, 255};
        grid(1, 1) = {0, 0, 0};
        grid(2, 1) = {0, 0, 0};
        const depthhistogram::Counts counts = depthhistogram::CountRedValues(grid);
        QCOMPARE(counts[0], 3);
        QCOMPARE(counts[7], 2);
        QCOMPARE(counts[255], 1);
        QCOMPARE(counts[9] + counts[100] + counts[200], 0);
        QCOMPARE(depthhistogram::PeakOf(counts), 2);
    }

    void LoadedPixelsAreBlueGreenRedAndZero() {
        const platform::Display display(32);
        for (const int width : {1, 3, 17}) {
            const QImage image = NoisyImage(width, 3, 5);
            const platform::Picture picture = pictureio::PictureFromImage(image, display);
            QCOMPARE(picture.bitmap.Width(), width);
            for (int y = 0; y < 3; ++y) {
                const std::uint8_t* row = picture.bitmap.Row(y).data();
                for (int x = 0; x < width; ++x) {
                    const QRgb pixel = image.pixel(x, y);
                    QCOMPARE(row[4 * x], static_cast<std::uint8_t>(qBlue(pixel)));
                    QCOMPARE(row[4 * x + 1], static_cast<std::uint8_t>(qGreen(pixel)));
                    QCOMPARE(row[4 * x + 2], static_cast<std::uint8_t>(qRed(pixel)));
                    QCOMPARE(row[4 * x + 3], std::uint8_t{0});
                }
            }
        }
    }

    void ShownPixelsAreOpaqueWhateverTheFourthByte() {
        const platform::Display display(32);
        platform::Bitmap bitmap(17, 2, 32);
        std::mt19937 random(9);
        for (std::uint8_t& byte : bitmap.MutableBits()) byte = static_cast<std::uint8_t>(random());
        const QImage image = pictureio::ImageFromBitmap(bitmap, display);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 17; ++x) {
                const std::uint8_t* p = bitmap.Row(y).data() + 4 * x;
                QCOMPARE(image.pixel(x, y), qRgb(p[2], p[1], p[0]));
            }
    }

    void PixelsAreConvertedOnlyWhereAsked() {
        const QRect areas[] = {{0, 2, 9, 2},  {3, 0, 4, 6}, {-2, 4, 5, 9},
                               {8, -1, 7, 3}, {9, 0, 2, 6}, {4, 3, 0, 2}};
        for (const int bits : {8, 15, 16, 24, 32}) {
            const platform::Display display(bits);
            const platform::Picture picture =
                pictureio::PictureFromImage(NoisyImage(9, 6, 3), display);
            const QImage whole = pictureio::ImageFromBitmap(picture.bitmap, display);
            for (const QRect& area : areas) {
                QImage part(9, 6, QImage::Format_RGB32);
                part.fill(qRgb(1, 2, 3));
                pictureio::ImageAreaFromBitmap(picture.bitmap, display, area, part);
                for (int y = 0; y < 6; ++y)
                    for (int x = 0; x < 9; ++x)
                        QCOMPARE(part.pixel(x, y),
                                 area.contains(x, y) ? whole.pixel(x, y) : qRgb(1, 2, 3));
            }
            QImage rows(9, 6, QImage::Format_RGB32);
            rows.fill(qRgb(1, 2, 3));
            pictureio::ImageRowsFromBitmap(picture.bitmap, display, 2, 4, rows);
            for (int y = 0; y < 6; ++y)
                for (int x = 0; x < 9; ++x)
                    QCOMPARE(rows.pixel(x, y), y >= 2 && y < 4 ? whole.pixel(x, y) : qRgb(1, 2, 3));
        }
    }

    // A view taller than its window paints a strip; what it paints, and the whole
    // image asked for afterwards, are the surface's pixels, from one conversion.
    // Refreshes are converted only when painted.
    void AViewPaintsItsRowsFromOneConversion() {
        const platform::Display display(32);
        platform::PictureSurface surface(display);
        surface.SetPicture(pictureio::PictureFromImage(NoisyImage(30, 200, 4), display));
        QWidget parent;
        parent.resize(40, 30);
        SurfaceView view(surface, display, &parent);
        const QImage expected = pictureio::ImageFromBitmap(surface.Image(), display);
        const std::int64_t before = view.Conversions();

        // Strips to the right, then to the left with a gap between: each shows the
        // surface's pixels, and so does all that lies between them afterwards.
        for (const QRect strip :
             {QRect(20, 120, 10, 20), QRect(0, 130, 5, 20), QRect(0, 120, 30, 20)}) {
            QCOMPARE(view.grab(strip).toImage().convertToFormat(QImage::Format_RGB32),
                     expected.copy(strip));
        }
        QCOMPARE(view.ShownImage(), expected);
        QCOMPARE(view.Conversions(), before + 1);

        surface.PSet(3, 150, platform::RGB(255, 0, 0));
        for (int i = 0; i < 5; ++i) surface.Refresh();
        QCOMPARE(view.Conversions(), before + 1);
        QCOMPARE(view.ShownImage().pixel(3, 150), qRgb(255, 0, 0));
        QCOMPARE(view.Conversions(), before + 2);
        surface.SetRefreshHandler({});
    }
};

ZARVIK_APP_TEST_MAIN(HelpersTest)
#include "app_helpers_test.moc"
