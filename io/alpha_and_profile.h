#pragma once
// What a picture file looks like, as the plain sRGB picture a conversion works on.
// A conversion knows nothing of colour profiles or transparency: a picture made in
// Adobe RGB read as if it were sRGB comes out several levels off everywhere, and a
// transparent pixel's hidden colour, which no viewer shows, would be converted as if
// it were the picture.
#include <QImage>
#include <cstdint>

namespace pictureio {

// The image in sRGB and opaque: a picture carrying a colour profile other than sRGB
// is converted to sRGB, then transparent and partly transparent pixels are laid over
// `background` (0xRRGGBB). An opaque picture without a profile, or with the sRGB
// one, comes back untouched. Throws std::bad_alloc when a copy cannot be made.
QImage OpaqueSrgb(QImage image, std::uint32_t background);

}  // namespace pictureio
