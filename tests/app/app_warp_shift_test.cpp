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
        QCOMPARE(dialog.HScroll1->minimum(), 1);
        QCOMPARE(dialog.HScroll1->maximum(), 100);
        QCOMPARE(dialog.HScroll2->minimum(), -12);
        QCOMPARE(dialog.HScroll2->maximum(), 12);
        for (const QScrollBar* bar : {dialog.HScroll1, dialog.HScroll2}) {
            QCOMPARE(bar->singleStep(), 1);
            QCOMPARE(bar->pageStep(), 1);
            QCOMPARE(bar->orientation(), Qt::Horizontal);
        }
        QCOMPARE(dialog.size(), QSize(225, 101));
    }

    void ArrowsAndTrackMoveByOne() {
        TavsMod::Values values;
        frmWarpShift dialog(values, nullptr);
        dialog.HScroll1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(values.glbWarp, 25);
        QCOMPARE(dialog.Label1->text(), QStringLiteral("Warp: 25"));
        dialog.HScroll1->triggerAction(QAbstractSlider::SliderPageStepSub);
        dialog.HScroll1->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(values.glbWarp, 23);
        dialog.HScroll2->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(values.glbShift, 5);
        QCOMPARE(dialog.Label2->text(), QStringLiteral("Depth: 5"));
    }

    void BarsStopAtTheirEnds() {
        TavsMod::Values values;
        values.glbWarp = 1;
        values.glbShift = -12;
        frmWarpShift dialog(values, nullptr);
        QCOMPARE(dialog.Label1->text(), QStringLiteral("Warp: 1"));
        dialog.HScroll1->triggerAction(QAbstractSlider::SliderSingleStepSub);
        dialog.HScroll2->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(values.glbWarp, 1);
        QCOMPARE(values.glbShift, -12);
        QCOMPARE(dialog.Label2->text(), QStringLiteral("Depth: -12"));
        dialog.HScroll1->triggerAction(QAbstractSlider::SliderToMaximum);
        dialog.HScroll1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(values.glbWarp, 100);
    }

    void DraggingTheThumbUpdatesLive() {
        TavsMod::Values values;
        frmWarpShift dialog(values, nullptr);
        QScrollBar& bar = *dialog.HScroll1;
        bar.setSliderDown(true);
        for (const int position : {30, 47, 88}) {
            bar.setSliderPosition(position);
            QCOMPARE(values.glbWarp, position);
            QCOMPARE(dialog.Label1->text(), QStringLiteral("Warp: %1").arg(position));
        }
        bar.setSliderDown(false);
        QCOMPARE(bar.value(), 88);
        QCOMPARE(values.glbWarp, 88);
    }

    void DraggingWithoutTrackingStillUpdatesLive() {
        TavsMod::Values values;
        frmWarpShift dialog(values, nullptr);
        QScrollBar& bar = *dialog.HScroll2;
        bar.setTracking(false);
        bar.setSliderDown(true);
        bar.setSliderPosition(-9);
        QCOMPARE(bar.value(), 6);
        QCOMPARE(values.glbShift, -9);
        QCOMPARE(dialog.Label2->text(), QStringLiteral("Depth: -9"));
        bar.setSliderDown(false);
        QCOMPARE(bar.value(), -9);
        QCOMPARE(values.glbShift, -9);
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
        w.window->mnuSetWarpShift_Click();
        QCOMPARE(w.prompts->modal_dialogs, 2);
    }
};

ZARVIK_APP_TEST_MAIN(WarpShiftTest)
#include "app_warp_shift_test.moc"
