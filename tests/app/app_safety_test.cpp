// The window offers only what it can do: "Anaglyph" waits for a picture and "Save
// Result As" for something to save; the caption names a file only once it is
// written; Window › Background chooses what transparent pixels are laid over, and
// is stored.
#include <QAction>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"

class AppSafetyTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { ClearStore(); }

    void CommandsWaitForSomethingToDo() {
        QTemporaryDir folder;
        const StartedWindow w = StartWindow();
        frmQelun& window = *w.window;
        const MainMenus& m = window.Menus();
        const QString caption = window.windowTitle();
        QVERIFY(!m.mnuAnaglyph->isEnabled());
        QVERIFY(!m.mnuFileSaveAs->isEnabled());
        m.mnuAnaglyph->trigger();
        QVERIFY(!window.LastOutcome());  // it did not run

        const QString path = folder.filePath(QStringLiteral("p.png"));
        QVERIFY(TestPicture(12, 9).save(path));
        window.OpenPicturePath(path);
        QVERIFY(m.mnuAnaglyph->isEnabled());
        QVERIFY(m.mnuFileSaveAs->isEnabled());
        QVERIFY(RunAnaglyph(window));
        QVERIFY(window.LastOutcome() == conversion::Outcome::kConverted);

        // A save that fails leaves the caption naming the opened picture.
        const QString opened_caption = window.windowTitle();
        QVERIFY(opened_caption != caption);
        w.prompts->answers.push_back(folder.filePath(QStringLiteral("no such folder/r.bmp")));
        m.mnuFileSaveAs->trigger();
        QCOMPARE(w.prompts->messages.size(), 1);
        QCOMPARE(window.windowTitle(), opened_caption);
        w.prompts->answers.push_back(folder.filePath(QStringLiteral("r.bmp")));
        m.mnuFileSaveAs->trigger();
        QVERIFY(window.windowTitle().contains(QStringLiteral("r.bmp")));
    }

    // Red hidden under transparent pixels shows as neither; the choice is stored
    // under its own key, and a store without it reads as white.
    void BackgroundIsChosenAndStored() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("hidden.png"));
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
        QSettings store(QStringLiteral("Zarvik"), QStringLiteral("Zarvik"));
        QCOMPARE(store.value(QStringLiteral("Settings/Background")).toString(),
                 QStringLiteral("#3366cc"));
        const StartedWindow again = StartWindow();
        QVERIFY(again.window->Menus().background.mnuBackgroundOther->isChecked());
        QCOMPARE(again.window->Choices().picture.background, 0x3366CCu);
    }
};

ZARVIK_APP_TEST_MAIN(AppSafetyTest)
#include "app_safety_test.moc"
