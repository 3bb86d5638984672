// The window's small rules: file names and messages, the surfaces' pixel format,
// twips, the depth histogram's counts and the option groups' check marks.
#include <QAction>
#include <QTest>

#include "app/depth_histogram.h"
#include "app/display_depth.h"
#include "app/file_messages.h"
#include "app/option_group.h"
#include "app/twips.h"
#include "tests/app/app_test_main.h"

class HelpersTest : public QObject {
    Q_OBJECT

  private slots:
    void FileTitleAndStartingFolder_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("folder");
        QTest::newRow("folder") << "/home/pics/tree.jpg"
                                << "tree.jpg"
                                << "/home/pics";
        QTest::newRow("deeper") << "/a/b/c/x.y.bmp"
                                << "x.y.bmp"
                                << "/a/b/c";
        QTest::newRow("root") << "/tree.jpg"
                              << "tree.jpg"
                              << "/";
        QTest::newRow("spaces inside") << "/my pics/a tree.png"
                                       << "a tree.png"
                                       << "/my pics";
    }
    void FileTitleAndStartingFolder() {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QFETCH(QString, folder);
        QCOMPARE(filemessages::FileTitleOf(path), title);
        QCOMPARE(filemessages::InitialFolderOf(path, title), folder);
    }

    void ChosenPathLosesOuterSpacesUnlessTheyNameAFile() {
        QCOMPARE(filemessages::TrimmedPath(QStringLiteral("  /nowhere/a.bmp  ")),
                 QStringLiteral("/nowhere/a.bmp"));
        QCOMPARE(filemessages::TrimmedPath(QStringLiteral("/nowhere/a.bmp")),
                 QStringLiteral("/nowhere/a.bmp"));
        QTemporaryDir dir;
        const QString spaced = dir.filePath(QStringLiteral(" b.bmp "));
        QFile file(spaced);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(filemessages::TrimmedPath(spaced), spaced);
    }

    void CaptionAndFailureTexts() {
        QCOMPARE(filemessages::WindowCaptionFor(QStringLiteral("tree.jpg")),
                 QStringLiteral("Zarvik [tree.jpg]"));
        const pictureio::FileError error{481, QStringLiteral("Invalid picture")};
        QCOMPARE(filemessages::OpenFailureText(error, QStringLiteral("/p/a.txt")),
                 QStringLiteral("Error 481 opening file '/p/a.txt'\r\nInvalid picture"));
        QCOMPARE(filemessages::SaveFailureText({75, QStringLiteral("No room")},
                                               QStringLiteral("/q/b.bmp")),
                 QStringLiteral("Error 75 saving file '/q/b.bmp'\r\nNo room"));
    }

    void SurfaceFormatFollowsTheScreenDepth_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("surface");
        QTest::newRow("32") << 32 << 32;
        QTest::newRow("24") << 24 << 32;
        QTest::newRow("16") << 16 << 16;
        QTest::newRow("15") << 15 << 15;
        QTest::newRow("8") << 8 << 8;
        QTest::newRow("30, deep colour") << 30 << 32;
        QTest::newRow("1, unknown") << 1 << 32;
    }
    void SurfaceFormatFollowsTheScreenDepth() {
        QFETCH(int, screen);
        QFETCH(int, surface);
        QCOMPARE(SurfaceBitsForScreenDepth(screen), surface);
    }

    void TwipsRoundHalfToEvenPixels() {
        QCOMPARE(twips::ToPixels(5160), 344);
        QCOMPARE(twips::ToPixels(10), 1);
        QCOMPARE(twips::ToPixels(7.5), 0);   // half a pixel
        QCOMPARE(twips::ToPixels(22.5), 2);  // one and a half
        QCOMPARE(twips::ToPixels(37.5), 2);  // two and a half
        QCOMPARE(twips::ToPixels(-10000), -667);
        QCOMPARE(twips::FromPixels(344), 5160);
    }

    void HistogramCountsTheRedChannelOnly() {
        core::PixelGrid grid(3, 2);
        grid(0, 0) = {9, 9, 0};
        grid(1, 0) = {0, 0, 7};
        grid(2, 0) = {200, 100, 7};
        grid(0, 1) = {1, 2, 255};
        grid(1, 1) = {0, 0, 0};
        grid(2, 1) = {0, 0, 7};
        const depthhistogram::Counts counts = depthhistogram::CountRedValues(grid);
        QCOMPARE(counts[0], 2);
        QCOMPARE(counts[7], 3);
        QCOMPARE(counts[255], 1);
        QCOMPARE(counts[9], 0);
        QCOMPARE(counts[200], 0);
        QCOMPARE(depthhistogram::PeakOf(counts), 3);
    }

    void HistogramPeakLeavesValueZeroOut() {
        depthhistogram::Counts counts{};
        counts[0] = 1000;
        QCOMPARE(depthhistogram::PeakOf(counts), 0);
        counts[255] = 4;
        counts[1] = 5;
        QCOMPARE(depthhistogram::PeakOf(counts), 5);
    }

    void HistogramOfAnEmptyGridIsEmpty() {
        const depthhistogram::Counts counts = depthhistogram::CountRedValues(core::PixelGrid());
        for (const std::int32_t count : counts) QCOMPARE(count, 0);
    }

    void OptionGroupCheckMarks() {
        QAction a;
        QAction b;
        QAction c;
        const std::array<QAction*, 3> group = {&a, &b, &c};
        for (QAction* action : group) action->setCheckable(true);
        CheckOnly(group, 1);
        QCOMPARE(CheckedIndex(group), 1);
        QVERIFY(!a.isChecked() && b.isChecked() && !c.isChecked());
        CheckOnly(group, 3);
        QCOMPARE(CheckedIndex(group), -1);
        CheckOnly(group, 2);
        CheckOnly(group, -1);
        QCOMPARE(CheckedIndex(group), -1);
    }
};

ZARVIK_APP_TEST_MAIN(HelpersTest)
#include "app_helpers_test.moc"
