#pragma once
// The grain dialog's histogram box: black bars for the depth counts and five
// coloured vertical lines for the depth boundaries, drawn in a user coordinate
// system (x one unit per depth value, y in pixel counts, upward). Lines are kept
// in those coordinates, so they always stand over the bars of their values.
#include <QColor>
#include <QWidget>
#include <array>
#include <cstdint>

#include "app/depth_histogram.h"

class HistogramBox : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kLines = 5;

    explicit HistogramBox(QWidget* parent);

    // ScaleLeft, ScaleTop, ScaleWidth, ScaleHeight.
    void SetScale(float left, float top, float width, float height);
    float ScaleLeft() const { return scale_left_; }
    float ScaleTop() const { return scale_top_; }
    float ScaleWidth() const { return scale_width_; }
    float ScaleHeight() const { return scale_height_; }

    // Removes the bars.
    void Cls();
    // Draws the bar of value v from y 0 to counts[v] for every counted value.
    void DrawBars(const depthhistogram::Counts& counts);
    const depthhistogram::Counts& Bars() const { return bars_; }

    // X1 and X2 of line i (both the same: the lines are vertical).
    void SetLineX(int line, float x);
    float LineX(int line) const { return line_x_[static_cast<std::size_t>(line)]; }
    static QColor LineColor(int line);

    // Between the widget's pixels and the user coordinates.
    float ScaleXAt(double pixel_x) const;
    float ScaleYAt(double pixel_y) const;
    double PixelXOf(double x) const;
    double PixelYOf(double y) const;

  signals:
    // Button and shift as the old toolkit numbered them (1 left, 2 right, 4 middle;
    // 1 shift, 2 control, 4 alt); x and y in user coordinates.
    void MouseUp(int button, int shift, float x, float y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    float scale_left_ = 0.0f;
    float scale_top_ = 0.0f;
    float scale_width_ = 1.0f;
    float scale_height_ = 1.0f;
    depthhistogram::Counts bars_{};
    std::array<float, kLines> line_x_{};
};
