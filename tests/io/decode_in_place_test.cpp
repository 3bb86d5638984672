// Pictures the reader can decode straight into the conversion's bitmap, and pictures it
// cannot (other formats, a profile to apply, a turn to make, transparency): every one
// must load as the bytes the plain road gives, decode, convert, copy, on a display of
// any depth.
#include <gtest/gtest.h>

#include <QColorSpace>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <functional>
#include <string>

#include "io/alpha_and_profile.h"
#include "io/picture_io.h"

namespace {

struct FileCase {
    std::string name;
    const char* extension;
    int width;
    int height;
    std::function<void(QImage&, QImageWriter&)> dress;  // before the file is written
};

QImage Noisy(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(
                x, y,
                qRgb((x * 37 + y * 11) % 256, (x * x + y * 7) % 256, (x * 13 + y * y * 5) % 256));
    return image;
}

QString Written(const QTemporaryDir& folder, const FileCase& c) {
    const QString path = folder.filePath(QStringLiteral("picture.") + c.extension);
    QImage image = Noisy(c.width, c.height);
    QImageWriter writer(path);
    if (c.dress) c.dress(image, writer);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return path;
}

platform::Picture ThePlainRoad(const QString& path, const platform::Display& display) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return pictureio::PictureFromImage(pictureio::OpaqueSrgb(reader.read(), 0xFFFFFF), display);
}

class DecodeInPlaceTest : public testing::TestWithParam<FileCase> {};

TEST_P(DecodeInPlaceTest, LoadsTheBytesThePlainRoadGives) {
    QTemporaryDir folder;
    const QString path = Written(folder, GetParam());
    for (const int bits : {32, 24, 16, 8}) {
        const platform::Display display(bits);
        const auto loaded = pictureio::LoadPictureFile(path, display);
        ASSERT_TRUE(loaded.picture) << loaded.error.description.toStdString();
        const platform::Picture expected = ThePlainRoad(path, display);
        ASSERT_EQ(loaded.picture->bitmap.Width(), expected.bitmap.Width());
        ASSERT_EQ(loaded.picture->bitmap.Height(), expected.bitmap.Height());
        const auto a = loaded.picture->bitmap.Bits();
        const auto b = expected.bitmap.Bits();
        EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end())) << bits << " bits";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DecodeInPlaceTest,
    testing::Values(FileCase{"jpeg", "jpg", 64, 48, {}},
                    FileCase{"jpeg_one_pixel", "jpg", 1, 1, {}},
                    FileCase{"jpeg_odd_width", "jpg", 17, 5, {}},
                    FileCase{"jpeg_grey", "jpg", 17, 5,
                             [](QImage& image, QImageWriter&) {
                                 image = image.convertToFormat(QImage::Format_Grayscale8);
                             }},
                    FileCase{"jpeg_adobe_profile", "jpg", 17, 5,
                             [](QImage& image, QImageWriter&) {
                                 image.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
                             }},
                    FileCase{"jpeg_turned", "jpg", 17, 5,
                             [](QImage&, QImageWriter& writer) {
                                 writer.setTransformation(QImageIOHandler::TransformationRotate90);
                             }},
                    FileCase{"png", "png", 17, 5, {}}, FileCase{"bmp", "bmp", 17, 5, {}},
                    FileCase{"png_transparent", "png", 17, 5,
                             [](QImage& image, QImageWriter&) {
                                 image = image.convertToFormat(QImage::Format_ARGB32);
                                 image.setPixel(3, 2, qRgba(200, 10, 10, 60));
                             }}),
    [](const testing::TestParamInfo<FileCase>& info) { return info.param.name; });

}  // namespace
