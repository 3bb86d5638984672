#pragma once
// "Screen Plane": a slider that places the screen in the depth range, from far (0)
// to near (100), kept as it moves, as the Warp and Shift dialog keeps its values, so
// that the live result follows it. OK keeps the value; Cancel (or Escape) puts back
// the one the dialog opened with.
#include <QDialog>

#include "core/parallax_choices.h"

class QLabel;
class QSlider;

class frmScreenPlane : public QDialog {
    Q_OBJECT

  public:
    frmScreenPlane(core::ParallaxChoices& choices, QWidget* owner);

    QSlider* Slider = nullptr;
    QLabel* Label = nullptr;

    void reject() override;

  signals:
    // The value changed (also when Cancel put the opening value back).
    void ValuesChanged();

  private:
    void SliderMoved(int value);

    core::ParallaxChoices& choices_;
    const double opening_plane_;
};
