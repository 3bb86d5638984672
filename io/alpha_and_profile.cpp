#include "io/alpha_and_profile.h"

#include <QColorSpace>
#include <new>

namespace pictureio {

namespace {

QImage Checked(QImage image) {
    if (image.isNull()) throw std::bad_alloc();
    return image;
}

bool IsSrgbOrUnknown(const QColorSpace& space) {
    return !space.isValid() || space == QColorSpace(QColorSpace::SRgb);
}

// Qt converts colour spaces of true-colour images; palettes, greys and bit maps go
// to 32 bits first, which keeps every colour they have.
QImage ToSrgb(QImage image) {
    if (IsSrgbOrUnknown(image.colorSpace())) return image;
    if (image.depth() < 32)
        image = Checked(image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                      : QImage::Format_RGB32));
    image.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
    return Checked(std::move(image));
}

// a x colour + (1 - a) x background, rounded, per channel.
int Over(int colour, int alpha, int background) {
    return (colour * alpha + background * (255 - alpha) + 127) / 255;
}

QImage OverBackground(QImage image, std::uint32_t background) {
    if (!image.hasAlphaChannel()) return image;
    image = Checked(image.convertToFormat(QImage::Format_ARGB32));
    const int red = static_cast<int>(background >> 16 & 0xFF);
    const int green = static_cast<int>(background >> 8 & 0xFF);
    const int blue = static_cast<int>(background & 0xFF);
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = row[x];
            const int alpha = qAlpha(pixel);
            if (alpha == 255) continue;
            row[x] = qRgb(Over(qRed(pixel), alpha, red), Over(qGreen(pixel), alpha, green),
                          Over(qBlue(pixel), alpha, blue));
        }
    }
    // Every pixel is opaque now: the same bytes read as an image without alpha.
    image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

}  // namespace

QImage OpaqueSrgb(QImage image, std::uint32_t background) {
    image = ToSrgb(std::move(image));
    return OverBackground(std::move(image), background);
}

}  // namespace pictureio
