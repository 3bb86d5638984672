#pragma once
// Decoding straight into the bitmap a conversion starts from. Qt's readers fill an image
// they are handed when it has the size and format they make; for 32-bit rows that
// image can be a view of the bitmap's own bytes. The picture then costs one whole
// copy of memory instead of two, and no pass copies it.
#include <QImage>
#include <QImageReader>
#include <optional>

#include "platform/bitmap.h"
#include "platform/display.h"

namespace pictureio {

// A 32-bit bitmap for the reader to decode into, when its pictures are 32-bit rows of
// the size its header gives; otherwise none. On a display of fewer bits it is only the
// decoder's target, which the picture is then mapped from: its memory comes in large
// pages, where a plain image's comes 4 KB at a time, a fault each.
std::optional<platform::Bitmap> BitmapToDecodeInto(const QImageReader& reader);

// An RGB32 image over the bitmap's bytes: what the reader writes lands in the bitmap.
QImage ImageOver(platform::Bitmap& bitmap);

// Whether the image still reads the bitmap's bytes.
bool LiesOver(const QImage& image, const platform::Bitmap& bitmap);

// When the image (after everything done to it since decoding) still lies over the
// bitmap's bytes, clears the alpha bytes the bitmap keeps at 0 and says true; false
// when the reader or a later step made an image of its own instead.
bool FinishInPlace(const QImage& image, platform::Bitmap& bitmap);

}  // namespace pictureio
