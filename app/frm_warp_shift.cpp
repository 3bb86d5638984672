#include "app/frm_warp_shift.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QScrollBar>

#include "app/twips.h"

namespace {

QRect TwipsRect(int left, int top, int width, int height) {
    return {twips::ToPixels(left), twips::ToPixels(top), twips::ToPixels(width),
            twips::ToPixels(height)};
}

QScrollBar* ValueBar(QWidget* parent, int top, int minimum, int maximum, int designed) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setGeometry(TwipsRect(240, top, 2895, 255));
    bar->setRange(minimum, maximum);
    bar->setValue(designed);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    return bar;
}

// The old scroll bar refused a value outside its range and kept where it was.
void SetValueIfInRange(QScrollBar& bar, int value) {
    if (value >= bar.minimum() && value <= bar.maximum()) bar.setValue(value);
}

}  // namespace

frmWarpShift::frmWarpShift(TavsMod::Values& values, QWidget* owner)
    : QDialog(owner),
      values_(values),
      opening_warp_(values.glbWarp),
      opening_shift_(values.glbShift) {
    setWindowTitle(QStringLiteral("Warp and Depth"));
    BuildControls();
    Form_Load();
}

void frmWarpShift::BuildControls() {
    setFixedSize(twips::ToPixels(3375), twips::ToPixels(2055));
    Label1 = new QLabel(QStringLiteral("Warp:"), this);
    Label1->setGeometry(TwipsRect(240, 120, 2895, 255));
    HScroll1 = ValueBar(this, 360, 1, 100, 1);
    Label2 = new QLabel(QStringLiteral("Depth:"), this);
    Label2->setGeometry(TwipsRect(240, 720, 2895, 255));
    HScroll2 = ValueBar(this, 960, -12, 12, 0);
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Buttons->setGeometry(TwipsRect(240, 1440, 2895, 435));
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &frmWarpShift::reject);
    setTabOrder(HScroll1, HScroll2);
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
    connect(HScroll1, &QScrollBar::sliderMoved, this, [this] { HScroll1_Scroll(); });
    connect(HScroll2, &QScrollBar::valueChanged, this, [this] { HScroll2_Change(); });
    connect(HScroll2, &QScrollBar::sliderMoved, this, [this] { HScroll2_Scroll(); });
}

void frmWarpShift::ShowWarp() {
    Label1->setText(QStringLiteral("Warp: ") + QString::number(values_.glbWarp));
}

void frmWarpShift::ShowShift() {
    Label2->setText(QStringLiteral("Depth: ") + QString::number(values_.glbShift));
}

void frmWarpShift::Form_Load() {
    SetValueIfInRange(*HScroll1, values_.glbWarp);
    ShowWarp();
    SetValueIfInRange(*HScroll2, values_.glbShift);
    ShowShift();
    emit ValuesChanged();
}

void frmWarpShift::reject() {
    const bool changed = values_.glbWarp != opening_warp_ || values_.glbShift != opening_shift_;
    values_.glbWarp = opening_warp_;
    values_.glbShift = opening_shift_;
    if (changed) emit ValuesChanged();
    QDialog::reject();
}

void frmWarpShift::HScroll1_Change() {
    values_.glbWarp = static_cast<std::int16_t>(HScroll1->value());
    ShowWarp();
    emit ValuesChanged();
}

// While the thumb is dragged the bar's position leads its value (and, without
// tracking, is all that moves).
void frmWarpShift::HScroll1_Scroll() {
    values_.glbWarp = static_cast<std::int16_t>(HScroll1->sliderPosition());
    ShowWarp();
    emit ValuesChanged();
}

void frmWarpShift::HScroll2_Change() {
    values_.glbShift = static_cast<std::int16_t>(HScroll2->value());
    ShowShift();
    emit ValuesChanged();
}

void frmWarpShift::HScroll2_Scroll() {
    values_.glbShift = static_cast<std::int16_t>(HScroll2->sliderPosition());
    ShowShift();
    emit ValuesChanged();
}
