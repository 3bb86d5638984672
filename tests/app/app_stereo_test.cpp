// The "Stereo" menu driven as a user drives it: a choice shows its check, a layout
// shows in the window after "Anaglyph", and the choices are stored under their own
// keys and read back at start-up.
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"

class StereoMenuTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        ClearStore();
        QVERIFY(folder_.isValid());
    }

    // A store without the new keys checks the classic choices.
    void StartsOnTheClassicAnaglyph() {
        const StartedWindow w = StartWindow(32);
        const StereoMenus& m = w.window->Menus().stereo;
        QVERIFY(m.mnuMethods[0]->isChecked());
        QVERIFY(m.mnuGlassesKinds[0]->isChecked());
        QVERIFY(m.mnuLayouts[0]->isChecked());
        QCOMPARE(w.window->Choices().stereo, core::StereoChoices{});
    }

    // The menu sits just before the "Anaglyph" command on the bar.
    void SitsBeforeTheAnaglyphCommand() {
        const StartedWindow w = StartWindow(32);
        const QList<QAction*> bar = w.window->menuBar()->actions();
        const qsizetype anaglyph = bar.indexOf(w.window->Menus().mnuAnaglyph);
        QVERIFY(anaglyph > 0);
        QCOMPARE(bar[anaglyph - 1], w.window->Menus().stereo.mnuStereo->menuAction());
    }

    void SideBySideShowsBothViews() {
        const StartedWindow w = StartWindow(32);
        frmQelun& window = *w.window;
        const QString path = folder_.filePath(QStringLiteral("picture.png"));
        QVERIFY(TestPicture(41, 30).save(path));
        window.OpenPicturePath(path);
        window.Menus().stereo.mnuLayouts[1]->trigger();
        QVERIFY(window.Menus().stereo.mnuLayouts[1]->isChecked());
        QVERIFY(!window.Menus().stereo.mnuLayouts[0]->isChecked());
        QVERIFY(RunAnaglyph(window));
        QCOMPARE(window.LastOutcome(), std::optional(conversion::Outcome::kConverted));
        const QImage shown = Shown(window);
        QCOMPARE(shown.size(), QSize(82, 30));
        QCOMPARE(shown.copy(0, 0, 41, 30), TestPicture(41, 30).convertToFormat(shown.format()));
    }

    void ChoicesAreStoredUnderTheirOwnKeys() {
        {
            const StartedWindow w = StartWindow(32);
            w.window->Menus().stereo.mnuMethods[3]->trigger();
            w.window->Menus().stereo.mnuGlassesKinds[2]->trigger();
            w.window->Menus().stereo.mnuLayouts[5]->trigger();
            w.window->close();
        }
        QSettings store(QStringLiteral("Zarvik"), QStringLiteral("Zarvik"));
        QCOMPARE(store.value(QStringLiteral("Settings/Method")).toString(), QStringLiteral("3"));
        QCOMPARE(store.value(QStringLiteral("Settings/Glasses")).toString(), QStringLiteral("2"));
        QCOMPARE(store.value(QStringLiteral("Settings/Layout")).toString(), QStringLiteral("5"));
        const StartedWindow again = StartWindow(32);
        QVERIFY(again.window->Menus().stereo.mnuMethods[3]->isChecked());
        QVERIFY(again.window->Menus().stereo.mnuGlassesKinds[2]->isChecked());
        QVERIFY(again.window->Menus().stereo.mnuLayouts[5]->isChecked());
    }

  private:
    QTemporaryDir folder_;
};

ZARVIK_APP_TEST_MAIN(StereoMenuTest)
#include "app_stereo_test.moc"
