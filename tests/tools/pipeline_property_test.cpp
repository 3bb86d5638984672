// The whole conversion on the sample picture, checked by what an anaglyph is: the
// red of one view and the green and blue of the other, each through its channel
// mask. The options are checked by what they must change.
#include <gtest/gtest.h>

#include <functional>

#include "tests/tools/convert_process.h"
#include "tests/tools/test_files.h"

namespace tools_test {
namespace {

// What one conversion of the sample wrote, next to the sample itself, all RGB32.
struct Views {
    QImage picture;
    QImage anaglyph;
    QImage second;
    QImage depth;
};

QImage ReadRgb(const std::string& path) {
    return ReadPicture(path).convertToFormat(QImage::Format_RGB32);
}

// Converts the sample with these options, the second view and the depth map too, and
// checks that the run succeeded and that every view has the picture's size.
Views ConvertSample(std::vector<std::string> options) {
    TempFolder folder;
    options.insert(options.end(),
                   {"--second-view", folder.Path("second.png"), "--depth-map",
                    folder.Path("depth.png"), ZARVIK_SAMPLE_PICTURE, folder.Path("anaglyph.bmp")});
    const ConvertRun run = RunConvert(options);
    EXPECT_EQ(run.status, 0) << run.err;
    const Views v{ReadRgb(ZARVIK_SAMPLE_PICTURE), ReadRgb(folder.Path("anaglyph.bmp")),
                  ReadRgb(folder.Path("second.png")), ReadRgb(folder.Path("depth.png"))};
    EXPECT_FALSE(v.picture.isNull());
    EXPECT_EQ(v.anaglyph.size(), v.picture.size());
    EXPECT_EQ(v.second.size(), v.picture.size());
    EXPECT_EQ(v.depth.size(), v.picture.size());
    return v;
}

// A kept channel of a mask: c x 0.99 with the gain held in single precision and the
// product rounded whole. The gain is a hair above 0.99, so a product that would
// end in exactly .5 (c = 50, 150, 250) goes up: 99 c / 100 with halves rounded up.
int Masked(int channel) {
    return (99 * channel + 50) / 100;
}

// The anaglyph's red comes from `red_view` and its green and blue from `cyan_view`,
// each through its mask.
bool JoinsViews(QRgb anaglyph, QRgb red_view, QRgb cyan_view) {
    return qRed(anaglyph) == Masked(qRed(red_view)) &&
           qGreen(anaglyph) == Masked(qGreen(cyan_view)) &&
           qBlue(anaglyph) == Masked(qBlue(cyan_view));
}

bool IsGrey(QRgb pixel, int value) {
    return qRed(pixel) == value && qGreen(pixel) == value && qBlue(pixel) == value;
}

// Checks `holds` at every pixel and reports the first pixel where it does not.
testing::AssertionResult EveryPixel(const QImage& image,
                                    const std::function<bool(int x, int y)>& holds) {
    if (image.isNull()) return testing::AssertionFailure() << "no picture";
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!holds(x, y)) return testing::AssertionFailure() << "not at " << x << ", " << y;
    return testing::AssertionSuccess();
}

TEST(PipelinePropertyTest, RedFromThePictureGreenAndBlueFromTheSecondView) {
    const Views v = ConvertSample({});
    EXPECT_TRUE(EveryPixel(v.anaglyph, [&](int x, int y) {
        return JoinsViews(v.anaglyph.pixel(x, y), v.picture.pixel(x, y), v.second.pixel(x, y));
    }));
    // The second view is not the picture: the depth bands moved some of it.
    EXPECT_NE(v.second, v.picture);
    EXPECT_TRUE(EveryPixel(v.depth, [&](int x, int y) {
        const QRgb d = v.depth.pixel(x, y);
        return IsGrey(d, qRed(d));
    }));
}

TEST(PipelinePropertyTest, BlueRedLensSwapsTheViews) {
    const Views v = ConvertSample({"--lens", "blue-red"});
    EXPECT_TRUE(EveryPixel(v.anaglyph, [&](int x, int y) {
        return JoinsViews(v.anaglyph.pixel(x, y), v.second.pixel(x, y), v.picture.pixel(x, y));
    }));
    // The lens order changes only how the views are joined.
    EXPECT_EQ(v.second, ConvertSample({}).second);
}

TEST(PipelinePropertyTest, AddedDepthTakesGreenAndBlueFromColumnsToTheLeft) {
    const Views v = ConvertSample({"--added-depth=6"});
    const int last = v.picture.width() - 1;
    EXPECT_TRUE(EveryPixel(v.anaglyph, [&](int x, int y) {
        // Columns 0 to 5 and the last column are never written by the shift.
        const int from = x >= 6 && x < last ? x - 6 : x;
        return JoinsViews(v.anaglyph.pixel(x, y), v.picture.pixel(x, y), v.second.pixel(from, y));
    }));
}

TEST(PipelinePropertyTest, LevelsThatLeaveNoBandMoveNothing) {
    const Views v = ConvertSample({"--levels", "0,255,255,255,255"});
    EXPECT_EQ(v.second, v.picture);
}

TEST(PipelinePropertyTest, UtiAndGreenGiveOneDepthMapAndRedAnother) {
    const QImage uti = ConvertSample({"--cue", "uti"}).depth;
    EXPECT_EQ(uti, ConvertSample({"--cue", "green"}).depth);
    EXPECT_NE(uti, ConvertSample({"--cue", "red"}).depth);
    // The raw cue numbers reach the same cue as the menu entry, after it.
    EXPECT_EQ(uti, ConvertSample({"--depth-cue", "2", "--cue-color", "1", "--cue", "red"}).depth);
}

TEST(PipelinePropertyTest, WhiteSideFrameIsAsWideAsTheAddedDepth) {
    const Views v = ConvertSample({"--frame", "sides", "--frame-color", "white"});
    const Views plain = ConvertSample({});
    const int w = v.picture.width();
    // Without --added-depth the frame still takes its width from glbShift, 6: six
    // columns on the left and five on the right.
    EXPECT_TRUE(EveryPixel(v.anaglyph, [&](int x, int y) {
        const QRgb a = v.anaglyph.pixel(x, y);
        if (x < 6 || x > w - 6) return IsGrey(a, 255);
        return a == plain.anaglyph.pixel(x, y);
    }));
}

TEST(PipelinePropertyTest, BlackFullFrameCoversAllFourSides) {
    const Views v = ConvertSample({"--frame", "full", "--added-depth=-3"});
    const int w = v.picture.width();
    const int h = v.picture.height();
    EXPECT_TRUE(EveryPixel(v.anaglyph, [&](int x, int y) {
        const bool framed = x < 3 || y < 3 || x > w - 3 || y > h - 3;
        return !framed || IsGrey(v.anaglyph.pixel(x, y), 0);
    }));
}

TEST(PipelinePropertyTest, NumbersAtTheFarEndsOfWhatTheOptionsTakeConvert) {
    EXPECT_FALSE(ConvertSample({"--depth-cue", "-32768", "--cue-color=32767", "--warp=+1",
                                "--added-depth=-12", "--levels", "-32768,0,+5,32767,255"})
                     .anaglyph.isNull());
}

class DisplayFormatTest : public testing::TestWithParam<int> {};

TEST_P(DisplayFormatTest, ConvertsAtThePicturesSize) {
    EXPECT_FALSE(ConvertSample({"--display-bpp", std::to_string(GetParam())}).anaglyph.isNull());
}

INSTANTIATE_TEST_SUITE_P(Depths, DisplayFormatTest, testing::Values(8, 15, 16, 24, 32));

TEST(PipelinePropertyTest, TwentyFourBitDisplayMakesTheSameAnaglyph) {
    EXPECT_EQ(ConvertSample({"--display-bpp", "24"}).anaglyph, ConvertSample({}).anaglyph);
}

}  // namespace
}  // namespace tools_test
