// Start-up from the settings store and the writing of the settings at exit.
#include <QTest>

#include "app/option_group.h"
#include "app/settings_store.h"
#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"

namespace {

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

class SettingsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { ClearStore(); }

    void StartUpPlacesTheControlsByTheTwipsRules() {
        const StartedWindow w = StartWindow();
        QVERIFY(w.window->isVisible());
        QCOMPARE(w.window->OuterWidth(), WidthFor(*w.window, 10 + 5055 + 95));
        // Every command of the menu bar shows, none behind an overflow button.
        for (QAction* action : w.window->menuBar()->actions())
            QVERIFY(!w.window->menuBar()->actionGeometry(action).isEmpty());
        QCOMPARE(w.window->height(), qRound((135 + 4335 + 135) / 15.0));
        const core::Workspace& s = w.window->Surfaces();
        QCOMPARE(s.picOriginal.Left(), 10);
        QCOMPARE(s.picOriginal.Top(), 135);
        for (const platform::PictureSurface* hidden :
             {&s.picDepth, &s.picResult, &s.PicRed, &s.PicBlue, &s.PicFinal})
            QCOMPARE(hidden->Left(), -10000);
        QCOMPARE(s.picDepth.Top(), 3120);
        QCOMPARE(s.PicFinal.Top(), 6120);
        QCOMPARE(s.picResult.Width(), 2415);
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

    void UnreadableTextLeavesZeroNotTheDefault_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");
        const auto row = [](const char* key, const char* text, const char* written) {
            QTest::addRow("%s '%s'", key, text) << key << text << written;
        };
        row("glbShift", "abc", "0");
        row("glbWarp", "70000", "0");
        row("Depth4", "", "0");
        row("Depth2", "2.5", "2");
        row("Depth3", "3.5", "4");
        row("Depth1", " -7 ", "-7");
        row("FrameColor", "x", "0");
        row("DoShift", "1", "True");
        row("DoWarp", "tRUE", "True");
        row("DoWarp", "0", "False");
        row("DoWarp", "maybe", "False");
    }
    void UnreadableTextLeavesZeroNotTheDefault() {
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

    void SettingsAreSavedEvenWhenMinimized() {
        const StartedWindow w = StartWindow();
        w.window->Globals().glbWarp = 77;
        w.window->showMinimized();
        w.window->close();
        QCOMPARE(StoredSetting("glbWarp"), QStringLiteral("77"));
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
};

ZARVIK_APP_TEST_MAIN(SettingsTest)
#include "app_settings_test.moc"
