// The settings store read at start-up and written at exit, the menus' option groups,
// and the two tuning dialogs driven from the window as a user drives them.
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <limits>

#include "app/frm_depth_grain.h"
#include "app/frm_warp_shift.h"
#include "app/histogram_box.h"
#include "app/option_group.h"
#include "core/settings_table.h"
#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"

namespace {

QStringList Texts(const std::array<QLineEdit*, 5>& boxes) {
    QStringList texts;
    for (const QLineEdit* box : boxes) texts << box->text();
    return texts;
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { ClearStore(); }

    // Unreadable texts read as zero, not the default, and a stored index outside its
    // group checks no entry and is written back as read; the stored Cues entry is
    // chosen as from the menu, overriding the stored DepthCue and CueColor. All
    // seventeen keys, and the added ones at their defaults, are written at exit,
    // minimized or not, as the menus left them.
    void StoreReadAtStartAndWrittenAtExit() {
        const QString file =
            QSettings(QStringLiteral("Zarvik"), QStringLiteral("Zarvik")).fileName();
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        QVERIFY(WriteAll(file,
                         "[Settings]\nglbShift=abc\nglbWarp=70000\nDepth4=\" -7 \"\nDepth3=3.5\n"
                         "Depth2=2.5\nDoWarp=tRUE\nDoShift=1\nCueColor=3\nDepthCue=0\nCue=4\n"
                         "BlurChoice=9\nLens=-3\nFrameColor=1\nFrameType=2\n"));
        {
            const StartedWindow w = StartWindow();
            frmQelun& window = *w.window;
            const MainMenus& m = window.Menus();
            QCOMPARE(window.Globals().glbShift, 0);
            QCOMPARE(window.Settings().CueColor, 2);
            const QList<int> checked{CheckedIndex(m.mnuCue), CheckedIndex(m.mnuBlur),
                                     CheckedIndex(m.mnuRedBlue), CheckedIndex(m.mnuFrameFull),
                                     CheckedIndex(m.mnuBlackWhite)};
            QCOMPARE(checked, (QList<int>{4, -1, -1, -1, 1}));
            QVERIFY(m.mnuShift->isChecked() && m.mnuWarp->isChecked());
            m.mnuWarp->trigger();
            m.mnuCue[6]->trigger();
            m.mnuFrameYesNo[1]->trigger();
            window.Globals().Depth[1] = 149;
            window.showMinimized();
            window.close();
        }
        QSettings store(file, QSettings::IniFormat);
        QCOMPARE(store.childGroups(), QStringList{"Settings"});
        store.beginGroup(QStringLiteral("Settings"));
        QMap<QString, QString> written;
        for (const QString& key : store.childKeys()) written[key] = store.value(key).toString();
        // Keys added for new features are written after the classic ones, here at their
        // defaults.
        for (const core::SettingEntry& entry : core::SettingsTable()) {
            if (entry.step != core::ReadStep::kAdded) continue;
            const auto text = [](std::string_view t) {
                return QString::fromUtf8(t.data(), qsizetype(t.size()));
            };
            QCOMPARE(written.take(text(entry.key)), text(entry.default_text));
        }
        const QMap<QString, QString> expected = {
            {"glbShift", "0"},   {"glbWarp", "0"},  {"Depth4", "-7"},    {"Depth3", "4"},
            {"Depth2", "2"},     {"Depth1", "149"}, {"Depth0", "50"},    {"DoWarp", "False"},
            {"DoShift", "True"}, {"CueColor", "4"}, {"DepthCue", "2"},   {"Cue", "6"},
            {"BlurChoice", "9"}, {"Lens", "-3"},    {"FrameColor", "1"}, {"ShowFrame", "1"},
            {"FrameType", "2"}};
        QCOMPARE(written, expected);
    }

    // Each option entry sets its field to its place in the menu and carries the
    // group's only check, also when chosen twice, which a checkable action would
    // uncheck. (Anaglyph with no picture is in the choices' tests.)
    void OptionGroupsCheckOneEntry() {
        const StartedWindow w = StartWindow();
        const MainMenus& m = w.window->Menus();
        core::ConversionSettings& s = w.window->Settings();
        const auto walk = [](const QMenu* menu, const auto& group, const std::int16_t& field) {
            // The group's own entries: Cues also ends with the Scene submenu.
            QList<QAction*> entries = menu->actions();
            entries.removeIf([](QAction* a) { return a->isSeparator() || a->menu(); });
            QCOMPARE(entries.size(), qsizetype(group.size()));
            for (int i = int(entries.size()) - 1; i >= 0; --i) {
                for (int again = 0; again < 2; ++again) {
                    entries[i]->trigger();
                    QCOMPARE(int(field), i);
                    for (std::size_t j = 0; j < group.size(); ++j)
                        QCOMPARE(group[j]->isChecked(), int(j) == i);
                }
            }
        };
        walk(m.mnuAddFrame, m.mnuFrameYesNo, s.ShowFrame);
        walk(m.mnuFrameColor, m.mnuBlackWhite, s.FrameColor);
        walk(m.mnuFrameType, m.mnuFrameFull, s.FrameType);
        walk(m.mnuBlurs, m.mnuBlur, s.BlurChoice);
        walk(m.mnuLens, m.mnuRedBlue, s.Lens);
        walk(m.mnuCues, m.mnuCue, s.Cue);
    }

    // Grain shows the depth map's histogram, scaled to its peak above value 0 (the
    // background). A click moves the chosen range's upper boundary (the first when
    // none is chosen) to the clicked x, rounded half to even, only strictly between
    // its neighbours; the last range has none above, and the edge columns lie at -1
    // and 256. A range ends one below the next boundary, the last at its own, just as
    // the dialog shows it when it opens again.
    void GrainDialogDrivenByClicks() {
        QTemporaryDir folder;
        const StartedWindow w = StartWindow();
        QVERIFY(
            OpenNew(*w.window, folder.filePath(QStringLiteral("g.png")),
                    MakeImage(16, 8, [](int x, int) { return QColor(x < 9 ? 0 : x * 16, 5, 9); })));
        const TavsMod::Values& values = w.window->Globals();
        w.prompts->on_modal = [&values](QDialog& shown) {
            auto* dialog = qobject_cast<frmDepthGrain*>(&shown);
            QVERIFY(dialog != nullptr);
            const HistogramBox& box = *dialog->picHistogram;
            for (std::size_t v = 0; v < 256; ++v)
                QCOMPARE(box.Bars()[v], v == 0 ? 72 : v >= 144 && v % 16 == 0 ? 8 : 0);
            QCOMPARE(box.ScaleTop(), 1.1f * 8);
            for (const QLabel* label : dialog->Label1)
                QVERIFY(QFontMetrics(label->font()).horizontalAdvance(label->text()) <=
                        label->width());

            struct Click {
                int range;  // -1: no option button clicked
                float x;
                std::array<std::int16_t, 5> depth;
            };
            const float nan = std::numeric_limits<float>::quiet_NaN();
            const Click clicks[] = {
                {-1, 30.0f, {30, 100, 150, 200, 255}}, {1, 102.5f, {30, 102, 150, 200, 255}},
                {2, 102.0f, {30, 102, 150, 200, 255}}, {2, 200.0f, {30, 102, 150, 200, 255}},
                {2, nan, {30, 102, 150, 200, 255}},    {2, 1e9f, {30, 102, 150, 200, 255}},
                {2, 149.0f, {30, 102, 149, 200, 255}}, {4, 257.0f, {30, 102, 149, 200, 257}}};
            for (const Click& c : clicks) {
                if (c.range >= 0)
                    QTest::mouseClick(dialog->optDepth[std::size_t(c.range)], Qt::LeftButton);
                dialog->picHistogram_MouseUp(1, 0, c.x, 0.0f);
                QVERIFY2(values.Depth == c.depth, qPrintable(QStringLiteral("x %1").arg(c.x)));
                for (std::size_t i = 0; i < 5; ++i) QCOMPARE(box.LineX(int(i)), float(c.depth[i]));
            }
            QCOMPARE(Texts(dialog->txtTo), (QStringList{"29", "101", "148", "199", "257"}));
            QCOMPARE(Texts(dialog->txtFrom), (QStringList{"0", "30", "102", "149", "200"}));
            frmDepthGrain reopened(const_cast<TavsMod::Values&>(values), nullptr);
            QCOMPARE(Texts(reopened.txtTo), Texts(dialog->txtTo));
            QCOMPARE(Texts(reopened.txtFrom), Texts(dialog->txtFrom));

            const auto click_at = [&](int pixel_x) {
                QTest::mouseClick(dialog->picHistogram, Qt::LeftButton, Qt::NoModifier,
                                  QPoint(pixel_x, box.height() / 2));
            };
            click_at(box.width() - 1);
            QCOMPARE(values.Depth[4], 256);
            QTest::mouseClick(dialog->optDepth[0], Qt::LeftButton);
            click_at(0);
            QCOMPARE(values.Depth[0], -1);
            QCOMPARE(dialog->txtFrom[1]->text(), QStringLiteral("-1"));
            click_at(1);
            QCOMPARE(values.Depth[0], 0);

            QTest::mouseClick(dialog->Command2, Qt::LeftButton);  // "Default"
            QVERIFY(values.Depth == TavsMod::kDefaultDepth);
            QCOMPARE(Texts(dialog->txtTo), (QStringList{"49", "99", "149", "199", "255"}));
            QTest::mouseClick(dialog->optDepth[1], Qt::LeftButton);
            dialog->picHistogram_MouseUp(1, 0, 120.0f, 0.0f);
            QTest::mouseClick(dialog->Command1, Qt::LeftButton);  // "OK"
        };
        w.window->Menus().mnuDepthGrain->trigger();
        QVERIFY((values.Depth == std::array<std::int16_t, 5>{50, 120, 150, 200, 255}));
    }

    // Cancel, its button or Escape, puts back what each dialog opened with, however
    // much was changed meanwhile; OK keeps the changes. The captions are spelt right.
    void CancelRestoresEachDialogsValues_data() {
        QTest::addColumn<bool>("grain");
        QTest::addColumn<QString>("how");
        for (const bool grain : {false, true})
            for (const char* how : {"Cancel", "Escape", "OK"})
                QTest::addRow("%s, %s", grain ? "Grain" : "Warp and Depth", how) << grain << how;
    }
    void CancelRestoresEachDialogsValues() {
        QFETCH(bool, grain);
        QFETCH(QString, how);
        const StartedWindow w = StartWindow();
        TavsMod::Values& values = w.window->Globals();
        values.glbWarp = 40;
        values.glbShift = 3;
        const TavsMod::Values before = values;
        QString title;
        w.prompts->on_modal = [&](QDialog& shown) {
            title = shown.windowTitle();
            QAbstractButton* cancel = nullptr;
            QAbstractButton* ok = nullptr;
            if (auto* g = qobject_cast<frmDepthGrain*>(&shown)) {
                QTest::mouseClick(g->optDepth[2], Qt::LeftButton);
                g->picHistogram_MouseUp(1, 0, 170.0f, 0.0f);
                QTest::mouseClick(g->Command2, Qt::LeftButton);  // "Default"
                g->picHistogram_MouseUp(1, 0, 180.0f, 0.0f);
                cancel = g->Command3;
                ok = g->Command1;
            } else if (auto* d = qobject_cast<frmWarpShift*>(&shown)) {
                d->HScroll1->triggerAction(QAbstractSlider::SliderToMaximum);
                d->HScroll2->triggerAction(QAbstractSlider::SliderToMinimum);
                cancel = d->Buttons->button(QDialogButtonBox::Cancel);
                ok = d->Buttons->button(QDialogButtonBox::Ok);
            }
            QVERIFY(cancel && ok && !(values == before));
            if (how == "Escape")
                QTest::keyClick(&shown, Qt::Key_Escape);
            else
                QTest::mouseClick(how == "OK" ? ok : cancel, Qt::LeftButton);
        };
        (grain ? w.window->Menus().mnuDepthGrain : w.window->Menus().mnuSetWarpShift)->trigger();
        QCOMPARE(title, grain ? QStringLiteral("Set Depth Granularity")
                              : QStringLiteral("Warp and Depth"));
        QCOMPARE(values == before, how != "OK");
    }

    // The bars open on the window's values, a value outside a bar's range staying until
    // that bar moves; arrows and track move by one, within warp 1 to 100 and depth
    // -12 to 12; a dragged thumb changes the value at every step, tracking or not.
    void WarpShiftDialogDrivenByScrollBars() {
        const StartedWindow w = StartWindow();
        TavsMod::Values& values = w.window->Globals();
        values.glbWarp = 100;
        values.glbShift = -20;
        w.prompts->on_modal = [&values](QDialog& shown) {
            auto* dialog = qobject_cast<frmWarpShift*>(&shown);
            QVERIFY(dialog != nullptr);
            QScrollBar* warp = dialog->HScroll1;
            QScrollBar* shift = dialog->HScroll2;
            QCOMPARE(warp->value(), 100);
            QCOMPARE(shift->value(), 0);
            using Slider = QAbstractSlider;
            struct Step {
                QScrollBar* bar;
                Slider::SliderAction action;
                int warp, shift;  // after
            };
            const Step steps[] = {{warp, Slider::SliderPageStepSub, 99, -20},
                                  {shift, Slider::SliderSingleStepAdd, 99, 1},
                                  {shift, Slider::SliderToMaximum, 99, 12},
                                  {shift, Slider::SliderToMinimum, 99, -12},
                                  {warp, Slider::SliderToMinimum, 1, -12},
                                  {warp, Slider::SliderToMaximum, 100, -12}};
            for (const Step& s : steps) {
                s.bar->triggerAction(s.action);
                QCOMPARE(int(values.glbWarp), s.warp);
                QCOMPARE(int(values.glbShift), s.shift);
                QCOMPARE(dialog->Label1->text(), QStringLiteral("Warp: %1").arg(s.warp));
                QCOMPARE(dialog->Label2->text(), QStringLiteral("Depth: %1").arg(s.shift));
            }
            for (QScrollBar* bar : {warp, shift}) {
                bar->setTracking(bar == warp);
                bar->setSliderDown(true);
                bar->setSliderPosition(7);
                QCOMPARE(int(bar == warp ? values.glbWarp : values.glbShift), 7);
                bar->setSliderDown(false);
            }
        };
        w.window->Menus().mnuSetWarpShift->trigger();
        QCOMPARE(values.glbWarp, 7);
        QCOMPARE(values.glbShift, 7);
    }
};

ZARVIK_APP_TEST_MAIN(WindowTest)
#include "app_window_test.moc"
