// The scaled strength through the converter: depth maps read from files of every
// kind, both eyes' views written, and the refusals.
#include <gtest/gtest.h>

#include <QImage>
#include <array>

#include "tests/tools/convert_run.h"

namespace tools_test {
namespace {

constexpr int kWidth = 80;
constexpr int kHeight = 20;

// A textured picture with a red square in the middle.
std::string WritePicture(const TempFolder& folder) {
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const bool square = x >= 30 && x < 50 && y >= 5 && y < 15;
            picture.setPixel(x, y, square ? qRgb(255, 0, 0) : qRgb(0, (x * 37) % 256, 120));
        }
    const std::string path = folder.Path("picture.png");
    picture.save(QString::fromStdString(path));
    return path;
}

// The depth map a run wrote, given a depth map to read.
QImage DepthAfter(const TempFolder& folder, const QImage& map,
                  std::vector<std::string> extra = {}) {
    const std::string picture = WritePicture(folder);
    const std::string map_path = folder.Path("map.png");
    EXPECT_TRUE(map.save(QString::fromStdString(map_path)));
    std::vector<std::string> arguments = {"--depth-from", map_path,
                                          "--depth-map",  folder.Path("out-depth.png"),
                                          picture,        folder.Path("out.png")};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    const ConvertRun run = RunConvert(arguments);
    EXPECT_EQ(run.status, 0) << run.err;
    return ReadRgb(folder.Path("out-depth.png"));
}

// A map of the picture's size whose columns are colour(x).
QImage Columns(QImage::Format format, QRgb (*colour)(int x)) {
    QImage map(kWidth, kHeight, format);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) map.setPixel(x, y, colour(x));
    return map;
}

QRgb GreyRamp(int x) {
    return qRgb(x * 3, x * 3, x * 3);
}

struct MapCase {
    const char* name;
    QImage (*map)();
    std::vector<std::string> options;
    int (*level)(int x);
};

// 16 bits a level are rounded to 8: a level is 257 steps, so 128.5 lies at 33024.5.
// Colour is turned grey by luminance, 0.299 R + 0.587 G + 0.114 B: pure red 76,
// green 150, blue 29.
const MapCase kMaps[] = {
    {"GreyOfThePicturesSize",
     [] { return Columns(QImage::Format_Grayscale8, GreyRamp); },
     {},
     [](int x) { return x * 3; }},
    {"InvertedHasBlackNear",
     [] { return Columns(QImage::Format_Grayscale8, GreyRamp); },
     {"--depth-from-invert"},
     [](int x) { return 255 - x * 3; }},
    {"SixteenBitIsRounded",
     [] {
         QImage map(kWidth, kHeight, QImage::Format_Grayscale16);
         for (int y = 0; y < kHeight; ++y) {
             auto* row = reinterpret_cast<quint16*>(map.scanLine(y));
             for (int x = 0; x < kWidth; ++x) row[x] = x < 40 ? 33024 : 33025;
         }
         return map;
     },
     {},
     [](int x) { return x < 40 ? 128 : 129; }},
    {"ColourIsTurnedGreyByLuminance",
     [] {
         return Columns(QImage::Format_RGB32, [](int x) {
             const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
             return colours[x % 3];
         });
     },
     {},
     [](int x) {
         return std::array{76, 150, 29}[static_cast<std::size_t>(x % 3)];
     }},
};

class DepthMapKindTest : public testing::TestWithParam<MapCase> {};

// Every pixel of the written depth map is grey at the level expected in its column.
TEST_P(DepthMapKindTest, GivesTheExpectedLevels) {
    const MapCase& c = GetParam();
    TempFolder folder;
    const QImage depth = DepthAfter(folder, c.map(), c.options);
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            wrong += qGreen(depth.pixel(x, y)) != c.level(x) ||
                     qRed(depth.pixel(x, y)) != qGreen(depth.pixel(x, y));
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, DepthMapKindTest, testing::ValuesIn(kMaps),
                         [](const auto& info) { return std::string(info.param.name); });

// A map of half the size, near on the right half: resized smoothly, it keeps its two
// halves and passes between them over a few columns, not in one hard step either.
TEST(DepthFromTest, MapOfAnotherSizeIsResizedSmoothly) {
    TempFolder folder;
    QImage map(kWidth / 2, kHeight / 2, QImage::Format_Grayscale8);
    for (int y = 0; y < kHeight / 2; ++y)
        for (int x = 0; x < kWidth / 2; ++x)
            map.setPixel(x, y, x < 10 ? qRgb(40, 40, 40) : qRgb(200, 200, 200));
    const QImage depth = DepthAfter(folder, map);
    ASSERT_EQ(depth.size(), QSize(kWidth, kHeight));
    for (int y = 0; y < kHeight; ++y) {
        EXPECT_EQ(qGreen(depth.pixel(5, y)), 40);
        EXPECT_EQ(qGreen(depth.pixel(60, y)), 200);
        const int middle = qGreen(depth.pixel(19, y)) + qGreen(depth.pixel(20, y));
        EXPECT_GT(middle, 2 * 40);
        EXPECT_LT(middle, 2 * 200);
    }
}

// The square is near, the background far, the screen at the background: the square
// comes out of the screen by 5 % of 80 pixels, 4 pixels, half to each side.
TEST(ViewsTest, ScaledViewsMoveTheSquareApart) {
    TempFolder folder;
    const std::string picture = WritePicture(folder);
    QImage map(kWidth, kHeight, QImage::Format_Grayscale8);
    map.fill(0);
    for (int y = 5; y < 15; ++y)
        for (int x = 30; x < 50; ++x) map.setPixel(x, y, qRgb(255, 255, 255));
    map.save(QString::fromStdString(folder.Path("map.png")));
    const ConvertRun run = RunConvert(
        {"--parallax", "5", "--screen-plane", "0", "--layout", "side-by-side", "--depth-from",
         folder.Path("map.png"), picture, folder.Path("pair.png"), "--left-view",
         folder.Path("left.png"), "--right-view", folder.Path("right.png")});
    ASSERT_EQ(run.status, 0) << run.err;
    const QImage left = ReadRgb(folder.Path("left.png"));
    const QImage right = ReadRgb(folder.Path("right.png"));
    // The side-by-side pair is made of those very views.
    const QImage pair = ReadRgb(folder.Path("pair.png"));
    EXPECT_EQ(pair.copy(0, 0, kWidth, kHeight), left);
    EXPECT_EQ(pair.copy(kWidth, 0, kWidth, kHeight), right);
    const auto first_red = [](const QImage& view) {
        for (int x = 0; x < view.width(); ++x)
            if (qRed(view.pixel(x, 10)) > 128) return x;
        return -1;
    };
    EXPECT_EQ(first_red(left), 32);
    EXPECT_EQ(first_red(right), 28);
}

}  // namespace
}  // namespace tools_test
