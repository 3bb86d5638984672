#include "app/surface_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "io/picture_io.h"
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
    const platform::Bitmap& image = surface_.Image();
    shown_ = QImage(image.Width(), image.Height(), QImage::Format_RGB32);
    converted_.assign(shown_.isNull() ? 0 : static_cast<std::size_t>(image.Height()), Span{});
    shown_key_ = key;
    dirty_ = false;
    ++conversions_;
}

void SurfaceView::ConvertArea(const QRect& wanted) {
    const QRect area = wanted & shown_.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        Span& done = converted_[static_cast<std::size_t>(y)];
        const int begin = area.left();
        const int end = area.right() + 1;
        if (done.begin == done.end) {
            pictureio::ImageAreaFromBitmap(surface_.Image(), display_,
                                           QRect(begin, y, end - begin, 1), shown_);
            done = {begin, end};
            continue;
        }
        // Whatever lies between the new columns and the converted ones is converted
        // too, so that one span still says it all.
        if (begin < done.begin) {
            pictureio::ImageAreaFromBitmap(surface_.Image(), display_,
                                           QRect(begin, y, done.begin - begin, 1), shown_);
            done.begin = begin;
        }
        if (end > done.end) {
            pictureio::ImageAreaFromBitmap(surface_.Image(), display_,
                                           QRect(done.end, y, end - done.end, 1), shown_);
            done.end = end;
        }
    }
}

QImage SurfaceView::ShownImage() {
    ConvertIfStale();
    ConvertArea(shown_.rect());
    return shown_;
}

void SurfaceView::paintEvent(QPaintEvent* event) {
    ConvertIfStale();
    ConvertArea(event->rect());
    QPainter painter(this);
    painter.drawImage(event->rect(), shown_, event->rect());
}
