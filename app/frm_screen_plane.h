#pragma once
// "Screen Plane": a slider that places the screen in the depth range, from far (0)
// to near (100), kept as it moves, as the Warp and Shift dialog keeps its values.
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

  private:
    void SliderMoved(int value);

    core::ParallaxChoices& choices_;
};
