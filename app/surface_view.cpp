#include "app/surface_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

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
    const platform::Bitmap& image = surface_.Image();
    shown_ = QImage(image.Width(), image.Height(), QImage::Format_RGB32);
    converted_rows_.assign(shown_.isNull() ? 0 : static_cast<std::size_t>(image.Height()), false);
    shown_key_ = key;
    dirty_ = false;
    ++conversions_;
}

void SurfaceView::ConvertRows(int first, int end) {
    first = std::max(first, 0);
    end = std::min(end, static_cast<int>(converted_rows_.size()));
    while (first < end) {
        if (converted_rows_[static_cast<std::size_t>(first)]) {
            ++first;
            continue;
        }
        int last = first;  // one block of rows not converted yet
        while (last < end && !converted_rows_[static_cast<std::size_t>(last)]) {
            converted_rows_[static_cast<std::size_t>(last)] = true;
            ++last;
        }
        pictureio::ImageRowsFromBitmap(surface_.Image(), display_, first, last, shown_);
        first = last;
    }
}

QImage SurfaceView::ShownImage() {
    ConvertIfStale();
    ConvertRows(0, shown_.height());
    return shown_;
}

void SurfaceView::paintEvent(QPaintEvent* event) {
    ConvertIfStale();
    ConvertRows(event->rect().top(), event->rect().bottom() + 1);
    QPainter painter(this);
    painter.drawImage(event->rect(), shown_, event->rect());
}
