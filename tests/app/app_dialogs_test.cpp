// The two tuning dialogs, driven as a user drives them: the depth grain dialog's
// option buttons, clicks in its histogram, "Default" and "OK"; the warp and depth
// dialog's scroll bars; and each opened from the main window.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <limits>

#include "app/frm_depth_grain.h"
#include "app/frm_warp_shift.h"
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

class DialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { ClearStore(); }

    void GrainOpensWithTheBoundariesAndNoRangeChosen() {
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
    }

    // A click moves the chosen range's upper boundary (the first when none is chosen)
    // to the clicked x, rounded half to even, but only strictly between its
    // neighbours; the last range has no upper neighbour.
    void GrainClickMovesTheChosenBoundaryBetweenItsNeighbours() {
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
    void GrainClicksAtTheHistogramsEdges() {
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
    void GrainRangeTextsAndDefault() {
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
    void GrainHistogramScaleBarsAndLines() {
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
        QCOMPARE(box.ScaleTop(), 11.0f);
        QCOMPARE(box.ScaleHeight(), -12.0f);

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

    // The bars open on the values; a stored value outside a bar's range stays as it
    // is until the bar moves.
    void WarpShiftOpensOnTheCurrentValues() {
        struct Case {
            std::int16_t warp, shift;
            int warp_bar, shift_bar;
        };
        for (const Case& c : {Case{24, 6, 24, 6}, Case{0, -20, 1, 0}}) {
            TavsMod::Values values;
            values.glbWarp = c.warp;
            values.glbShift = c.shift;
            frmWarpShift dialog(values, nullptr);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Warp and Depth"));
            QCOMPARE(dialog.HScroll1->value(), c.warp_bar);
            QCOMPARE(dialog.HScroll2->value(), c.shift_bar);
            QCOMPARE(dialog.Label1->text(), QStringLiteral("Warp: %1").arg(c.warp));
            QCOMPARE(dialog.Label2->text(), QStringLiteral("Depth: %1").arg(c.shift));
            QCOMPARE(values.glbWarp, c.warp);
            QCOMPARE(values.glbShift, c.shift);
            dialog.HScroll2->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            QCOMPARE(values.glbShift, c.shift_bar + 1);
            QCOMPARE(values.glbWarp, c.warp);
        }
    }

    // Arrows and track move by one and stop at the bars' ends: warp 1 to 100, depth
    // -12 to 12.
    void WarpShiftArrowsAndTrackMoveByOneWithinTheEnds() {
        using Slider = QAbstractSlider;
        struct Case {
            int warp, shift;  // before
            bool warp_bar;
            Slider::SliderAction action;
            int after;
        };
        const Case cases[] = {{24, 6, true, Slider::SliderSingleStepAdd, 25},
                              {24, 6, true, Slider::SliderPageStepSub, 23},
                              {24, 6, false, Slider::SliderSingleStepSub, 5},
                              {24, 6, false, Slider::SliderPageStepAdd, 7},
                              {1, 6, true, Slider::SliderSingleStepSub, 1},
                              {100, 6, true, Slider::SliderPageStepAdd, 100},
                              {24, -12, false, Slider::SliderPageStepSub, -12},
                              {24, 12, false, Slider::SliderSingleStepAdd, 12}};
        for (const Case& c : cases) {
            TavsMod::Values values;
            values.glbWarp = static_cast<std::int16_t>(c.warp);
            values.glbShift = static_cast<std::int16_t>(c.shift);
            frmWarpShift dialog(values, nullptr);
            (c.warp_bar ? dialog.HScroll1 : dialog.HScroll2)->triggerAction(c.action);
            QCOMPARE(int(values.glbWarp), c.warp_bar ? c.after : c.warp);
            QCOMPARE(int(values.glbShift), c.warp_bar ? c.shift : c.after);
            QCOMPARE(dialog.Label1->text(), QStringLiteral("Warp: %1").arg(values.glbWarp));
            QCOMPARE(dialog.Label2->text(), QStringLiteral("Depth: %1").arg(values.glbShift));
        }
    }

    // Dragging a thumb changes the value at every step, tracking or not.
    void WarpShiftThumbDragUpdatesLive() {
        for (const bool warp_bar : {true, false}) {
            TavsMod::Values values;
            frmWarpShift dialog(values, nullptr);
            QScrollBar& bar = *(warp_bar ? dialog.HScroll1 : dialog.HScroll2);
            const QLabel& label = *(warp_bar ? dialog.Label1 : dialog.Label2);
            const std::int16_t& value = warp_bar ? values.glbWarp : values.glbShift;
            bar.setTracking(warp_bar);
            bar.setSliderDown(true);
            for (const int position : {3, 11}) {
                bar.setSliderPosition(position);
                QCOMPARE(int(value), position);
                QVERIFY(label.text().endsWith(QStringLiteral(": %1").arg(position)));
            }
            bar.setSliderDown(false);
            QCOMPARE(bar.value(), 11);
            QCOMPARE(int(value), 11);
        }
    }

    void SetWarpAndShiftOpensTheDialogOnTheWindowsValues() {
        const StartedWindow w = StartWindow(32);
        w.window->Globals().glbWarp = 40;
        w.prompts->on_modal = [](QDialog& shown) {
            auto* dialog = qobject_cast<frmWarpShift*>(&shown);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->HScroll1->value(), 40);
            dialog->HScroll1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            dialog->HScroll2->triggerAction(QAbstractSlider::SliderToMinimum);
        };
        w.window->Menus().mnuSetWarpShift->trigger();
        QCOMPARE(w.prompts->modal_dialogs, 1);
        QCOMPARE(w.window->Globals().glbWarp, 41);
        QCOMPARE(w.window->Globals().glbShift, -12);
        w.prompts->on_modal = [](QDialog& shown) {
            auto* dialog = qobject_cast<frmWarpShift*>(&shown);
            QCOMPARE(dialog->Label1->text(), QStringLiteral("Warp: 41"));
            QCOMPARE(dialog->HScroll2->value(), -12);
        };
        w.window->Menus().mnuSetWarpShift->trigger();
        QCOMPARE(w.prompts->modal_dialogs, 2);
    }
};

ZARVIK_APP_TEST_MAIN(DialogsTest)
#include "app_dialogs_test.moc"
