#include "io/decode_in_place.h"

#include <cstring>

namespace pictureio {

std::optional<platform::Bitmap> BitmapToDecodeInto(const QImageReader& reader) {
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || reader.imageFormat() != QImage::Format_RGB32 ||
        size.width() > platform::kMaxBitmapSide || size.height() > platform::kMaxBitmapSide)
        return std::nullopt;
    return platform::Bitmap::Uncleared(size.width(), size.height(), 32);
}

bool LiesOver(const QImage& image, const platform::Bitmap& bitmap) {
    return image.constBits() == bitmap.Bits().data();
}

QImage ImageOver(platform::Bitmap& bitmap) {
    return QImage(bitmap.BitsForOverwrite().data(), bitmap.Width(), bitmap.Height(),
                  static_cast<qsizetype>(bitmap.WidthBytes()), QImage::Format_RGB32);
}

bool FinishInPlace(const QImage& image, platform::Bitmap& bitmap) {
    const auto bits = bitmap.MutableBits();
    if (image.format() != QImage::Format_RGB32 || image.constBits() != bits.data() ||
        image.width() != bitmap.Width() || image.height() != bitmap.Height())
        return false;
    // 0xFFRRGGBB words, stored little endian: the fourth byte of each is the alpha.
    for (std::size_t i = 3; i < bits.size(); i += 4) bits[i] = 0;
    return true;
}

}  // namespace pictureio
