#pragma once
// The progress band at the window's top left: a plain child widget whose width
// follows the conversion. Growing it repaints only the strip it covers; nothing is
// laid out again.
#include <QWidget>

class ProgressBand : public QWidget {
  public:
    static constexpr int kHeightTwips = 135;

    explicit ProgressBand(QWidget* parent);

    // Width in twips, as the conversion counts it.
    void SetWidthTwips(float width);
    int HeightTwips() const { return kHeightTwips; }
};
