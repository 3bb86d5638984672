#include "app/frm_screen_plane.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

QString PlaneText(int value) {
    return QStringLiteral(
               "Screen plane: %1 % of the depth range (0 far, 100 near).\n"
               "Nearer parts come out of the screen, farther ones sink behind it.")
        .arg(value);
}

}  // namespace

frmScreenPlane::frmScreenPlane(core::ParallaxChoices& choices, QWidget* owner)
    : QDialog(owner), choices_(choices), opening_plane_(choices.screen_plane) {
    setWindowTitle(QStringLiteral("Screen Plane"));
    auto* layout = new QVBoxLayout(this);
    Label = new QLabel(this);
    Label->setObjectName(QStringLiteral("Label"));
    Slider = new QSlider(Qt::Horizontal, this);
    Slider->setObjectName(QStringLiteral("Slider"));
    Slider->setRange(0, 100);
    Slider->setPageStep(10);
    const int value = static_cast<int>(std::lround(std::clamp(choices.screen_plane, 0.0, 100.0)));
    Slider->setValue(value);
    Label->setText(PlaneText(value));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(Label);
    layout->addWidget(Slider);
    layout->addWidget(buttons);
    connect(Slider, &QSlider::valueChanged, this, [this](int v) { SliderMoved(v); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &frmScreenPlane::reject);
}

void frmScreenPlane::reject() {
    const bool changed = choices_.screen_plane != opening_plane_;
    choices_.screen_plane = opening_plane_;
    if (changed) emit ValuesChanged();
    QDialog::reject();
}

void frmScreenPlane::SliderMoved(int value) {
    choices_.screen_plane = value;
    Label->setText(PlaneText(value));
    emit ValuesChanged();
}
