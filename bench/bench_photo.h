#pragma once
// The picture a benchmark converts: a real photograph when ZARVIK_BENCH_PHOTO names one
// (resized smoothly to each size asked for), otherwise the generated photo-like one.
// The generated picture's fine texture makes a noisier depth map than most photos do,
// which the scaled views pay for in folds and holes; a photo shows what users get.
#include <QImage>
#include <QString>
#include <cstdlib>
#include <stdexcept>

#include "bench/photo_picture.h"
#include "io/picture_io.h"

inline platform::Picture BenchPhoto(const platform::Display& display, int width, int height) {
    const char* path = std::getenv("ZARVIK_BENCH_PHOTO");
    if (!path || !*path) return MakePhoto(display, width, height);
    const QImage photo(QString::fromLocal8Bit(path));
    if (photo.isNull()) throw std::runtime_error(std::string("cannot read ") + path);
    return pictureio::PictureFromImage(
        photo.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), display);
}
