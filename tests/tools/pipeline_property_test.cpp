// The whole conversion on the sample picture, checked by what an anaglyph is: the
// red of one view and the green and blue of the other, each through its channel
// mask. The options are checked by what they must change.
#include <gtest/gtest.h>

#include "tests/tools/sample_views.h"

namespace tools_test {
namespace {

TEST(PipelinePropertyTest, RedFromThePictureGreenAndBlueFromTheSecondView) {
    const Views v = ConvertSample({});
    ASSERT_TRUE(SameSize(v));
    EXPECT_TRUE(EveryPixel(v.anaglyph, [&](int x, int y) {
        return JoinsViews(v.anaglyph.pixel(x, y), v.picture.pixel(x, y), v.second.pixel(x, y));
    }));
    // The second view is not the picture: the depth bands moved some of it.
    EXPECT_NE(v.second, v.picture);
}

TEST(PipelinePropertyTest, BlueRedLensSwapsTheViews) {
    const Views v = ConvertSample({"--lens", "blue-red"});
    ASSERT_TRUE(SameSize(v));
    EXPECT_TRUE(EveryPixel(v.anaglyph, [&](int x, int y) {
        return JoinsViews(v.anaglyph.pixel(x, y), v.second.pixel(x, y), v.picture.pixel(x, y));
    }));
    // The lens order changes only how the views are joined.
    EXPECT_EQ(v.second, ConvertSample({}).second);
}

TEST(PipelinePropertyTest, TheDepthMapIsGrey) {
    const Views v = ConvertSample({});
    EXPECT_TRUE(EveryPixel(v.depth, [&](int x, int y) {
        const QRgb d = v.depth.pixel(x, y);
        return qRed(d) == qGreen(d) && qGreen(d) == qBlue(d);
    }));
}

TEST(PipelinePropertyTest, AddedDepthTakesGreenAndBlueFromColumnsToTheLeft) {
    const Views v = ConvertSample({"--added-depth=6"});
    ASSERT_TRUE(SameSize(v));
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

bool IsGrey(QRgb pixel, int value) {
    return qRed(pixel) == value && qGreen(pixel) == value && qBlue(pixel) == value;
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

class DisplayFormatTest : public testing::TestWithParam<int> {};

TEST_P(DisplayFormatTest, ConvertsAtThePicturesSize) {
    const Views v = ConvertSample({"--display-bpp", std::to_string(GetParam())});
    EXPECT_TRUE(SameSize(v));
}

INSTANTIATE_TEST_SUITE_P(Depths, DisplayFormatTest, testing::Values(8, 15, 16, 24, 32));

TEST(PipelinePropertyTest, TwentyFourBitDisplayMakesTheSameAnaglyph) {
    const Views v = ConvertSample({"--display-bpp", "24"});
    EXPECT_EQ(v.anaglyph, ConvertSample({}).anaglyph);
}

}  // namespace
}  // namespace tools_test
