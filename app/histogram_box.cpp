#include "app/histogram_box.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

int ButtonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

int ShiftCode(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

// Pixel edges of the span [a, b) in user coordinates, at least one pixel wide, as
// the old toolkit filled a box however thin.
std::pair<int, int> PixelSpan(double a, double b) {
    // A bar far taller than the box (value 0 does not count for the scale) is cut
    // well outside it, so that the pixel numbers stay small.
    a = std::clamp(a, -1e6, 1e6);
    b = std::clamp(b, -1e6, 1e6);
    int first = static_cast<int>(std::nearbyint(std::min(a, b)));
    int last = static_cast<int>(std::nearbyint(std::max(a, b)));
    if (last <= first) last = first + 1;
    return {first, last};
}

}  // namespace

HistogramBox::HistogramBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void HistogramBox::SetScale(float left, float top, float width, float height) {
    scale_left_ = left;
    scale_top_ = top;
    scale_width_ = width;
    scale_height_ = height;
    update();
}

void HistogramBox::Cls() {
    bars_.fill(0);
    update();
}

void HistogramBox::DrawBars(const depthhistogram::Counts& counts) {
    for (std::size_t v = 0; v < counts.size(); ++v)
        if (counts[v] >= 1) bars_[v] = counts[v];
    update();
}

void HistogramBox::SetLineX(int line, float x) {
    if (line < 0 || line >= kLines) return;
    line_x_[static_cast<std::size_t>(line)] = x;
    update();
}

QColor HistogramBox::LineColor(int line) {
    static const std::array<QColor, kLines> kColors = {QColor(255, 0, 0), QColor(255, 128, 0),
                                                       QColor(255, 255, 0), QColor(0, 255, 0),
                                                       QColor(0, 255, 255)};
    return kColors[static_cast<std::size_t>(std::clamp(line, 0, kLines - 1))];
}

float HistogramBox::ScaleXAt(double pixel_x) const {
    return static_cast<float>(scale_left_ + pixel_x * scale_width_ / std::max(1, width()));
}

float HistogramBox::ScaleYAt(double pixel_y) const {
    return static_cast<float>(scale_top_ + pixel_y * scale_height_ / std::max(1, height()));
}

double HistogramBox::PixelXOf(double x) const {
    if (scale_width_ == 0.0f) return 0.0;
    return (x - scale_left_) * width() / scale_width_;
}

double HistogramBox::PixelYOf(double y) const {
    if (scale_height_ == 0.0f) return 0.0;
    return (y - scale_top_) * height() / scale_height_;
}

void HistogramBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    for (std::size_t v = 0; v < bars_.size(); ++v) {
        if (bars_[v] < 1) continue;
        const double value = static_cast<double>(v);
        const auto [left, right] = PixelSpan(PixelXOf(value), PixelXOf(value + 1.0));
        const auto [top, bottom] = PixelSpan(PixelYOf(bars_[v]), PixelYOf(0.0));
        painter.fillRect(QRect(left, top, right - left, bottom - top), Qt::black);
    }
    for (int line = 0; line < kLines; ++line) {
        const int x =
            static_cast<int>(std::nearbyint(std::clamp(PixelXOf(LineX(line)), -1e6, 1e6)));
        painter.fillRect(QRect(x, 0, 1, height()), LineColor(line));
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void HistogramBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    emit MouseUp(ButtonCode(event->button()), ShiftCode(event->modifiers()), ScaleXAt(at.x()),
                 ScaleYAt(at.y()));
}
