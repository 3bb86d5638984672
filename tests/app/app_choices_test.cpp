// The window's newer choices driven as a user drives them: the Stereo menu and a
// layout shown after "Anaglyph", Cues › Scene and the status line naming the layout a
// run followed, the commands that wait for a picture, and Window › Background; each
// choice stored under its own key and read back at start-up.
#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/option_group.h"
#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"

namespace {

// A sky over a grainy brown ground, which "auto" takes for a landscape.
QImage Landscape() {
    return MakeImage(80, 60, [](int x, int y) {
        if (y < 20) return QColor(120, 160, 220);
        const int grain = (x * 7 + y * 13) % 17;
        return QColor(100 + grain, 90 + grain, 50 + grain);
    });
}

}  // namespace

class ChoicesTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        ClearStore();
        QVERIFY(folder_.isValid());
    }

    void SideBySideShowsBothViews() {
        const StartedWindow w = StartWindow(32);
        frmQelun& window = *w.window;
        QVERIFY(
            OpenNew(window, folder_.filePath(QStringLiteral("picture.png")), TestPicture(41, 30)));
        window.Menus().stereo.mnuLayouts[1]->trigger();
        QVERIFY(RunAnaglyph(window));
        QCOMPARE(window.LastOutcome(), std::optional(conversion::Outcome::kConverted));
        const QImage shown = Shown(window);
        QCOMPARE(shown.size(), QSize(82, 30));
        QCOMPARE(shown.copy(0, 0, 41, 30), TestPicture(41, 30).convertToFormat(shown.format()));
    }

    // Each added menu choice is stored under its own key at exit and is the only one
    // checked at the next start; with no key the first entry is. Chosen twice, an
    // entry keeps its check, which a plain checkable action would drop.
    void MenuChoiceIsStoredAndCheckedAgain_data() {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("stored");
        QTest::addRow("Stereo > Method") << QByteArray("Method") << 3 << "3";
        QTest::addRow("Stereo > Glasses") << QByteArray("Glasses") << 2 << "2";
        QTest::addRow("Stereo > Layout") << QByteArray("Layout") << 5 << "5";
        QTest::addRow("Cues > Scene") << QByteArray("Scene") << 1 << "1";
        QTest::addRow("Strength, stored as its percent") << QByteArray("Parallax") << 4 << "5";
    }
    void MenuChoiceIsStoredAndCheckedAgain() {
        QFETCH(QByteArray, key);
        QFETCH(int, entry);
        QFETCH(QString, stored);
        const auto group = [&key](const MainMenus& m) {
            const auto all = [](const auto& g) { return QList<QAction*>(g.begin(), g.end()); };
            if (key == "Method") return all(m.stereo.mnuMethods);
            if (key == "Glasses") return all(m.stereo.mnuGlassesKinds);
            if (key == "Layout") return all(m.stereo.mnuLayouts);
            if (key == "Scene") return all(m.scene.mnuSceneChoice);
            return all(m.parallax.mnuStrengthLevel);
        };
        const auto only_checked = [&](const MainMenus& m, int index) {
            const QList<QAction*> entries = group(m);
            for (qsizetype i = 0; i < entries.size(); ++i)
                if (entries[i]->isChecked() != (i == index)) return false;
            return true;
        };
        {
            const StartedWindow w = StartWindow();
            QVERIFY(only_checked(w.window->Menus(), 0));
            for (int twice = 0; twice < 2; ++twice) group(w.window->Menus())[entry]->trigger();
            QVERIFY(only_checked(w.window->Menus(), entry));
            w.window->close();
        }
        QCOMPARE(Stored(key.constData()), stored);
        const StartedWindow again = StartWindow();
        QVERIFY(only_checked(again.window->Menus(), entry));
    }

    // A classic run names no scene on the status line; a chosen one, or the one "Auto"
    // picked, is named after the run.
    void StatusLineNamesTheSceneARunFollowed() {
        const StartedWindow w = StartWindow();
        frmQelun& window = *w.window;
        const MainMenus& m = window.Menus();
        QCOMPARE(m.scene.mnuScene->title(), QStringLiteral("Scene"));
        QVERIFY(OpenNew(window, folder_.filePath(QStringLiteral("landscape.png")), Landscape()));
        QVERIFY(RunAnaglyph(window));
        QVERIFY(!window.statusBar()->currentMessage().contains(QStringLiteral("Scene")));
        m.scene.mnuSceneChoice[3]->trigger();
        QVERIFY(RunAnaglyph(window));
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Scene: portrait"));
        m.scene.mnuSceneChoice[1]->trigger();  // "Auto"
        QVERIFY(RunAnaglyph(window));
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Scene: landscape"));
    }

    // A stored number outside the menu converts as classic and checks "Classic".
    void StoredNumberOutsideTheMenuIsClassic() {
        {
            QSettings store(QStringLiteral("Zarvik"), QStringLiteral("Zarvik"));
            store.setValue(QStringLiteral("Settings/Scene"), 9);
        }
        const StartedWindow w = StartWindow();
        QCOMPARE(CheckedIndex(w.window->Menus().scene.mnuSceneChoice), 0);
        QCOMPARE(core::SceneOf(w.window->Choices().scene), core::Scene::kClassic);
    }

    void CommandsWaitForSomethingToDo() {
        const StartedWindow w = StartWindow();
        frmQelun& window = *w.window;
        const MainMenus& m = window.Menus();
        const QString caption = window.windowTitle();
        QVERIFY(!m.mnuAnaglyph->isEnabled());
        QVERIFY(!m.mnuFileSaveAs->isEnabled());
        m.mnuAnaglyph->trigger();
        QVERIFY(!window.LastOutcome());  // it did not run

        QVERIFY(OpenNew(window, folder_.filePath(QStringLiteral("p.png")), TestPicture(12, 9)));
        QVERIFY(m.mnuAnaglyph->isEnabled());
        QVERIFY(m.mnuFileSaveAs->isEnabled());
        QVERIFY(RunAnaglyph(window));
        QVERIFY(window.LastOutcome() == conversion::Outcome::kConverted);

        // A save that fails leaves the caption naming the opened picture.
        const QString opened_caption = window.windowTitle();
        QVERIFY(opened_caption != caption);
        w.prompts->answers.push_back(folder_.filePath(QStringLiteral("no such folder/r.bmp")));
        m.mnuFileSaveAs->trigger();
        QCOMPARE(w.prompts->messages.size(), 1);
        QCOMPARE(window.windowTitle(), opened_caption);
        w.prompts->answers.push_back(folder_.filePath(QStringLiteral("r.bmp")));
        m.mnuFileSaveAs->trigger();
        QVERIFY(window.windowTitle().contains(QStringLiteral("r.bmp")));
    }

    // Red hidden under transparent pixels shows as neither; the choice is stored
    // under its own key, and a store without it reads as white.
    void BackgroundIsChosenAndStored() {
        const QString path = folder_.filePath(QStringLiteral("hidden.png"));
        QImage hidden(4, 3, QImage::Format_ARGB32);
        hidden.fill(qRgba(255, 0, 0, 0));
        QVERIFY(hidden.save(path));
        {
            const StartedWindow w = StartWindow();
            const BackgroundMenu& b = w.window->Menus().background;
            QVERIFY(b.mnuBackgroundWhite->isChecked());
            w.window->OpenPicturePath(path);
            QCOMPARE(Shown(*w.window).pixel(0, 0), qRgb(255, 255, 255));
            b.mnuBackgroundBlack->trigger();
            w.window->OpenPicturePath(path);
            QCOMPARE(Shown(*w.window).pixel(0, 0), qRgb(0, 0, 0));
            // Other...: cancelled keeps the colour; a chosen one is taken.
            b.mnuBackgroundOther->trigger();
            QVERIFY(b.mnuBackgroundBlack->isChecked() && !b.mnuBackgroundOther->isChecked());
            w.prompts->colours.push_back(0x3366CC);
            b.mnuBackgroundOther->trigger();
            QVERIFY(b.mnuBackgroundOther->isChecked() && !b.mnuBackgroundBlack->isChecked());
            w.window->OpenPicturePath(path);
            QCOMPARE(Shown(*w.window).pixel(0, 0), qRgb(0x33, 0x66, 0xCC));
            w.window->close();
        }
        QCOMPARE(Stored("Background"), QStringLiteral("#3366cc"));
        const StartedWindow again = StartWindow();
        QVERIFY(again.window->Menus().background.mnuBackgroundOther->isChecked());
        QCOMPARE(again.window->Choices().picture.background, 0x3366CCu);
    }

  private:
    QTemporaryDir folder_;
};

ZARVIK_APP_TEST_MAIN(ChoicesTest)
#include "app_choices_test.moc"
