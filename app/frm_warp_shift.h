#pragma once
// "Warp and Depth": two scroll bars that set glbWarp (1..100) and glbShift
// (-12..12) as they move, each with a label showing the value, so that the live
// result follows them. OK keeps the values; Cancel (or Escape) puts back what they were
// when the dialog opened.
#include <QDialog>

#include "core/tavs_mod.h"

class QDialogButtonBox;
class QLabel;
class QScrollBar;

class frmWarpShift : public QDialog {
    Q_OBJECT

  public:
    // Loads the dialog from the values (Form_Load).
    frmWarpShift(TavsMod::Values& values, QWidget* owner);

    void Form_Load();
    void HScroll1_Change();
    void HScroll1_Scroll();
    void HScroll2_Change();
    void HScroll2_Scroll();

    QLabel* Label1 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QLabel* Label2 = nullptr;
    QScrollBar* HScroll2 = nullptr;
    QDialogButtonBox* Buttons = nullptr;

    void reject() override;

  signals:
    // A value changed (also when Cancel put the opening values back).
    void ValuesChanged();

  private:
    void BuildControls();
    void ShowWarp();
    void ShowShift();

    TavsMod::Values& values_;
    const std::int16_t opening_warp_;
    const std::int16_t opening_shift_;
};
