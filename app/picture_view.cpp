#include "app/picture_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtConcurrent/QtConcurrentRun>
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

// Up to about a megapixel, what is painted is made in a few milliseconds, sooner than
// a worker would start.
constexpr std::int64_t kWorkerPixels = 1 << 20;

// The bitmap as painted at `zoom` (picture pixels per device pixel): whole at 1 and
// more, smoothly reduced below. Runs on any thread.
QImage PaintedImage(const platform::Bitmap& bitmap, const platform::Display& display, double zoom,
                    double ratio) {
    QImage whole = pictureio::ImageFromBitmap(bitmap, display);
    if (zoom <= 0.0 || whole.isNull()) return whole;
    const QSize size(std::max(1, static_cast<int>(std::lround(whole.width() * zoom))),
                     std::max(1, static_cast<int>(std::lround(whole.height() * zoom))));
    QImage reduced = whole.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    reduced.setDevicePixelRatio(ratio);
    return reduced;
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

PictureView::~PictureView() {
    if (job_) job_->waitForFinished();
}

// Showing the bitmap already shown changes nothing that was made from it.
void PictureView::ShowBitmap(const platform::Bitmap* bitmap) {
    if (bitmap == bitmap_) {
        preview_ = QImage();
        viewport()->update();
        return;
    }
    bitmap_ = bitmap;
    BitmapChanged();
}

void PictureView::BitmapChanged() {
    ++changes_;
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
    return {bitmap_->Bits().data(), bitmap_->Width(), bitmap_->Height(),
            bitmap_->BitsPixel(),   changes_,         0.0};
}

PictureView::ImageKey PictureView::WantedKey() const {
    ImageKey key = KeyOfBitmap();
    if (bitmap_ && zoom_ < 1.0) key.zoom = zoom_;
    return key;
}

QImage PictureView::ShownImage() {
    const ImageKey key = KeyOfBitmap();
    if (key != shown_key_) {
        shown_ = bitmap_ ? pictureio::ImageFromBitmap(*bitmap_, display_) : QImage();
        shown_key_ = key;
    }
    return shown_;
}

bool PictureView::Prepared() {
    const ImageKey wanted = WantedKey();
    if (painted_key_ == wanted) return true;
    if (!bitmap_) {
        painted_ = QImage();
        painted_key_ = wanted;
        return true;
    }
    if (static_cast<std::int64_t>(bitmap_->Width()) * bitmap_->Height() < kWorkerPixels) {
        painted_ = PaintedImage(*bitmap_, display_, wanted.zoom, DevicePixelRatio());
        painted_key_ = wanted;
        ++conversions_;
        return true;
    }
    // One job at a time: one that is no longer wanted ends first, and its end starts
    // the next.
    if (!job_) PrepareOnWorker(wanted);
    return false;
}

// The worker reads its own copy of the bitmap, whose bytes are shared, not copied: the
// window may replace or draw on its bitmap meanwhile.
void PictureView::PrepareOnWorker(const ImageKey& wanted) {
    platform::Display display = display_;
    display.SetEventPump({});
    job_ = std::make_unique<QFutureWatcher<QImage>>();
    job_key_ = wanted;
    connect(job_.get(), &QFutureWatcherBase::finished, this, &PictureView::JobDone);
    job_->setFuture(QtConcurrent::run(
        [bitmap = *bitmap_, display, zoom = wanted.zoom, ratio = DevicePixelRatio()] {
            return PaintedImage(bitmap, display, zoom, ratio);
        }));
}

void PictureView::JobDone() {
    // The watcher is inside its own signal: it goes once that has returned.
    QFutureWatcher<QImage>* done = job_.release();
    done->deleteLater();
    if (job_key_ == WantedKey()) {
        painted_ = done->result();
        painted_key_ = job_key_;
        ++conversions_;
    }
    viewport()->update();
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

void PictureView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Dark));
    if (!bitmap_) return;
    const QPointF origin = Origin();
    const QRectF place(origin, ShownSize());
    const bool prepared = preview_.isNull() && Prepared();
    if (!prepared) {
        // A preview, or the last picture painted while its successor is made.
        const QImage& standin = preview_.isNull() ? on_screen_ : preview_;
        if (standin.isNull()) return;
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(place, standin);
        if (!preview_.isNull()) on_screen_ = preview_;
        return;
    }
    on_screen_ = painted_;
    if (painted_.isNull()) return;
    if (zoom_ < 1.0)
        painter.drawImage(origin, painted_);
    else
        PaintEnlarged(painter, event->rect(), origin);
}

// Each picture pixel a sharp block; only the pixels in view are drawn.
void PictureView::PaintEnlarged(QPainter& painter, const QRect& area, QPointF origin) {
    const double scale = zoom_ / DevicePixelRatio();
    const QRectF wanted = QRectF(area).translated(-origin);
    QRectF source(wanted.topLeft() / scale, wanted.size() / scale);
    source = QRectF(QPointF(std::floor(source.left()), std::floor(source.top())),
                    QPointF(std::ceil(source.right()), std::ceil(source.bottom())))
                 .intersected(QRectF(painted_.rect()));
    if (source.isEmpty()) return;
    const QRectF target(origin + source.topLeft() * scale, source.size() * scale);
    painter.drawImage(target, painted_, source);
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
