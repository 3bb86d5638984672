#include "app/picture_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "io/picture_io.h"

namespace {

// Zoom steps are powers of the square root of two: 1, 2 and 1/2 among them, and two
// steps make twice the size, as most viewers do.
constexpr double kStep = 1.4142135623730951;

double Ladder(double zoom, int direction) {
    const double exponent = std::log(zoom) / std::log(kStep);
    // A zoom between two steps goes to the next one in the asked direction; one on a
    // step (within rounding) goes a whole step.
    const double next =
        direction > 0 ? std::floor(exponent + 1e-6) + 1.0 : std::ceil(exponent - 1e-6) - 1.0;
    return std::pow(kStep, next);
}

}  // namespace

PictureView::PictureView(const platform::Display& display, QWidget* parent)
    : QAbstractScrollArea(parent), display_(display) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(),
            [this] { viewport()->update(); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(),
            [this] { viewport()->update(); });
}

void PictureView::ShowBitmap(const platform::Bitmap* bitmap) {
    bitmap_ = bitmap;
    BitmapChanged();
}

void PictureView::BitmapChanged() {
    dirty_ = true;
    preview_ = QImage();
    if (fit_) zoom_ = FitZoom();
    UpdateScrollBars();
    viewport()->update();
}

void PictureView::ShowPreview(const QImage& preview) {
    preview_ = preview;
    viewport()->update();
}

PictureView::ImageKey PictureView::KeyOfBitmap() const {
    if (!bitmap_) return {};
    return {bitmap_->Bits().data(), bitmap_->Width(), bitmap_->Height(), bitmap_->BitsPixel()};
}

void PictureView::ConvertIfStale() {
    const ImageKey key = KeyOfBitmap();
    if (!dirty_ && key == shown_key_) return;
    shown_ = bitmap_ ? pictureio::ImageFromBitmap(*bitmap_, display_) : QImage();
    reduced_ = QImage();
    shown_key_ = key;
    dirty_ = false;
    ++conversions_;
}

QImage PictureView::ShownImage() {
    ConvertIfStale();
    return shown_;
}

double PictureView::DevicePixelRatio() const {
    return viewport()->devicePixelRatioF();
}

QSizeF PictureView::ShownSize() {
    if (!bitmap_) return {};
    const double scale = zoom_ / DevicePixelRatio();
    return {bitmap_->Width() * scale, bitmap_->Height() * scale};
}

// A picture larger than the view is reduced to fit; a smaller one is shown one picture
// pixel to a logical pixel, as large as the window has always shown it.
double PictureView::FitZoom() {
    if (!bitmap_ || bitmap_->Width() <= 0 || bitmap_->Height() <= 0) return 1.0;
    const double ratio = DevicePixelRatio();
    const QSize room = viewport()->size();
    const double fit = std::min(room.width() * ratio / bitmap_->Width(),
                                room.height() * ratio / bitmap_->Height());
    return std::clamp(std::min(fit, ratio), kMinZoom, kMaxZoom);
}

QPointF PictureView::Origin() {
    const QSizeF size = ShownSize();
    const QSize room = viewport()->size();
    const double x = size.width() <= room.width() ? (room.width() - size.width()) / 2.0
                                                  : -horizontalScrollBar()->value();
    const double y = size.height() <= room.height() ? (room.height() - size.height()) / 2.0
                                                    : -verticalScrollBar()->value();
    return {std::floor(x), std::floor(y)};
}

void PictureView::UpdateScrollBars() {
    const QSizeF size = ShownSize();
    const QSize room = viewport()->size();
    const auto set = [](QScrollBar* bar, double content, int page) {
        bar->setRange(0, std::max(0, static_cast<int>(std::ceil(content)) - page));
        bar->setPageStep(page);
        bar->setSingleStep(std::max(1, page / 20));
    };
    set(horizontalScrollBar(), size.width(), room.width());
    set(verticalScrollBar(), size.height(), room.height());
}

void PictureView::ApplyZoom(double zoom, QPointF anchor) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    const QPointF origin = Origin();
    const double old_scale = zoom_ / DevicePixelRatio();
    const QPointF picture_point = (anchor - origin) / old_scale;
    zoom_ = zoom;
    UpdateScrollBars();
    const QPointF wanted = picture_point * (zoom_ / DevicePixelRatio()) - anchor;
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(wanted.x())));
    verticalScrollBar()->setValue(static_cast<int>(std::lround(wanted.y())));
    viewport()->setCursor(horizontalScrollBar()->maximum() > 0 || verticalScrollBar()->maximum() > 0
                              ? Qt::OpenHandCursor
                              : Qt::ArrowCursor);
    viewport()->update();
    emit ZoomChanged(zoom_);
}

void PictureView::SetZoom(double zoom, QPointF anchor) {
    fit_ = false;
    ApplyZoom(zoom, anchor);
}

void PictureView::ZoomIn() {
    SetZoom(Ladder(zoom_, +1), QRectF(viewport()->rect()).center());
}

void PictureView::ZoomOut() {
    SetZoom(Ladder(zoom_, -1), QRectF(viewport()->rect()).center());
}

void PictureView::FitToWindow() {
    fit_ = true;
    ApplyZoom(FitZoom(), QRectF(viewport()->rect()).center());
}

void PictureView::ActualSize() {
    SetZoom(1.0, QRectF(viewport()->rect()).center());
}

void PictureView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (fit_)
        ApplyZoom(FitZoom(), QRectF(viewport()->rect()).center());
    else
        UpdateScrollBars();
}

// The smooth reduction of a large picture costs tens of milliseconds: it is made once
// for each zoom and kept while the view only scrolls or repaints.
const QImage& PictureView::Reduced() {
    if (reduced_.isNull() || reduced_zoom_ != zoom_) {
        const QSize size(std::max(1, static_cast<int>(std::lround(shown_.width() * zoom_))),
                         std::max(1, static_cast<int>(std::lround(shown_.height() * zoom_))));
        reduced_ = shown_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        reduced_.setDevicePixelRatio(DevicePixelRatio());
        reduced_zoom_ = zoom_;
    }
    return reduced_;
}

void PictureView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Dark));
    ConvertIfStale();
    if (shown_.isNull()) return;
    const QPointF origin = Origin();
    const QRectF place(origin, ShownSize());
    if (!preview_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(place, preview_);
        return;
    }
    if (zoom_ < 1.0) {
        painter.drawImage(origin, Reduced());
        return;
    }
    // Enlarged: each picture pixel a sharp block; only the pixels in view are drawn.
    const double scale = zoom_ / DevicePixelRatio();
    const QRectF wanted = (QRectF(event->rect()).translated(-origin));
    QRectF source(wanted.topLeft() / scale, wanted.size() / scale);
    source = QRectF(QPointF(std::floor(source.left()), std::floor(source.top())),
                    QPointF(std::ceil(source.right()), std::ceil(source.bottom())))
                 .intersected(QRectF(shown_.rect()));
    if (source.isEmpty()) return;
    const QRectF target(origin + source.topLeft() * scale, source.size() * scale);
    painter.drawImage(target, shown_, source);
}

void PictureView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    const int steps = event->angleDelta().y() / 120;
    if (steps == 0) return;
    double zoom = zoom_;
    for (int i = 0; i < std::abs(steps); ++i) zoom = Ladder(zoom, steps > 0 ? +1 : -1);
    SetZoom(zoom, event->position());
    event->accept();
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragging_ = horizontalScrollBar()->maximum() > 0 || verticalScrollBar()->maximum() > 0;
    drag_from_ = event->position().toPoint();
    if (dragging_) viewport()->setCursor(Qt::ClosedHandCursor);
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    const QPoint now = event->position().toPoint();
    const QPoint moved = now - drag_from_;
    drag_from_ = now;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - moved.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() - moved.y());
}

void PictureView::mouseReleaseEvent(QMouseEvent* /*event*/) {
    if (dragging_) viewport()->setCursor(Qt::OpenHandCursor);
    dragging_ = false;
}
