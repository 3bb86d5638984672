// A bitmap whose header cannot be says which field is wrong, instead of Qt's
// "Unable to read image data".
#include "io/bmp_header.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QTemporaryFile>
#include <QtEndian>

#include "io/picture_io.h"

namespace {

// A 4 x 2, 24-bit bitmap as Qt writes it (a 40-byte information header).
QByteArray Bitmap() {
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

struct HeaderCase {
    const char* name;
    int at;  // the field's offset in the file
    int size;
    std::uint32_t value;
    const char* says;  // nullptr: possible
};

class BmpHeaderTest : public testing::TestWithParam<HeaderCase> {};

std::optional<std::string> FaultOf(const QByteArray& bytes) {
    return pictureio::ImpossibleBmpField(
        {reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())});
}

TEST_P(BmpHeaderTest, NamesTheImpossibleField) {
    const HeaderCase& c = GetParam();
    QByteArray bytes = Bitmap();
    if (c.size == 2) qToLittleEndian(std::uint16_t(c.value), bytes.data() + c.at);
    if (c.size == 4) qToLittleEndian(c.value, bytes.data() + c.at);
    const auto fault = FaultOf(bytes);
    if (!c.says) {
        EXPECT_EQ(fault, std::nullopt);
        return;
    }
    ASSERT_TRUE(fault);
    EXPECT_NE(fault->find(c.says), std::string::npos) << *fault;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, BmpHeaderTest,
    testing::Values(
        HeaderCase{"AsWritten", 0, 0, 0, nullptr},
        HeaderCase{"Signature", 0, 2, 0x5858, "does not start with \"BM\""},
        HeaderCase{"InfoSize", 14, 4, 33, "information header's size is 33"},
        HeaderCase{"ZeroWidth", 18, 4, 0, "the width is 0 pixels"},
        HeaderCase{"NegativeWidth", 18, 4, 0xFFFFFFFD, "the width is -3 pixels"},
        HeaderCase{"ZeroHeight", 22, 4, 0, "the height is 0"},
        HeaderCase{"TopDownHeight", 22, 4, 0xFFFFFFFE, nullptr},
        HeaderCase{"Planes", 26, 2, 3, "the plane count is 3"},
        HeaderCase{"Bits", 28, 2, 7, "the bits per pixel are 7"},
        HeaderCase{"Compression", 30, 4, 9, "the compression is 9"},
        HeaderCase{"RunLengthsOfTheWrongSize", 30, 4, 1, "8-bit run lengths (1), but the bits"},
        HeaderCase{"BitFieldsAt24Bits", 30, 4, 3, "bit fields, but the bits per pixel are 24"},
        HeaderCase{"OffsetInsideHeaders", 10, 4, 20, "inside the headers"},
        HeaderCase{"OffsetPastTheEnd", 10, 4, 100000, "past the end of the file"}),
    [](const testing::TestParamInfo<HeaderCase>& info) { return info.param.name; });

// The same words reach the loader's message, through the real reader.
TEST(BmpHeaderTest, TheLoaderSaysWhichField) {
    QByteArray bytes = Bitmap();
    qToLittleEndian(std::uint16_t(7), bytes.data() + 28);
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write(bytes);
    file.flush();
    const auto loaded = pictureio::LoadPictureFile(file.fileName(), platform::Display(32));
    ASSERT_FALSE(loaded.picture);
    EXPECT_EQ(loaded.error.description.toStdString(),
              "Invalid picture: the bits per pixel are 7; a bitmap has 1, 4, 8, 16, 24 or 32");
}

}  // namespace
