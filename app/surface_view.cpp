#include "app/surface_view.h"

#include <QPaintEvent>
#include <QPainter>

#include "app/picture_io.h"
#include "app/twips.h"

SurfaceView::SurfaceView(platform::PictureSurface& surface, const platform::Display& display,
                         QWidget* parent)
    : QWidget(parent), surface_(surface), display_(display) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    surface_.SetRefreshHandler([this] { SurfaceChanged(); });
    SurfaceChanged();
}

void SurfaceView::SurfaceChanged() {
    dirty_ = true;
    const QRect place(twips::ToPixels(surface_.Left()), twips::ToPixels(surface_.Top()),
                      surface_.ScaleWidth(), surface_.ScaleHeight());
    if (geometry() != place) setGeometry(place);
    update();
}

SurfaceView::ImageKey SurfaceView::KeyOfSurface() const {
    const platform::Bitmap& image = surface_.Image();
    return {image.Bits().data(), image.Width(), image.Height(), image.BitsPixel()};
}

void SurfaceView::ConvertIfStale() {
    const ImageKey key = KeyOfSurface();
    if (!dirty_ && key == shown_key_) return;
    shown_ = pictureio::ImageFromBitmap(surface_.Image(), display_);
    shown_key_ = key;
    dirty_ = false;
    ++conversions_;
}

QImage SurfaceView::ShownImage() {
    ConvertIfStale();
    return shown_;
}

void SurfaceView::paintEvent(QPaintEvent* event) {
    ConvertIfStale();
    QPainter painter(this);
    painter.drawImage(event->rect(), shown_, event->rect());
}
