// The depth grain dialog, driven as a user drives it: option buttons, clicks in
// the histogram, "Default" and "OK"; and opened from the main window.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

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

// Where a click lands in the histogram for user x coordinate `x` (the nearest
// pixel column), and the x the dialog then sees.
int PixelFor(const HistogramBox& box, double x) {
    return static_cast<int>(std::lround(box.PixelXOf(x)));
}

void ClickHistogramAt(frmDepthGrain& dialog, int pixel_x) {
    QTest::mouseClick(dialog.picHistogram, Qt::LeftButton, Qt::NoModifier,
                      QPoint(pixel_x, dialog.picHistogram->height() / 2));
}

std::array<std::int16_t, 5> Factory() {
    return TavsMod::kDefaultDepth;
}

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
        for (int i = 0; i < 5; ++i) {
            const auto at = static_cast<std::size_t>(i);
            QVERIFY(!dialog.optDepth[at]->isChecked());
            QCOMPARE(dialog.Label1[at]->text(), QStringLiteral("Grain Range #%1:").arg(i + 1));
            QVERIFY(QFontMetrics(dialog.Label1[at]->font())
                        .horizontalAdvance(dialog.Label1[at]->text()) <=
                    dialog.Label1[at]->width());
            QCOMPARE(dialog.Label2[at]->text(), QStringLiteral("to"));
            QCOMPARE(dialog.picHistogram->LineX(i), float(Factory()[at]));
            QVERIFY(dialog.txtFrom[at]->isReadOnly());
        }
        QCOMPARE(dialog.Command1->text(), QStringLiteral("OK"));
        QCOMPARE(dialog.Command2->text(), QStringLiteral("Default"));
        QCOMPARE(dialog.SelectedRange(), 0);
        QCOMPARE(dialog.picHistogram->size(), QSize(241, 113));
    }

    void LineColoursByIndex() {
        QCOMPARE(HistogramBox::LineColor(0), QColor(255, 0, 0));
        QCOMPARE(HistogramBox::LineColor(1), QColor(255, 128, 0));
        QCOMPARE(HistogramBox::LineColor(2), QColor(255, 255, 0));
        QCOMPARE(HistogramBox::LineColor(3), QColor(0, 255, 0));
        QCOMPARE(HistogramBox::LineColor(4), QColor(0, 255, 255));
    }

    void ClickAtSeventyMovesTheFirstBoundary() {
        TavsMod::Values values;
        {
            frmDepthGrain dialog(values, nullptr);
            QTest::mouseClick(dialog.optDepth[0], Qt::LeftButton);
            dialog.picHistogram_MouseUp(1, 0, 70.0f, 10.0f);
            QCOMPARE(values.Depth[0], 70);
            QCOMPARE(dialog.picHistogram->LineX(0), 70.0f);
            QCOMPARE(dialog.txtTo[0]->text(), QStringLiteral("70"));
            QCOMPARE(dialog.txtFrom[1]->text(), QStringLiteral("71"));
        }
        frmDepthGrain reopened(values, nullptr);
        QCOMPARE(reopened.txtTo[0]->text(), QStringLiteral("69"));
        QCOMPARE(reopened.txtFrom[1]->text(), QStringLiteral("70"));
    }

    void ABoundaryMovesOnlyBetweenItsNeighbours() {
        TavsMod::Values values;
        frmDepthGrain dialog(values, nullptr);
        QTest::mouseClick(dialog.optDepth[2], Qt::LeftButton);
        QCOMPARE(dialog.SelectedRange(), 2);
        dialog.picHistogram_MouseUp(1, 0, 100.0f, 0.0f);
        dialog.picHistogram_MouseUp(2, 1, 200.0f, 0.0f);
        QVERIFY(values.Depth == Factory());
        QCOMPARE(dialog.txtTo[2]->text(), QStringLiteral("149"));
        dialog.picHistogram_MouseUp(1, 0, 101.0f, 0.0f);
        QCOMPARE(values.Depth[2], 101);
        QCOMPARE(dialog.txtTo[2]->text(), QStringLiteral("101"));
        QCOMPARE(dialog.txtFrom[3]->text(), QStringLiteral("102"));
    }

    void LastRangeStopsAboveTheFourthBoundaryOnly() {
        TavsMod::Values values;
        frmDepthGrain dialog(values, nullptr);
        dialog.ShowHistogram({});
        QTest::mouseClick(dialog.optDepth[4], Qt::LeftButton);
        dialog.picHistogram_MouseUp(1, 0, 200.0f, 0.0f);
        QCOMPARE(values.Depth[4], 255);
        const int right_edge = dialog.picHistogram->width() - 1;
        ClickHistogramAt(dialog, right_edge);
        const int expected =
            static_cast<int>(std::nearbyint(dialog.picHistogram->ScaleXAt(right_edge)));
        QCOMPARE(expected, 256);
        QCOMPARE(values.Depth[4], expected);
        QCOMPARE(dialog.txtTo[4]->text(), QStringLiteral("256"));
        dialog.picHistogram_MouseUp(1, 0, 257.0f, 0.0f);
        QCOMPARE(values.Depth[4], 257);
    }

    void FirstRangeReachesTheLeftEdge() {
        TavsMod::Values values;
        frmDepthGrain dialog(values, nullptr);
        dialog.ShowHistogram({});
        QTest::mouseClick(dialog.optDepth[0], Qt::LeftButton);
        ClickHistogramAt(dialog, 0);
        QCOMPARE(values.Depth[0], -1);
        QCOMPARE(dialog.txtFrom[1]->text(), QStringLiteral("0"));
        ClickHistogramAt(dialog, 1);
        QCOMPARE(values.Depth[0], 0);
    }

    void WithoutAChosenRangeAClickMovesTheFirstBoundary() {
        TavsMod::Values values;
        frmDepthGrain dialog(values, nullptr);
        dialog.ShowHistogram({});
        const int pixel = PixelFor(*dialog.picHistogram, 30.0);
        ClickHistogramAt(dialog, pixel);
        const int x = static_cast<int>(std::nearbyint(dialog.picHistogram->ScaleXAt(pixel)));
        QVERIFY(std::abs(x - 30) <= 1);
        QCOMPARE(values.Depth[0], x);
        QCOMPARE(values.Depth[1], 100);
    }

    void ClickedXIsRoundedHalfToEven() {
        TavsMod::Values values;
        frmDepthGrain dialog(values, nullptr);
        dialog.optDepth_Click(1);
        dialog.picHistogram_MouseUp(1, 0, 100.5f, 0.0f);
        QCOMPARE(values.Depth[1], 100);
        dialog.picHistogram_MouseUp(1, 0, 101.5f, 0.0f);
        QCOMPARE(values.Depth[1], 102);
        dialog.picHistogram_MouseUp(1, 0, 1e9f, 0.0f);
        dialog.picHistogram_MouseUp(1, 0, std::numeric_limits<float>::quiet_NaN(), 0.0f);
        QCOMPARE(values.Depth[1], 102);
    }

    void DefaultRestoresTheFactoryBoundariesAtOnce() {
        TavsMod::Values values;
        values.Depth = {10, 20, 30, 40, 50};
        frmDepthGrain dialog(values, nullptr);
        QCOMPARE(Texts(dialog.txtTo), (QStringList{"9", "19", "29", "39", "50"}));
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);
        QVERIFY(values.Depth == Factory());
        QCOMPARE(Texts(dialog.txtFrom), (QStringList{"0", "50", "100", "150", "200"}));
        QCOMPARE(Texts(dialog.txtTo), (QStringList{"49", "99", "149", "199", "255"}));
        QCOMPARE(dialog.picHistogram->LineX(3), 200.0f);
    }

    void OkClosesAndKeepsTheBoundaries() {
        TavsMod::Values values;
        frmDepthGrain dialog(values, nullptr);
        dialog.show();
        dialog.picHistogram_MouseUp(1, 0, 44.0f, 0.0f);
        QTest::mouseClick(dialog.Command1, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(values.Depth[0], 44);
    }

    void HistogramScaleComesFromThePeakAboveZero() {
        TavsMod::Values values;
        frmDepthGrain dialog(values, nullptr);
        depthhistogram::Counts counts{};
        counts[0] = 5000;
        counts[128] = 10;
        counts[3] = 4;
        dialog.ShowHistogram(counts);
        const HistogramBox& box = *dialog.picHistogram;
        QCOMPARE(box.ScaleLeft(), -1.0f);
        QCOMPARE(box.ScaleWidth(), 258.0f);
        QCOMPARE(box.ScaleTop(), 11.0f);
        QCOMPARE(box.ScaleHeight(), -12.0f);
        QCOMPARE(box.Bars()[128], 10);
        QCOMPARE(box.Bars()[0], 5000);
    }

    void HistogramDrawsBarsAndLines() {
        TavsMod::Values values;
        frmDepthGrain dialog(values, nullptr);
        depthhistogram::Counts counts{};
        counts[128] = 10;
        counts[210] = 5;
        dialog.ShowHistogram(counts);
        const HistogramBox& box = *dialog.picHistogram;
        const QImage shown = dialog.picHistogram->grab().toImage();
        const int bar = static_cast<int>(box.PixelXOf(128.5));
        const int zero_row = static_cast<int>(box.PixelYOf(0.0));
        QCOMPARE(shown.pixelColor(bar, zero_row - 2), QColor(Qt::black));
        QCOMPARE(shown.pixelColor(bar, static_cast<int>(box.PixelYOf(9.5))), QColor(Qt::black));
        QCOMPARE(shown.pixelColor(bar, static_cast<int>(box.PixelYOf(10.8))), QColor(Qt::white));
        const int half_bar = static_cast<int>(box.PixelXOf(210.5));
        QCOMPARE(shown.pixelColor(half_bar, static_cast<int>(box.PixelYOf(4.5))),
                 QColor(Qt::black));
        QCOMPARE(shown.pixelColor(half_bar, static_cast<int>(box.PixelYOf(7.0))),
                 QColor(Qt::white));
        for (int i = 0; i < 5; ++i) {
            const int x = static_cast<int>(std::nearbyint(box.PixelXOf(Factory()[std::size_t(i)])));
            QCOMPARE(shown.pixelColor(x, 5), HistogramBox::LineColor(i));
        }
    }

    void HistogramOfAnEmptyDepthMapStillHasAnAxis() {
        TavsMod::Values values;
        frmDepthGrain dialog(values, nullptr);
        dialog.ShowHistogram({});
        QCOMPARE(dialog.picHistogram->ScaleTop(), 1.1f);
        QCOMPARE(dialog.picHistogram->ScaleHeight(), -1.2f);
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
        };
        w.window->Menus().mnuDepthGrain->trigger();
        QVERIFY(seen);
        QCOMPARE(w.prompts->modal_dialogs, 1);
        QCOMPARE(w.window->Globals().Depth[1], 120);
    }
};

ZARVIK_APP_TEST_MAIN(DepthGrainTest)
#include "app_depth_grain_test.moc"
