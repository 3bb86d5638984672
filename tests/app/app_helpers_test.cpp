// The window's small rules: file names, the surfaces' pixel format, twips and the
// depth histogram's counts.
#include <QTest>
#include <array>

#include "app/depth_histogram.h"
#include "app/display_depth.h"
#include "app/file_messages.h"
#include "app/twips.h"
#include "tests/app/app_test_main.h"

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
};

ZARVIK_APP_TEST_MAIN(HelpersTest)
#include "app_helpers_test.moc"
