// The depth grain dialog, driven as a user drives it: option buttons, clicks in
// the histogram, "Default" and "OK"; and opened from the main window.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <limits>

#include "app/frm_depth_grain.h"
#include "app/histogram_box.h"
#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"

namespace {

QStringList Texts(const std::array<QLineEdit*, 5>& boxes) {
    QStringList texts;
    for (const QLineEdit* box : boxes) texts << box->text();
    return texts;
}

void ClickHistogramAt(frmDepthGrain& dialog, int pixel_x) {
    QTest::mouseClick(dialog.picHistogram, Qt::LeftButton, Qt::NoModifier,
                      QPoint(pixel_x, dialog.picHistogram->height() / 2));
}

constexpr std::array<std::int16_t, 5> kFactory = TavsMod::kDefaultDepth;

}  // namespace

class DepthGrainTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { ClearStore(); }

    void OpensWithTheBoundariesAndNoRangeChosen() {
        TavsMod::Values values;
        frmDepthGrain dialog(values, nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Set Depth Grainularity"));
        QCOMPARE(Texts(dialog.txtFrom), (QStringList{"0", "50", "100", "150", "200"}));
        QCOMPARE(Texts(dialog.txtTo), (QStringList{"49", "99", "149", "199", "255"}));
        for (std::size_t i = 0; i < 5; ++i) {
            QVERIFY(!dialog.optDepth[i]->isChecked());
            const QLabel& label = *dialog.Label1[i];
            QCOMPARE(label.text(), QStringLiteral("Grain Range #%1:").arg(i + 1));
            QVERIFY(QFontMetrics(label.font()).horizontalAdvance(label.text()) <= label.width());
            QCOMPARE(dialog.Label2[i]->text(), QStringLiteral("to"));
            QCOMPARE(dialog.picHistogram->LineX(int(i)), float(kFactory[i]));
            QVERIFY(dialog.txtFrom[i]->isReadOnly());
        }
        QCOMPARE(dialog.Command1->text(), QStringLiteral("OK"));
        QCOMPARE(dialog.Command2->text(), QStringLiteral("Default"));
        QCOMPARE(dialog.SelectedRange(), 0);
        QCOMPARE(dialog.picHistogram->size(), QSize(241, 113));
    }

    // A click moves the chosen range's upper boundary (the first when none is chosen)
    // to the clicked x, rounded half to even, but only strictly between its
    // neighbours; the last range has no upper neighbour.
    void ClickMovesTheChosenBoundaryBetweenItsNeighbours() {
        struct Case {
            int range;  // -1: no option button clicked
            float x;
            std::array<std::int16_t, 5> depth;
        };
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const Case cases[] = {{-1, 30.0f, {30, 100, 150, 200, 255}},
                              {2, 100.0f, kFactory},
                              {2, 200.0f, kFactory},
                              {2, 101.0f, {50, 100, 101, 200, 255}},
                              {1, 101.5f, {50, 102, 150, 200, 255}},
                              {1, 102.5f, {50, 102, 150, 200, 255}},
                              {1, 1e9f, kFactory},
                              {1, nan, kFactory},
                              {4, 200.0f, kFactory},
                              {4, 257.0f, {50, 100, 150, 200, 257}}};
        for (const Case& c : cases) {
            TavsMod::Values values;
            frmDepthGrain dialog(values, nullptr);
            if (c.range >= 0)
                QTest::mouseClick(dialog.optDepth[std::size_t(c.range)], Qt::LeftButton);
            QCOMPARE(dialog.SelectedRange(), std::max(c.range, 0));
            dialog.picHistogram_MouseUp(1, 0, c.x, 0.0f);
            QVERIFY2(values.Depth == c.depth, qPrintable(QStringLiteral("x %1").arg(c.x)));
            for (std::size_t i = 0; i < 5; ++i)
                QCOMPARE(dialog.picHistogram->LineX(int(i)), float(c.depth[i]));
        }
    }

    // The histogram's edge columns lie beyond the value range: -1 and 256.
    void ClicksAtTheHistogramsEdges() {
        TavsMod::Values values;
        frmDepthGrain dialog(values, nullptr);
        dialog.ShowHistogram({});
        QTest::mouseClick(dialog.optDepth[4], Qt::LeftButton);
        ClickHistogramAt(dialog, dialog.picHistogram->width() - 1);
        QCOMPARE(values.Depth[4], 256);
        QCOMPARE(dialog.txtTo[4]->text(), QStringLiteral("256"));
        QTest::mouseClick(dialog.optDepth[0], Qt::LeftButton);
        ClickHistogramAt(dialog, 0);
        QCOMPARE(values.Depth[0], -1);
        QCOMPARE(dialog.txtFrom[1]->text(), QStringLiteral("0"));
        ClickHistogramAt(dialog, 1);
        QCOMPARE(values.Depth[0], 0);
    }

    // Opened, a range ends one below the next boundary; right after a click it ends at
    // the clicked boundary and the next range starts one above. "Default" restores
    // the factory boundaries at once.
    void RangeTextsAndDefault() {
        TavsMod::Values values;
        values.Depth = {10, 20, 30, 40, 50};
        frmDepthGrain dialog(values, nullptr);
        QCOMPARE(Texts(dialog.txtFrom), (QStringList{"0", "10", "20", "30", "40"}));
        QCOMPARE(Texts(dialog.txtTo), (QStringList{"9", "19", "29", "39", "50"}));
        QTest::mouseClick(dialog.optDepth[1], Qt::LeftButton);
        dialog.picHistogram_MouseUp(1, 0, 25.0f, 0.0f);
        QCOMPARE(Texts(dialog.txtFrom), (QStringList{"0", "10", "26", "30", "40"}));
        QCOMPARE(Texts(dialog.txtTo), (QStringList{"9", "25", "29", "39", "50"}));
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);
        QVERIFY(values.Depth == kFactory);
        QCOMPARE(Texts(dialog.txtFrom), (QStringList{"0", "50", "100", "150", "200"}));
        QCOMPARE(Texts(dialog.txtTo), (QStringList{"49", "99", "149", "199", "255"}));
        QCOMPARE(dialog.picHistogram->LineX(3), 200.0f);
    }

    // The scale comes from the peak above value 0, and an empty map still has an
    // axis; bars are black, the boundaries red, orange, yellow, green and cyan.
    void HistogramScaleBarsAndLines() {
        TavsMod::Values values;
        frmDepthGrain dialog(values, nullptr);
        const HistogramBox& box = *dialog.picHistogram;
        dialog.ShowHistogram({});
        QCOMPARE(box.ScaleTop(), 1.1f);
        QCOMPARE(box.ScaleHeight(), -1.2f);
        depthhistogram::Counts counts{};
        counts[0] = 5000;
        counts[128] = 10;
        counts[210] = 5;
        dialog.ShowHistogram(counts);
        QCOMPARE(box.ScaleLeft(), -1.0f);
        QCOMPARE(box.ScaleWidth(), 258.0f);
        QCOMPARE(box.ScaleTop(), 11.0f);
        QCOMPARE(box.ScaleHeight(), -12.0f);
        QCOMPARE(box.Bars()[0], 5000);

        const QImage shown = dialog.picHistogram->grab().toImage();
        const auto at = [&](double x, double y) {
            return shown.pixelColor(int(box.PixelXOf(x)), int(box.PixelYOf(y)));
        };
        const QColor black(Qt::black);
        const QColor white(Qt::white);
        QCOMPARE(shown.pixelColor(int(box.PixelXOf(128.5)), int(box.PixelYOf(0.0)) - 2), black);
        QCOMPARE(at(128.5, 9.5), black);
        QCOMPARE(at(128.5, 10.8), white);
        QCOMPARE(at(210.5, 4.5), black);
        QCOMPARE(at(210.5, 7.0), white);
        const QColor lines[] = {
            {255, 0, 0}, {255, 128, 0}, {255, 255, 0}, {0, 255, 0}, {0, 255, 255}};
        for (std::size_t i = 0; i < 5; ++i) {
            const int x = static_cast<int>(std::nearbyint(box.PixelXOf(kFactory[i])));
            QCOMPARE(shown.pixelColor(x, 5), lines[i]);
        }
    }

    void GrainCommandShowsTheDepthMapsHistogram() {
        QTemporaryDir folder;
        const QImage picture = MakeImage(16, 8, [](int x, int) { return QColor(x * 16, 5, 9); });
        const QString path = folder.filePath(QStringLiteral("g.png"));
        QVERIFY(picture.save(path));
        const StartedWindow w = StartWindow(32);
        w.window->OpenPicturePath(path);
        bool seen = false;
        w.prompts->on_modal = [&](QDialog& shown) {
            auto* dialog = qobject_cast<frmDepthGrain*>(&shown);
            QVERIFY(dialog != nullptr);
            seen = true;
            for (int v = 0; v < 256; ++v)
                QCOMPARE(dialog->picHistogram->Bars()[std::size_t(v)], v % 16 == 0 ? 8 : 0);
            QCOMPARE(dialog->picHistogram->ScaleTop(), float(1.1 * 8));
            QTest::mouseClick(dialog->optDepth[1], Qt::LeftButton);
            dialog->picHistogram_MouseUp(1, 0, 120.0f, 0.0f);
            QTest::mouseClick(dialog->Command1, Qt::LeftButton);
            QCOMPARE(dialog->result(), int(QDialog::Accepted));
        };
        w.window->Menus().mnuDepthGrain->trigger();
        QVERIFY(seen);
        QCOMPARE(w.prompts->modal_dialogs, 1);
        QCOMPARE(w.window->Globals().Depth[1], 120);
    }
};

ZARVIK_APP_TEST_MAIN(DepthGrainTest)
#include "app_depth_grain_test.moc"
