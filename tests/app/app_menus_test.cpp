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

template <std::size_t N>
QList<QAction*> ListOf(const std::array<QAction*, N>& group) {
    return QList<QAction*>(group.begin(), group.end());
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

    void MenuTreeAsDesignedAllEnabledAndUnchecked() {
        const StartedWindow w = StartWindow(32, false);
        const MainMenus& m = w.window->Menus();
        const QList<QAction*> top = w.window->menuBar()->actions();
        QCOMPARE(Captions(top), (QStringList{"&File", "Window", "Cues", "Blur", "WarpDepth",
                                             "Anaglyph", "Grain", "About"}));
        QCOMPARE(top.mid(5), (QList<QAction*>{m.mnuAnaglyph, m.mnuDepthGrain, m.mnuBatch}));
        for (int i = 0; i < 8; ++i) QCOMPARE(top[i]->menu() != nullptr, i < 5);
        const std::pair<const QMenu*, QStringList> menus[] = {
            {m.mnuFile, {"&Open Picture", "&Save Result As", "-", "&ReLoad"}},
            {m.mnuWindowFrame, {"Add Frame", "Frame Color", "Frame Type"}},
            {m.mnuAddFrame, {"No", "Yes"}},
            {m.mnuFrameColor, {"Black", "White"}},
            {m.mnuFrameType, {"Sides Only", "Full"}},
            {m.mnuCues,
             {"RGB", "UTI", "Red", "Green", "Blue", "Yellow", "Magenta", "Cyan", "Luminance",
              "Saturation"}},
            {m.mnuBlurs, {"None", "Smere", "Blur", "Mean", "Median", "Max"}},
            {m.mnuWarpShift, {"Warp", "Added Depth", "Set Warp and Shift", "-", "Lens"}},
            {m.mnuLens, {"Red - Blue", "Blue - Red"}}};
        for (const auto& [menu, captions] : menus) QCOMPARE(Captions(menu->actions()), captions);
        const QList<QAction*> frame = m.mnuWindowFrame->actions();
        QCOMPARE(frame[0]->menu(), m.mnuAddFrame);
        QCOMPARE(frame[1]->menu(), m.mnuFrameColor);
        QCOMPARE(frame[2]->menu(), m.mnuFrameType);
        QCOMPARE(m.mnuAddFrame->actions(), ListOf(m.mnuFrameYesNo));
        QCOMPARE(m.mnuFrameColor->actions(), ListOf(m.mnuBlackWhite));
        QCOMPARE(m.mnuFrameType->actions(), ListOf(m.mnuFrameFull));
        QCOMPARE(m.mnuCues->actions(), ListOf(m.mnuCue));
        QCOMPARE(m.mnuBlurs->actions(), ListOf(m.mnuBlur));
        QCOMPARE(m.mnuLens->actions(), ListOf(m.mnuRedBlue));
        QCOMPARE(m.mnuFileOpen->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(m.mnuFileSaveAs->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QVERIFY(m.mnuWarp->isCheckable() && m.mnuShift->isCheckable());
        QVERIFY(!m.mnuSetWarpShift->isCheckable());

        const QList<QAction*> all = w.window->menuBar()->findChildren<QAction*>();
        QVERIFY(all.size() > 40);
        for (const QAction* action : all) {
            QVERIFY2(action->isEnabled(), qPrintable(action->text()));
            QVERIFY2(!action->isChecked(), qPrintable(action->text()));
        }
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Zarvik Fast 2D 2 3D"));
    }

    // Choosing an entry twice keeps its check: a checkable action would drop it.
    void EveryGroupEntrySetsItsFieldAndTheOnlyCheck() {
        const StartedWindow w = StartWindow();
        const MainMenus& m = w.window->Menus();
        core::ConversionSettings& s = w.window->Settings();
        auto walk = [](const auto& group, const std::int16_t& field) {
            for (int pass = 0; pass < 2; ++pass) {
                for (int i = static_cast<int>(group.size()) - 1; i >= 0; --i) {
                    for (int again = 0; again < 2; ++again) {
                        group[static_cast<std::size_t>(i)]->trigger();
                        QCOMPARE(static_cast<int>(field), i);
                        QCOMPARE(CheckedIndex(group), i);
                        QCOMPARE(CheckedCount(group), 1);
                    }
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

    void CuesEntriesSetCueDepthCueAndCueColor() {
        const StartedWindow w = StartWindow();
        core::ConversionSettings& s = w.window->Settings();
        // entry, DepthCue, CueColor (-1: left as it was, 4)
        const std::array<std::array<int, 3>, 10> cases{{{0, 0, -1},
                                                        {1, 2, 1},
                                                        {2, 2, 0},
                                                        {3, 2, 1},
                                                        {4, 2, 2},
                                                        {5, 2, 3},
                                                        {6, 2, 4},
                                                        {7, 2, 5},
                                                        {8, 3, -1},
                                                        {9, 4, -1}}};
        for (const auto& [entry, depth_cue, cue_color] : cases) {
            s.CueColor = 4;
            w.window->Menus().mnuCue[static_cast<std::size_t>(entry)]->trigger();
            QCOMPARE(static_cast<int>(s.Cue), entry);
            QCOMPARE(static_cast<int>(s.DepthCue), depth_cue);
            QCOMPARE(static_cast<int>(s.CueColor), cue_color < 0 ? 4 : cue_color);
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
        m.mnuShift->trigger();
        QVERIFY(!s.DoShift && !m.mnuShift->isChecked());
    }

    void AboutShowsItsLinesUnderTheTitleWithoutIcon() {
        const StartedWindow w = StartWindow();
        w.window->Menus().mnuBatch->trigger();
        QCOMPARE(w.prompts->messages.size(), 1);
        const RecordedMessage& about = w.prompts->messages.front();
        QCOMPARE(about.title, QStringLiteral("Zarvik"));
        QCOMPARE(about.icon, MessageIcon::None);
        QCOMPARE(about.text.count(u'\n'), 5);
        const QStringList lines = about.text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.mid(0, 4),
                 (QStringList{"Make 3D Anaglyphs from 2D images ", "with Single a Click!", "",
                              "Zarvik V" ZARVIK_TEST_VERSION}));
        QVERIFY(lines[4].contains(QStringLiteral("the Zarvik developers")));
        QVERIFY(lines[5].contains(QStringLiteral("README")));
        QCOMPARE(AboutText(2, 0, 13).split(QStringLiteral("\r\n"))[3],
                 QStringLiteral("Zarvik V2.0.13"));
    }
};

ZARVIK_APP_TEST_MAIN(MenusTest)
#include "app_menus_test.moc"
