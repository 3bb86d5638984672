// The warp and depth dialog, driven through its scroll bars, and opened from the
// main window.
#include <QLabel>
#include <QScrollBar>
#include <QTest>

#include "app/frm_warp_shift.h"
#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"

class WarpShiftTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { ClearStore(); }

    void OpensOnTheCurrentValues() {
        TavsMod::Values values;
        frmWarpShift dialog(values, nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Warp and Depth"));
        QCOMPARE(dialog.HScroll1->value(), 24);
        QCOMPARE(dialog.HScroll2->value(), 6);
        QCOMPARE(dialog.Label1->text(), QStringLiteral("Warp: 24"));
        QCOMPARE(dialog.Label2->text(), QStringLiteral("Depth: 6"));
        QCOMPARE(dialog.size(), QSize(225, 101));
        QCOMPARE(dialog.HScroll1->orientation(), Qt::Horizontal);
        QCOMPARE(dialog.HScroll2->orientation(), Qt::Horizontal);
    }

    // Arrows and track move by one and stop at the bars' ends: warp 1 to 100, depth
    // -12 to 12.
    void ArrowsAndTrackMoveByOneWithinTheEnds() {
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
    void DraggingTheThumbUpdatesLive() {
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

    void StoredValuesOutsideTheBarsStayUntilMoved() {
        TavsMod::Values values;
        values.glbWarp = 0;
        values.glbShift = -20;
        frmWarpShift dialog(values, nullptr);
        QCOMPARE(dialog.HScroll1->value(), 1);
        QCOMPARE(dialog.HScroll2->value(), 0);
        QCOMPARE(dialog.Label1->text(), QStringLiteral("Warp: 0"));
        QCOMPARE(dialog.Label2->text(), QStringLiteral("Depth: -20"));
        QCOMPARE(values.glbWarp, 0);
        QCOMPARE(values.glbShift, -20);
        dialog.HScroll2->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(values.glbShift, 1);
        QCOMPARE(values.glbWarp, 0);
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

ZARVIK_APP_TEST_MAIN(WarpShiftTest)
#include "app_warp_shift_test.moc"
