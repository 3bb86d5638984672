// The whole conversion on the sample picture, checked by what an anaglyph is: the
// red of one view and the green and blue of the other, each through its channel
// mask. What each stage does is checked on the stage; here, that the options reach
// the conversion and that every display format converts.
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

// Checks `holds` at every pixel and reports the first pixel where it does not.
testing::AssertionResult EveryPixel(const QImage& image,
                                    const std::function<bool(int x, int y)>& holds) {
    if (image.isNull()) return testing::AssertionFailure() << "no picture";
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!holds(x, y)) return testing::AssertionFailure() << "not at " << x << ", " << y;
    return testing::AssertionSuccess();
}

// With blue-red lenses the views swap; the lens order changes only how they are joined.
TEST(PipelinePropertyTest, RedFromOneViewGreenAndBlueFromTheOther) {
    const Views v = ConvertSample({});
    EXPECT_TRUE(EveryPixel(v.anaglyph, [&](int x, int y) {
        return JoinsViews(v.anaglyph.pixel(x, y), v.picture.pixel(x, y), v.second.pixel(x, y));
    }));
    // The second view is not the picture: the depth bands moved some of it.
    EXPECT_NE(v.second, v.picture);
    EXPECT_TRUE(EveryPixel(v.depth, [&](int x, int y) {
        const QRgb d = v.depth.pixel(x, y);
        return qRed(d) == qGreen(d) && qGreen(d) == qBlue(d);
    }));
    const Views s = ConvertSample({"--lens", "blue-red"});
    EXPECT_TRUE(EveryPixel(s.anaglyph, [&](int x, int y) {
        return JoinsViews(s.anaglyph.pixel(x, y), s.second.pixel(x, y), s.picture.pixel(x, y));
    }));
    EXPECT_EQ(s.second, v.second);
}

TEST(PipelinePropertyTest, NumbersAtTheFarEndsOfWhatTheOptionsTakeConvert) {
    EXPECT_FALSE(ConvertSample({"--depth-cue", "-32768", "--cue-color=32767", "--warp=+1",
                                "--added-depth=-12", "--levels", "-32768,0,+5,32767,255"})
                     .anaglyph.isNull());
}

// The default display shows 32 bits a pixel; 24 show every colour as well.
TEST(PipelinePropertyTest, EveryDisplayFormatConverts) {
    const QImage full = ConvertSample({}).anaglyph;
    for (const int bits : {8, 15, 16, 24}) {
        const QImage anaglyph = ConvertSample({"--display-bpp", std::to_string(bits)}).anaglyph;
        EXPECT_FALSE(anaglyph.isNull()) << bits;
        EXPECT_TRUE(bits != 24 || anaglyph == full);
    }
}

}  // namespace
}  // namespace tools_test
