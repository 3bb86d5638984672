// Pictures as a viewer shows them: transparency laid over the chosen background, a
// colour profile applied, and opaque sRGB pictures left exactly as they were.
#include "io/alpha_and_profile.h"

#include <gtest/gtest.h>

#include <QColorSpace>
#include <algorithm>
#include <cstdlib>

namespace {

// Red hidden under fully transparent pixels, a half-transparent blue, an opaque green.
QImage HiddenRed() {
    QImage image(3, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 0, 0, 0));
    image.setPixel(1, 0, qRgba(0, 0, 255, 128));
    image.setPixel(2, 0, qRgba(0, 255, 0, 255));
    return image;
}

struct BackgroundCase {
    const char* name;
    std::uint32_t background;
    QRgb transparent, half;
};

class BackgroundTest : public testing::TestWithParam<BackgroundCase> {};

// The hidden red never shows; half a blue over the background is the rounded mean.
TEST_P(BackgroundTest, TransparentPixelsShowTheBackground) {
    const BackgroundCase& c = GetParam();
    const QImage opaque = pictureio::OpaqueSrgb(HiddenRed(), c.background);
    EXPECT_FALSE(opaque.hasAlphaChannel());
    EXPECT_EQ(opaque.pixel(0, 0), c.transparent);
    EXPECT_EQ(opaque.pixel(1, 0), c.half);
    EXPECT_EQ(opaque.pixel(2, 0), qRgb(0, 255, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Backgrounds, BackgroundTest,
    testing::Values(BackgroundCase{"White", 0xFFFFFF, qRgb(255, 255, 255), qRgb(127, 127, 255)},
                    BackgroundCase{"Black", 0x000000, qRgb(0, 0, 0), qRgb(0, 0, 128)},
                    BackgroundCase{"Teal", 0x008080, qRgb(0, 128, 128), qRgb(0, 64, 192)}),
    [](const testing::TestParamInfo<BackgroundCase>& info) { return info.param.name; });

QImage Ramp() {
    QImage image(64, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, qRgb(x * 4, 255 - x * 4, (x * 4 + y * 60) % 256));
    return image;
}

int LargestDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

// An opaque picture without a profile, or with the sRGB one, is untouched: the
// classic conversion starts from the same bytes.
TEST(ProfileTest, AnSrgbOrUnmarkedPictureIsUntouched) {
    QImage marked = Ramp();
    marked.setColorSpace(QColorSpace(QColorSpace::SRgb));
    EXPECT_EQ(pictureio::OpaqueSrgb(Ramp(), 0xFFFFFF), Ramp());
    EXPECT_EQ(LargestDifference(pictureio::OpaqueSrgb(marked, 0xFFFFFF), Ramp()), 0);
}

// A picture with a profile, in true colour or with a palette, is read as the sRGB
// colours Qt's own conversion gives, several levels away from the raw values. (That a
// file's profile reaches this is the loader's, tested with the pictures it decodes.)
TEST(ProfileTest, AnAdobeRgbPictureIsReadInSrgb) {
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_Indexed8}) {
        QImage adobe = Ramp().convertToFormat(format);
        adobe.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
        const QImage raw = adobe.convertToFormat(QImage::Format_RGB32);
        const QImage expected = raw.convertedToColorSpace(QColorSpace(QColorSpace::SRgb));
        const QImage read = pictureio::OpaqueSrgb(adobe, 0xFFFFFF);
        EXPECT_EQ(LargestDifference(read, expected), 0) << "format " << format;
        EXPECT_GE(LargestDifference(read, raw), 10) << "format " << format;
    }
}

}  // namespace
