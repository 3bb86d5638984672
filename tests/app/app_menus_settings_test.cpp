// The menu tree, its option groups and toggles, the About box, and the settings
// store: the choices read at start-up and written at exit.
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "app/about_text.h"
#include "app/option_group.h"
#include "app/settings_store.h"
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
int CheckedCount(const std::array<QAction*, N>& group) {
    int count = 0;
    for (const QAction* action : group) count += action->isChecked() ? 1 : 0;
    return count;
}

using Texts = QMap<QString, QString>;

const Texts kDefaultTexts = {{"glbShift", "6"},    {"glbWarp", "24"}, {"Depth4", "255"},
                             {"Depth3", "200"},    {"Depth2", "150"}, {"Depth1", "100"},
                             {"Depth0", "50"},     {"CueColor", "0"}, {"DepthCue", "0"},
                             {"BlurChoice", "0"},  {"Cue", "0"},      {"DoWarp", "False"},
                             {"DoShift", "False"}, {"Lens", "0"},     {"FrameColor", "0"},
                             {"ShowFrame", "0"},   {"FrameType", "0"}};

void StoreSettings(const Texts& settings) {
    for (auto at = settings.begin(); at != settings.end(); ++at) StoreSetting(at.key(), at.value());
}

// Starts a window, closes it as the user would, and returns what it wrote.
Texts StoreAfterARun(const std::function<void(frmQelun&)>& during = {}) {
    const StartedWindow w = StartWindow();
    if (during) during(*w.window);
    w.window->close();
    Texts stored;
    for (const QString& key : kDefaultTexts.keys()) stored[key] = StoredSetting(key);
    return stored;
}

}  // namespace

class MenusSettingsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { ClearStore(); }

    void StartUpSizesTheWindowByTheTwipsRules() {
        const StartedWindow w = StartWindow();
        QVERIFY(w.window->isVisible());
        QCOMPARE(w.window->OuterWidth(), WidthFor(*w.window, 10 + 5055 + 95));
        // Every command of the menu bar shows, none behind an overflow button.
        for (QAction* action : w.window->menuBar()->actions())
            QVERIFY(!w.window->menuBar()->actionGeometry(action).isEmpty());
        QCOMPARE(w.window->height(), qRound((135 + 4335 + 135) / 15.0));
        QVERIFY(!w.window->Menus().mnuFileReload->isEnabled());
    }

    // The stored Cues entry is chosen as from the menu, so it overrides the stored
    // DepthCue and CueColor; one outside the menu leaves them and checks nothing.
    void StoredCueDecidesDepthCueAndCueColor() {
        struct Case {
            Texts stored;
            int depth_cue, cue_color, checked;
        };
        const Case cases[] = {{{{"Cue", "4"}, {"DepthCue", "0"}}, 2, 2, 4},
                              {{{"Cue", "3"}, {"DepthCue", "1"}}, 2, 1, 3},
                              {{{"Cue", "0"}, {"DepthCue", "3"}, {"CueColor", "4"}}, 0, 4, 0},
                              {{{"Cue", "12"}, {"DepthCue", "5"}, {"CueColor", "3"}}, 5, 3, -1}};
        for (const Case& c : cases) {
            ClearStore();
            StoreSettings(c.stored);
            const Texts written = StoreAfterARun([&c](frmQelun& window) {
                QCOMPARE(window.Settings().DepthCue, c.depth_cue);
                QCOMPARE(window.Settings().CueColor, c.cue_color);
                QCOMPARE(CheckedIndex(window.Menus().mnuCue), c.checked);
            });
            QCOMPARE(written["Cue"], c.stored["Cue"]);
            QCOMPARE(written["DepthCue"], QString::number(c.depth_cue));
        }
    }

    // A stored index outside its group checks no entry and is written back as read.
    void StoredChoicesSetTheChecksAndAreWrittenBack() {
        StoreSettings({{"BlurChoice", "9"}, {"Lens", "-3"}, {"FrameType", "2"}});
        StoreSettings({{"FrameColor", "1"}, {"DoShift", "1"}, {"DoWarp", "FALSE"}});
        const Texts stored = StoreAfterARun([](frmQelun& window) {
            const MainMenus& m = window.Menus();
            QCOMPARE(window.Settings().BlurChoice, 9);
            QCOMPARE(CheckedIndex(m.mnuBlur), -1);
            QCOMPARE(CheckedIndex(m.mnuRedBlue), -1);
            QCOMPARE(CheckedIndex(m.mnuFrameFull), -1);
            QCOMPARE(CheckedIndex(m.mnuBlackWhite), 1);
            QVERIFY(m.mnuShift->isChecked() && window.Settings().DoShift);
            QVERIFY(!m.mnuWarp->isChecked());
        });
        QCOMPARE(stored["BlurChoice"], QStringLiteral("9"));
        QCOMPARE(stored["Lens"], QStringLiteral("-3"));
        QCOMPARE(stored["FrameType"], QStringLiteral("2"));
        QCOMPARE(stored["DoShift"], QStringLiteral("True"));
    }

    // What a stored text is read as, and written back as at exit: an unreadable one as
    // zero, not the default. The converter's tests read other unreadable texts
    // through the same reader.
    void StoredTextIsReadAndWrittenBack_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");
        const auto row = [](const char* key, const char* text, const char* written) {
            QTest::addRow("%s '%s'", key, text) << key << text << written;
        };
        row("glbShift", "abc", "0");
        row("glbWarp", "70000", "0");
        row("Depth2", "2.5", "2");
        row("Depth3", "3.5", "4");
        row("Depth1", " -7 ", "-7");
        row("DoShift", "1", "True");
        row("DoWarp", "tRUE", "True");
        row("DoWarp", "0", "False");
    }
    void StoredTextIsReadAndWrittenBack() {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QString, written);
        StoreSetting(key, text);
        QCOMPARE(StoreAfterARun()[key], written);
    }

    void ExitWritesAllSeventeenKeysInTheirTextForms() {
        const Texts stored = StoreAfterARun([](frmQelun& window) {
            const MainMenus& m = window.Menus();
            m.mnuCue[6]->trigger();
            m.mnuBlur[3]->trigger();
            m.mnuWarp->trigger();
            m.mnuRedBlue[1]->trigger();
            m.mnuBlackWhite[1]->trigger();
            m.mnuFrameYesNo[1]->trigger();
            m.mnuFrameFull[1]->trigger();
            window.Globals().glbShift = -12;
            window.Globals().Depth[2] = 149;
            window.showMinimized();  // written all the same
        });
        Texts expected = kDefaultTexts;
        const Texts chosen = {{"Cue", "6"},        {"DepthCue", "2"},  {"CueColor", "4"},
                              {"BlurChoice", "3"}, {"DoWarp", "True"}, {"Lens", "1"},
                              {"FrameColor", "1"}, {"ShowFrame", "1"}, {"FrameType", "1"},
                              {"glbShift", "-12"}, {"Depth2", "149"}};
        expected.insert(chosen);
        QCOMPARE(stored, expected);
        QSettings store(QStringLiteral("Zarvik"), QStringLiteral("Zarvik"));
        QCOMPARE(store.childGroups(), QStringList{"Settings"});
        store.beginGroup(QStringLiteral("Settings"));
        QCOMPARE(store.childKeys().size(), 17);
    }

    void ReadingWithoutAWindowGivesWhatTheWindowReads() {
        StoreSettings({{"Cue", "5"}, {"DepthCue", "4"}, {"CueColor", "0"}, {"glbShift", "abc"}});
        StoreSettings({{"Depth0", "10.5"}, {"DoWarp", "-1"}, {"BlurChoice", "4"}});
        core::ConversionSettings s;
        TavsMod::Values g;
        g.glbBusy = -1;
        g.glbFactors = {3, 3, 3};
        settingsstore::ReadStoredSettings(s, g);
        const StartedWindow w = StartWindow();
        QVERIFY(s == w.window->Settings());
        QCOMPARE(s.DepthCue, 2);
        QCOMPARE(s.CueColor, 3);
        QCOMPARE(s.BlurChoice, 4);
        QVERIFY(s.DoWarp);
        QCOMPARE(g.glbShift, 0);
        QCOMPARE(g.Depth[0], 10);
        QCOMPARE(g.glbWarp, 24);
        QCOMPARE(g.glbBusy, 0);
        QVERIFY((g.glbFactors == std::array<std::int16_t, 3>{1, 1, 1}));
    }

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

    // Each menu entry sets its field to its place in the menu and carries the group's
    // only check; choosing an entry twice keeps its check, which a checkable action
    // would drop.
    void EveryGroupEntrySetsItsFieldAndTheOnlyCheck() {
        const StartedWindow w = StartWindow();
        const MainMenus& m = w.window->Menus();
        core::ConversionSettings& s = w.window->Settings();
        auto walk = [](const QMenu* menu, const auto& group, const std::int16_t& field) {
            const QList<QAction*> entries = menu->actions();
            QCOMPARE(entries.size(), qsizetype(group.size()));
            for (int pass = 0; pass < 2; ++pass) {
                for (int i = int(entries.size()) - 1; i >= 0; --i) {
                    for (int again = 0; again < 2; ++again) {
                        entries[i]->trigger();
                        QCOMPARE(static_cast<int>(field), i);
                        QCOMPARE(CheckedIndex(group), i);
                        QCOMPARE(CheckedCount(group), 1);
                    }
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

ZARVIK_APP_TEST_MAIN(MenusSettingsTest)
#include "app_menus_settings_test.moc"
