// The scaled strength in the window: the Strength group and the Screen Plane dialog
// kept under their own keys, File › Open Depth Map, and the hint for wide pictures.
#include <QAction>
#include <QLabel>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/frm_screen_plane.h"
#include "tests/app/app_test_main.h"
#include "tests/app/window_fixture.h"

class ParallaxTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { ClearStore(); }

    // The status line names the strength chosen: Classic, or the parallax and the
    // screen plane as they change, Cancel on the Screen Plane dialog included; and
    // the live result follows a change of strength. The dialog opens at 60 with no
    // key; what it is left at is stored under its own key and read back. (The
    // Strength group's key is in the choices' table.)
    void StrengthShownAndScreenPlaneKept() {
        {
            StartedWindow w = StartWindow();
            frmQelun& window = *w.window;
            QCOMPARE(window.Choices().parallax, core::ParallaxChoices{});
            const QLabel& strength = *window.StatusStrength();
            QCOMPARE(strength.text(), QStringLiteral("Classic strength"));
            QVERIFY(
                OpenNew(window, folder_.filePath(QStringLiteral("s.png")), TestPicture(160, 100)));
            QVERIFY(RunAnaglyph(window));
            const QImage classic = Shown(window);
            window.Menus().parallax.mnuStrengthLevel[2]->trigger();
            QCOMPARE(strength.text(), QStringLiteral("2 % parallax, screen plane at 60 %"));
            QVERIFY(window.LiveRunning());
            QVERIFY(WaitForLiveResult(window));
            QVERIFY(Shown(window) != classic);
            bool keep = false;
            w.prompts->on_modal = [&](QDialog& dialog) {
                auto* plane = qobject_cast<frmScreenPlane*>(&dialog);
                QVERIFY(plane);
                QCOMPARE(plane->Slider->value(), 60);
                plane->Slider->setValue(35);
                QCOMPARE(strength.text(), QStringLiteral("2 % parallax, screen plane at 35 %"));
                if (keep)
                    dialog.accept();
                else
                    dialog.reject();
            };
            window.Menus().parallax.mnuScreenPlane->trigger();
            QCOMPARE(window.Choices().parallax.screen_plane, 60.0);
            QCOMPARE(strength.text(), QStringLiteral("2 % parallax, screen plane at 60 %"));
            keep = true;
            window.Menus().parallax.mnuScreenPlane->trigger();
            QCOMPARE(window.Choices().parallax.screen_plane, 35.0);
            window.Menus().parallax.mnuStrengthLevel[0]->trigger();
            QCOMPARE(strength.text(), QStringLiteral("Classic strength"));
            QVERIFY(WaitForLiveResult(window));
            QCOMPARE(Shown(window), classic);
            window.close();
        }
        QCOMPARE(Stored("ScreenPlane"), QStringLiteral("35"));
        QCOMPARE(StartWindow().window->Choices().parallax.screen_plane, 35.0);
    }

    void WidePictureWithClassicStrengthSuggestsAScaledOne() {
        StartedWindow w = StartWindow();
        const QString wide = folder_.filePath(QStringLiteral("wide.png"));
        const QString narrow = folder_.filePath(QStringLiteral("narrow.png"));
        QVERIFY(TestPicture(1500, 12).save(narrow));
        QVERIFY(OpenNew(*w.window, wide, TestPicture(1600, 12)));
        QVERIFY(w.window->statusBar()->currentMessage().contains(QStringLiteral("Strength")));
        // The hint shows beside the strength, not over it.
        QVERIFY(!w.window->StatusStrength()->isHidden());
        w.window->Menus().parallax.mnuStrengthLevel[3]->trigger();
        QCOMPARE(w.window->statusBar()->currentMessage(), QString());
        w.window->Menus().parallax.mnuStrengthLevel[0]->trigger();
        QVERIFY(w.window->statusBar()->currentMessage().contains(QStringLiteral("1600")));
        w.window->OpenPicturePath(narrow);
        QCOMPARE(w.window->statusBar()->currentMessage(), QString());
    }

    // A half-size map, black with a white square: resized to the picture, it is the
    // depth map the conversion shows, whatever the cue would have made.
    void OpenedDepthMapTakesThePlaceOfTheCue() {
        StartedWindow w = StartWindow();
        QVERIFY(OpenNew(*w.window, folder_.filePath(QStringLiteral("picture.png")),
                        TestPicture(80, 40)));
        const QString map = folder_.filePath(QStringLiteral("map.png"));
        QVERIFY(MakeImage(40, 20, [](int x, int y) {
                    return x >= 10 && x < 30 && y >= 5 && y < 15 ? QColor(255, 255, 255)
                                                                 : QColor(0, 0, 0);
                }).save(map));
        w.prompts->answers.push_back(map);
        w.window->Menus().parallax.mnuOpenDepthMap->trigger();
        QVERIFY(w.window->DepthFrom());
        QVERIFY(w.window->Menus().parallax.mnuCloseDepthMap->isEnabled());
        w.window->Menus().parallax.mnuStrengthLevel[2]->trigger();
        QVERIFY(RunAnaglyph(*w.window));
        QCOMPARE(w.window->LastOutcome(), std::optional(conversion::Outcome::kConverted));
        const QImage depth = pictureio::ImageFromBitmap(w.window->Surfaces().picDepth.Image(),
                                                        w.window->GetDisplay());
        QCOMPARE(depth.size(), QSize(80, 40));
        QCOMPARE(qGreen(depth.pixel(40, 20)), 255);
        QCOMPARE(qGreen(depth.pixel(5, 5)), 0);
        QVERIFY(w.prompts->messages.isEmpty());

        w.window->Menus().parallax.mnuCloseDepthMap->trigger();
        QVERIFY(!w.window->DepthFrom());
        w.prompts->answers.push_back(folder_.filePath(QStringLiteral("gone.png")));
        w.window->Menus().parallax.mnuOpenDepthMap->trigger();
        QVERIFY(!w.window->DepthFrom());
        QCOMPARE(w.prompts->messages.size(), 1);
        QVERIFY(w.prompts->messages.front().contains(QStringLiteral("gone.png")));
    }

  private:
    QTemporaryDir folder_;
};

ZARVIK_APP_TEST_MAIN(ParallaxTest)
#include "app_parallax_test.moc"
