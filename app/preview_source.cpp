#include "app/preview_source.h"

#include <QImage>

#include "io/picture_io.h"

platform::Picture PreviewSource::Reduced(const platform::Picture& picture, QSize size,
                                         const platform::Display& display) {
    {
        const std::lock_guard lock(mutex_);
        if (reduced_ && size_ == size && made_from_.SharesBitsWith(picture.bitmap))
            return *reduced_;
    }
    // Made outside the lock: a cancelled preview still reducing an older picture does
    // not hold up the next one.
    const QImage image = pictureio::ImageFromBitmap(picture.bitmap, display)
                             .scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    platform::Picture reduced = pictureio::PictureFromImage(image, display);
    const std::lock_guard lock(mutex_);
    made_from_ = picture.bitmap;
    size_ = size;
    reduced_ = reduced;
    return reduced;
}

void PreviewSource::Forget() {
    const std::lock_guard lock(mutex_);
    made_from_ = {};
    reduced_.reset();
}
