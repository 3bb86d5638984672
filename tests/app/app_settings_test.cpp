// Start-up from the settings store and the writing of the settings at exit.
#include <QTest>
#include <string>
#include <utility>
#include <vector>

#include "app/option_group.h"
#include "app/settings_store.h"
#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"

namespace {

const QStringList kAllKeys = {"glbShift",  "glbWarp",  "Depth4",   "Depth3",   "Depth2",
                              "Depth1",    "Depth0",   "CueColor", "DepthCue", "BlurChoice",
                              "Cue",       "DoWarp",   "DoShift",  "Lens",     "FrameColor",
                              "ShowFrame", "FrameType"};

// Starts a window, closes it as the user would, and returns what it wrote.
QMap<QString, QString> StoreAfterARun(const std::function<void(frmQelun&)>& during = {}) {
    const StartedWindow w = StartWindow();
    if (during) during(*w.window);
    w.window->close();
    QMap<QString, QString> stored;
    for (const QString& key : kAllKeys) stored[key] = StoredSetting(key);
    return stored;
}

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { ClearStore(); }

    void EmptyStoreGivesTheDefaults() {
        const StartedWindow w = StartWindow();
        const core::ConversionSettings& s = w.window->Settings();
        const TavsMod::Values& g = w.window->Globals();
        QCOMPARE(s.DepthCue, 0);
        QCOMPARE(s.CueColor, 0);
        QCOMPARE(s.Cue, 0);
        QCOMPARE(s.BlurChoice, 0);
        QCOMPARE(s.Lens, 0);
        QCOMPARE(s.ShowFrame, 0);
        QCOMPARE(s.FrameColor, 0);
        QCOMPARE(s.FrameType, 0);
        QVERIFY(!s.DoWarp && !s.DoShift);
        QCOMPARE(g.glbWarp, 24);
        QCOMPARE(g.glbShift, 6);
        QVERIFY((g.Depth == std::array<std::int16_t, 5>{50, 100, 150, 200, 255}));
        QVERIFY((g.glbFactors == std::array<std::int16_t, 3>{1, 1, 1}));
        QCOMPARE(g.glbBusy, 0);
    }

    void EmptyStoreChecksTheDefaultEntries() {
        const StartedWindow w = StartWindow();
        const MainMenus& m = w.window->Menus();
        QCOMPARE(CheckedIndex(m.mnuCue), 0);
        QCOMPARE(CheckedIndex(m.mnuBlur), 0);
        QCOMPARE(CheckedIndex(m.mnuRedBlue), 0);
        QCOMPARE(CheckedIndex(m.mnuFrameYesNo), 0);
        QCOMPARE(CheckedIndex(m.mnuBlackWhite), 0);
        QCOMPARE(CheckedIndex(m.mnuFrameFull), 0);
        QVERIFY(!m.mnuWarp->isChecked());
        QVERIFY(!m.mnuShift->isChecked());
        QVERIFY(!m.mnuFileReload->isEnabled());
        QVERIFY(m.mnuFileOpen->isEnabled());
        QVERIFY(w.window->isVisible());
    }

    void StartUpPlacesTheControlsByTheTwipsRules() {
        const StartedWindow w = StartWindow();
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
    }

    void StoredCueWinsOverStoredDepthCue() {
        StoreSetting("Cue", "4");
        StoreSetting("DepthCue", "0");
        const StartedWindow w = StartWindow();
        QCOMPARE(w.window->Settings().DepthCue, 2);
        QCOMPARE(w.window->Settings().CueColor, 2);
        QCOMPARE(CheckedIndex(w.window->Menus().mnuCue), 4);
    }

    void StoredGreenCueWinsOverStoredWeightsCue() {
        StoreSetting("Cue", "3");
        StoreSetting("DepthCue", "1");
        const StartedWindow w = StartWindow();
        QCOMPARE(w.window->Settings().DepthCue, 2);
        QCOMPARE(w.window->Settings().CueColor, 1);
    }

    void StoredRgbCueKeepsTheStoredCueColor() {
        StoreSetting("Cue", "0");
        StoreSetting("CueColor", "4");
        StoreSetting("DepthCue", "3");
        const StartedWindow w = StartWindow();
        QCOMPARE(w.window->Settings().DepthCue, 0);
        QCOMPARE(w.window->Settings().CueColor, 4);
    }

    void CueOutsideTheMenuLeavesTheStoredDepthCue() {
        StoreSetting("Cue", "12");
        StoreSetting("DepthCue", "5");
        StoreSetting("CueColor", "3");
        const QMap<QString, QString> stored = StoreAfterARun([](frmQelun& window) {
            QCOMPARE(window.Settings().DepthCue, 5);
            QCOMPARE(window.Settings().CueColor, 3);
            QCOMPARE(window.Settings().Cue, 12);
            QCOMPARE(CheckedIndex(window.Menus().mnuCue), -1);
        });
        QCOMPARE(stored["Cue"], QStringLiteral("12"));
        QCOMPARE(stored["DepthCue"], QStringLiteral("5"));
    }

    void OutOfRangeIndicesCheckNothingAndAreWrittenBack() {
        StoreSetting("BlurChoice", "9");
        StoreSetting("Lens", "-3");
        StoreSetting("FrameType", "2");
        const QMap<QString, QString> stored = StoreAfterARun([](frmQelun& window) {
            QCOMPARE(window.Settings().BlurChoice, 9);
            QCOMPARE(CheckedIndex(window.Menus().mnuBlur), -1);
            QCOMPARE(CheckedIndex(window.Menus().mnuRedBlue), -1);
            QCOMPARE(CheckedIndex(window.Menus().mnuFrameFull), -1);
        });
        QCOMPARE(stored["BlurChoice"], QStringLiteral("9"));
        QCOMPARE(stored["Lens"], QStringLiteral("-3"));
        QCOMPARE(stored["FrameType"], QStringLiteral("2"));
    }

    void StoredLensOneChecksBlueRedOnly() {
        StoreSetting("Lens", "1");
        const StartedWindow w = StartWindow();
        QVERIFY(!w.window->Menus().mnuRedBlue[0]->isChecked());
        QVERIFY(w.window->Menus().mnuRedBlue[1]->isChecked());
    }

    void UnreadableTextLeavesZeroNotTheDefault_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");
        QTest::newRow("glbShift abc") << "glbShift"
                                      << "abc"
                                      << "0";
        QTest::newRow("glbWarp 70000") << "glbWarp"
                                       << "70000"
                                       << "0";
        QTest::newRow("Depth4 empty") << "Depth4"
                                      << ""
                                      << "0";
        QTest::newRow("Depth2 2.5") << "Depth2"
                                    << "2.5"
                                    << "2";
        QTest::newRow("Depth3 3.5") << "Depth3"
                                    << "3.5"
                                    << "4";
        QTest::newRow("Depth1 -7") << "Depth1"
                                   << " -7 "
                                   << "-7";
        QTest::newRow("FrameColor x") << "FrameColor"
                                      << "x"
                                      << "0";
        QTest::newRow("DoShift 1") << "DoShift"
                                   << "1"
                                   << "True";
        QTest::newRow("DoWarp tRUE") << "DoWarp"
                                     << "tRUE"
                                     << "True";
        QTest::newRow("DoWarp 0") << "DoWarp"
                                  << "0"
                                  << "False";
        QTest::newRow("DoWarp maybe") << "DoWarp"
                                      << "maybe"
                                      << "False";
    }
    void UnreadableTextLeavesZeroNotTheDefault() {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QString, written);
        StoreSetting(key, text);
        QCOMPARE(StoreAfterARun()[key], written);
    }

    void StoredFlagsSetTheToggles() {
        StoreSetting("DoShift", "1");
        StoreSetting("DoWarp", "FALSE");
        const StartedWindow w = StartWindow();
        QVERIFY(w.window->Menus().mnuShift->isChecked());
        QVERIFY(w.window->Settings().DoShift);
        QVERIFY(!w.window->Menus().mnuWarp->isChecked());
    }

    void ExitWritesAllSeventeenKeysInTheirTextForms() {
        const QMap<QString, QString> stored = StoreAfterARun();
        const QMap<QString, QString> expected = {
            {"glbShift", "6"},    {"glbWarp", "24"},   {"Depth4", "255"},   {"Depth3", "200"},
            {"Depth2", "150"},    {"Depth1", "100"},   {"Depth0", "50"},    {"CueColor", "0"},
            {"DepthCue", "0"},    {"BlurChoice", "0"}, {"Cue", "0"},        {"DoWarp", "False"},
            {"DoShift", "False"}, {"Lens", "0"},       {"FrameColor", "0"}, {"ShowFrame", "0"},
            {"FrameType", "0"}};
        QCOMPARE(stored, expected);
        QSettings store(QStringLiteral("Zarvik"), QStringLiteral("Zarvik"));
        QCOMPARE(store.childGroups(), QStringList{"Settings"});
        store.beginGroup(QStringLiteral("Settings"));
        QCOMPARE(store.childKeys().size(), 17);
    }

    void ExitWritesWhatTheUserChose() {
        const QMap<QString, QString> stored = StoreAfterARun([](frmQelun& window) {
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
        QCOMPARE(stored["Cue"], QStringLiteral("6"));
        QCOMPARE(stored["DepthCue"], QStringLiteral("2"));
        QCOMPARE(stored["CueColor"], QStringLiteral("4"));
        QCOMPARE(stored["BlurChoice"], QStringLiteral("3"));
        QCOMPARE(stored["DoWarp"], QStringLiteral("True"));
        QCOMPARE(stored["DoShift"], QStringLiteral("False"));
        QCOMPARE(stored["Lens"], QStringLiteral("1"));
        QCOMPARE(stored["FrameColor"], QStringLiteral("1"));
        QCOMPARE(stored["ShowFrame"], QStringLiteral("1"));
        QCOMPARE(stored["FrameType"], QStringLiteral("1"));
        QCOMPARE(stored["glbShift"], QStringLiteral("-12"));
        QCOMPARE(stored["Depth2"], QStringLiteral("149"));
    }

    void KeysAreWrittenInTheExitOrder() {
        core::ConversionSettings s;
        s.DoShift = true;
        s.Cue = 9;
        TavsMod::Values g;
        g.Depth = {1, 2, 3, 4, 5};
        std::vector<std::pair<std::string, std::string>> written;
        settingsstore::WriteSettingTexts(s, g, [&](std::string_view key, const std::string& text) {
            written.emplace_back(std::string(key), text);
        });
        const std::vector<std::pair<std::string, std::string>> expected = {
            {"glbShift", "6"},   {"glbWarp", "24"},   {"Depth4", "5"},     {"Depth3", "4"},
            {"Depth2", "3"},     {"Depth1", "2"},     {"Depth0", "1"},     {"CueColor", "0"},
            {"DepthCue", "0"},   {"BlurChoice", "0"}, {"Cue", "9"},        {"DoWarp", "False"},
            {"DoShift", "True"}, {"Lens", "0"},       {"FrameColor", "0"}, {"ShowFrame", "0"},
            {"FrameType", "0"}};
        QVERIFY(written == expected);
    }

    void SettingsAreSavedEvenWhenMinimized() {
        const StartedWindow w = StartWindow();
        w.window->Globals().glbWarp = 77;
        w.window->showMinimized();
        w.window->close();
        QCOMPARE(StoredSetting("glbWarp"), QStringLiteral("77"));
    }

    void ReadingWithoutAWindowGivesWhatTheWindowReads() {
        StoreSetting("Cue", "5");
        StoreSetting("DepthCue", "4");
        StoreSetting("CueColor", "0");
        StoreSetting("glbShift", "abc");
        StoreSetting("Depth0", "10.5");
        StoreSetting("DoWarp", "-1");
        StoreSetting("BlurChoice", "4");
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
