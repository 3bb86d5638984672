// The menu tree, the option groups and toggles, and the About box.
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "app/about_text.h"
#include "app/option_group.h"
#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"

namespace {

QStringList Captions(const QList<QAction*>& actions) {
    QStringList captions;
    for (const QAction* action : actions)
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return captions;
}

QMenu* SubmenuNamed(const QMenu* menu, const QString& caption) {
    for (QAction* action : menu->actions())
        if (action->text() == caption) return action->menu();
    return nullptr;
}

template <std::size_t N>
int CheckedCount(const std::array<QAction*, N>& group) {
    int count = 0;
    for (const QAction* action : group) count += action->isChecked() ? 1 : 0;
    return count;
}

}  // namespace

class MenusTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { ClearStore(); }

    void MenuBarHoldsTheMenusThenTheThreeCommands() {
        const StartedWindow w = StartWindow(32, false);
        const QList<QAction*> top = w.window->menuBar()->actions();
        QCOMPARE(Captions(top), (QStringList{"&File", "Window", "Cues", "Blur", "WarpDepth",
                                             "Anaglyph", "Grain", "About"}));
        for (int i = 0; i < 5; ++i) QVERIFY(top[i]->menu() != nullptr);
        for (int i = 5; i < 8; ++i) QVERIFY(top[i]->menu() == nullptr);
        QCOMPARE(top[5], w.window->Menus().mnuAnaglyph);
        QCOMPARE(top[6], w.window->Menus().mnuDepthGrain);
        QCOMPARE(top[7], w.window->Menus().mnuBatch);
    }

    void FileMenu() {
        const StartedWindow w = StartWindow(32, false);
        const MainMenus& m = w.window->Menus();
        QCOMPARE(Captions(m.mnuFile->actions()),
                 (QStringList{"&Open Picture", "&Save Result As", "-", "&ReLoad"}));
        QCOMPARE(m.mnuFileOpen->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(m.mnuFileSaveAs->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    }

    void WindowMenuAndItsThreeGroups() {
        const StartedWindow w = StartWindow(32, false);
        const MainMenus& m = w.window->Menus();
        QCOMPARE(Captions(m.mnuWindowFrame->actions()),
                 (QStringList{"Add Frame", "Frame Color", "Frame Type"}));
        QCOMPARE(Captions(SubmenuNamed(m.mnuWindowFrame, "Add Frame")->actions()),
                 (QStringList{"No", "Yes"}));
        QCOMPARE(Captions(SubmenuNamed(m.mnuWindowFrame, "Frame Color")->actions()),
                 (QStringList{"Black", "White"}));
        QCOMPARE(Captions(SubmenuNamed(m.mnuWindowFrame, "Frame Type")->actions()),
                 (QStringList{"Sides Only", "Full"}));
        QCOMPARE(m.mnuAddFrame->actions(),
                 (QList<QAction*>{m.mnuFrameYesNo[0], m.mnuFrameYesNo[1]}));
        QCOMPARE(m.mnuFrameColor->actions(),
                 (QList<QAction*>{m.mnuBlackWhite[0], m.mnuBlackWhite[1]}));
        QCOMPARE(m.mnuFrameType->actions(),
                 (QList<QAction*>{m.mnuFrameFull[0], m.mnuFrameFull[1]}));
    }

    void CuesAndBlurMenus() {
        const StartedWindow w = StartWindow(32, false);
        const MainMenus& m = w.window->Menus();
        QCOMPARE(Captions(m.mnuCues->actions()),
                 (QStringList{"RGB", "UTI", "Red", "Green", "Blue", "Yellow", "Magenta", "Cyan",
                              "Luminance", "Saturation"}));
        QCOMPARE(Captions(m.mnuBlurs->actions()),
                 (QStringList{"None", "Smere", "Blur", "Mean", "Median", "Max"}));
        for (std::size_t i = 0; i < m.mnuCue.size(); ++i)
            QCOMPARE(m.mnuCues->actions()[qsizetype(i)], m.mnuCue[i]);
    }

    void WarpDepthMenu() {
        const StartedWindow w = StartWindow(32, false);
        const MainMenus& m = w.window->Menus();
        QCOMPARE(Captions(m.mnuWarpShift->actions()),
                 (QStringList{"Warp", "Added Depth", "Set Warp and Shift", "-", "Lens"}));
        QCOMPARE(Captions(m.mnuLens->actions()), (QStringList{"Red - Blue", "Blue - Red"}));
        QVERIFY(m.mnuWarp->isCheckable());
        QVERIFY(m.mnuShift->isCheckable());
        QVERIFY(!m.mnuSetWarpShift->isCheckable());
    }

    void AsDesignedEveryEntryIsEnabledAndUnchecked() {
        const StartedWindow w = StartWindow(32, false);
        const QList<QAction*> all = w.window->menuBar()->findChildren<QAction*>();
        QVERIFY(all.size() > 40);
        for (const QAction* action : all) {
            QVERIFY2(action->isEnabled(), qPrintable(action->text()));
            QVERIFY2(!action->isChecked(), qPrintable(action->text()));
        }
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Zarvik Fast 2D 2 3D"));
    }

    void WhiteChecksWhiteAndClearsBlack() {
        const StartedWindow w = StartWindow();
        const MainMenus& m = w.window->Menus();
        QVERIFY(m.mnuBlackWhite[0]->isChecked());
        m.mnuBlackWhite[1]->trigger();
        QVERIFY(m.mnuBlackWhite[1]->isChecked());
        QVERIFY(!m.mnuBlackWhite[0]->isChecked());
        QCOMPARE(w.window->Settings().FrameColor, 1);
    }

    void MaxSetsBlurChoiceFiveWithOneEntryChecked() {
        const StartedWindow w = StartWindow();
        const MainMenus& m = w.window->Menus();
        m.mnuBlur[5]->trigger();
        QCOMPARE(w.window->Settings().BlurChoice, 5);
        QCOMPARE(CheckedCount(m.mnuBlur), 1);
        QVERIFY(m.mnuBlur[5]->isChecked());
    }

    void EveryGroupEntrySetsItsFieldAndTheOnlyCheck() {
        const StartedWindow w = StartWindow();
        const MainMenus& m = w.window->Menus();
        core::ConversionSettings& s = w.window->Settings();
        auto walk = [](const auto& group, const std::int16_t& field) {
            for (int pass = 0; pass < 2; ++pass) {
                for (int i = static_cast<int>(group.size()) - 1; i >= 0; --i) {
                    group[static_cast<std::size_t>(i)]->trigger();
                    QCOMPARE(static_cast<int>(field), i);
                    QCOMPARE(CheckedIndex(group), i);
                    QCOMPARE(CheckedCount(group), 1);
                }
            }
        };
        walk(m.mnuFrameYesNo, s.ShowFrame);
        walk(m.mnuBlackWhite, s.FrameColor);
        walk(m.mnuFrameFull, s.FrameType);
        walk(m.mnuBlur, s.BlurChoice);
        walk(m.mnuRedBlue, s.Lens);
        walk(m.mnuCue, s.Cue);
    }

    void ChoosingTheCheckedEntryAgainChangesNothing() {
        const StartedWindow w = StartWindow();
        const MainMenus& m = w.window->Menus();
        m.mnuRedBlue[1]->trigger();
        m.mnuRedBlue[1]->trigger();
        QVERIFY(m.mnuRedBlue[1]->isChecked());
        QVERIFY(!m.mnuRedBlue[0]->isChecked());
        QCOMPARE(w.window->Settings().Lens, 1);
    }

    void CuesEntriesSetCueDepthCueAndCueColor_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("depth_cue");
        QTest::addColumn<int>("cue_color");  // -1: left as it was (4 before the choice)
        QTest::newRow("RGB") << 0 << 0 << -1;
        QTest::newRow("UTI") << 1 << 2 << 1;
        QTest::newRow("Red") << 2 << 2 << 0;
        QTest::newRow("Green") << 3 << 2 << 1;
        QTest::newRow("Blue") << 4 << 2 << 2;
        QTest::newRow("Yellow") << 5 << 2 << 3;
        QTest::newRow("Magenta") << 6 << 2 << 4;
        QTest::newRow("Cyan") << 7 << 2 << 5;
        QTest::newRow("Luminance") << 8 << 3 << -1;
        QTest::newRow("Saturation") << 9 << 4 << -1;
    }

    void CuesEntriesSetCueDepthCueAndCueColor() {
        QFETCH(int, entry);
        QFETCH(int, depth_cue);
        QFETCH(int, cue_color);
        const StartedWindow w = StartWindow();
        core::ConversionSettings& s = w.window->Settings();
        s.CueColor = 4;
        w.window->Menus().mnuCue[static_cast<std::size_t>(entry)]->trigger();
        QCOMPARE(static_cast<int>(s.Cue), entry);
        QCOMPARE(static_cast<int>(s.DepthCue), depth_cue);
        QCOMPARE(static_cast<int>(s.CueColor), cue_color < 0 ? 4 : cue_color);
        QCOMPARE(CheckedIndex(w.window->Menus().mnuCue), entry);
    }

    void CueIndexOutsideTheMenuClearsEveryCheckAndChangesNoSetting() {
        for (const int index : {10, 12, -1, 40000}) {
            const StartedWindow w = StartWindow();
            w.window->Menus().mnuCue[7]->trigger();
            const core::ConversionSettings before = w.window->Settings();
            w.window->mnuCue_Click(index);
            QCOMPARE(CheckedCount(w.window->Menus().mnuCue), 0);
            QVERIFY(w.window->Settings() == before);
        }
    }

    void WarpAndAddedDepthToggleTheirFieldAndCheck() {
        const StartedWindow w = StartWindow();
        const MainMenus& m = w.window->Menus();
        core::ConversionSettings& s = w.window->Settings();
        for (const bool expected : {true, false, true}) {
            m.mnuWarp->trigger();
            QCOMPARE(s.DoWarp, expected);
            QCOMPARE(m.mnuWarp->isChecked(), expected);
        }
        QVERIFY(!s.DoShift);
        m.mnuShift->trigger();
        QVERIFY(s.DoShift && m.mnuShift->isChecked());
        w.window->mnuShift_Click();
        QVERIFY(!s.DoShift && !m.mnuShift->isChecked());
    }

    void AboutShowsItsLinesUnderTheTitleWithoutIcon() {
        const StartedWindow w = StartWindow();
        w.window->Menus().mnuBatch->trigger();
        QCOMPARE(w.prompts->messages.size(), 1);
        const RecordedMessage& about = w.prompts->messages.front();
        QCOMPARE(about.title, QStringLiteral("Zarvik"));
        QCOMPARE(about.icon, MessageIcon::None);
        const QStringList lines = about.text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0], QStringLiteral("Make 3D Anaglyphs from 2D images "));
        QCOMPARE(lines[1], QStringLiteral("with Single a Click!"));
        QCOMPARE(lines[2], QString());
        QCOMPARE(lines[3], QStringLiteral("Zarvik V") + QStringLiteral(ZARVIK_TEST_VERSION));
        QVERIFY(lines[4].contains(QStringLiteral("the Zarvik developers")));
        QVERIFY(lines[5].contains(QStringLiteral("README")));
        QCOMPARE(about.text.count(QStringLiteral("\r\n")), 5);
        QCOMPARE(about.text.count(u'\n'), 5);
    }

    void AboutVersionHasNoLeadingZeros() {
        QCOMPARE(AboutText(2, 0, 13).split(QStringLiteral("\r\n"))[3],
                 QStringLiteral("Zarvik V2.0.13"));
    }
};

ZARVIK_APP_TEST_MAIN(MenusTest)
#include "app_menus_test.moc"
