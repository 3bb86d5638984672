#pragma once
// "Set Depth Granularity": the depth map's histogram with the five depth
// boundaries as coloured lines. The user picks a grain range with its option
// button and clicks in the histogram to move that range's upper boundary; every
// change goes into Depth at once, so that the live result follows. "Default" restores
// the factory boundaries, "OK" closes keeping them, "Cancel" (or Escape) puts back
// those the dialog opened with.
#include <QDialog>
#include <array>
#include <cstdint>

#include "app/depth_histogram.h"
#include "core/tavs_mod.h"

class HistogramBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmDepthGrain : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kRanges = 5;

    // Loads the dialog from `values.Depth` (Form_Load).
    frmDepthGrain(TavsMod::Values& values, QWidget* owner);

    // Clears the histogram, sets its coordinate system from the counts' peak and
    // draws the bars.
    void ShowHistogram(const depthhistogram::Counts& counts);

    void Form_Load();
    void optDepth_Click(int index);
    void picHistogram_MouseUp(int button, int shift, float x, float y);
    void Command2_Click();  // "Default"
    void Command1_Click();  // "OK"
    void Command3_Click();  // "Cancel"
    void reject() override;

    int SelectedRange() const { return selected_; }

    HistogramBox* picHistogram = nullptr;
    std::array<QRadioButton*, kRanges> optDepth{};
    std::array<QLabel*, kRanges> Label1{};
    std::array<QLineEdit*, kRanges> txtFrom{};
    std::array<QLabel*, kRanges> Label2{};
    std::array<QLineEdit*, kRanges> txtTo{};
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;

  signals:
    // A boundary moved (also when Cancel put the opening ones back).
    void ValuesChanged();

  private:
    void BuildControls();
    void ShowDepthValues();

    TavsMod::Values& values_;
    const std::array<std::int16_t, kRanges> opening_depth_;
    std::int16_t selected_ = 0;
};
