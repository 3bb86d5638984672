#pragma once
// A conversion's progress as the main window shows it: the band grows across the
// window, "Please Wait..." stands in the title while a step polls no rows, and the
// window handles its input between rows, so that "Cancel" can be clicked.
#include <QElapsedTimer>
#include <QString>

#include "core/progress.h"

class QWidget;
class ProgressBand;

class WindowProgress : public core::Progress {
  public:
    WindowProgress(QWidget& window, ProgressBand& band);

    void Advance(double done) override;
    void LongStep(bool begins) override;
    void Yield() override;

  private:
    QWidget& window_;
    ProgressBand& band_;
    float full_width_twips_;
    QString saved_title_;
    QElapsedTimer input_checked_;
};
