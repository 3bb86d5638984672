// Cues › Scene in the window: the choice and its check, the stored key, and the
// status line naming the layout a run followed; a classic run names none.
#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"

namespace {

int CheckedScene(const MainMenus& m) {
    int checked = -1;
    for (std::size_t i = 0; i < m.scene.mnuSceneChoice.size(); ++i)
        if (m.scene.mnuSceneChoice[i]->isChecked()) checked = checked < 0 ? int(i) : -2;
    return checked;
}

// A sky over a grainy brown ground, which "auto" takes for a landscape.
QImage Landscape() {
    return MakeImage(80, 60, [](int x, int y) {
        if (y < 20) return QColor(120, 160, 220);
        const int grain = (x * 7 + y * 13) % 17;
        return QColor(100 + grain, 90 + grain, 50 + grain);
    });
}

QString StatusText(frmQelun& window) {
    const auto* bar = window.findChild<QStatusBar*>();
    return bar ? bar->currentMessage() : QStringLiteral("(no status line)");
}

}  // namespace

class SceneTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { ClearStore(); }

    void ChosenCheckedStoredAndShownAfterARun() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("landscape.png"));
        QVERIFY(Landscape().save(path));
        {
            const StartedWindow w = StartWindow();
            frmQelun& window = *w.window;
            const MainMenus& m = window.Menus();
            QCOMPARE(m.scene.mnuScene->title(), QStringLiteral("Scene"));
            QCOMPARE(CheckedScene(m), 0);  // "Classic"
            window.OpenPicturePath(path);
            QVERIFY(RunAnaglyph(window));
            QVERIFY(!StatusText(window).contains(QStringLiteral("Scene")));

            m.scene.mnuSceneChoice[3]->trigger();
            m.scene.mnuSceneChoice[3]->trigger();  // twice: still the one checked
            QCOMPARE(CheckedScene(m), 3);
            QCOMPARE(window.Choices().scene.scene, 3);
            QVERIFY(RunAnaglyph(window));
            QCOMPARE(StatusText(window), QStringLiteral("Scene: portrait"));

            m.scene.mnuSceneChoice[1]->trigger();
            QVERIFY(RunAnaglyph(window));
            QCOMPARE(StatusText(window), QStringLiteral("Scene: landscape"));
            window.close();
        }
        QSettings store(QStringLiteral("Zarvik"), QStringLiteral("Zarvik"));
        QCOMPARE(store.value(QStringLiteral("Settings/Scene")).toString(), QStringLiteral("1"));
        const StartedWindow again = StartWindow();
        QCOMPARE(CheckedScene(again.window->Menus()), 1);
        QCOMPARE(again.window->Choices().scene.scene, 1);
    }

    // A stored number outside the menu converts as classic and checks "Classic".
    void StoredNumberOutsideTheMenuIsClassic() {
        {
            QSettings store(QStringLiteral("Zarvik"), QStringLiteral("Zarvik"));
            store.setValue(QStringLiteral("Settings/Scene"), 9);
        }
        const StartedWindow w = StartWindow();
        QCOMPARE(CheckedScene(w.window->Menus()), 0);
        QCOMPARE(core::SceneOf(w.window->Choices().scene), core::Scene::kClassic);
    }
};

ZARVIK_APP_TEST_MAIN(SceneTest)
#include "app_scene_test.moc"
