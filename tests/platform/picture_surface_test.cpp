#include "platform/picture_surface.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/support/pictures.h"

namespace {

using platform::Bitmap;
using platform::Display;
using platform::PictureSurface;
using platform::RGB;

constexpr int kDepths[] = {8, 15, 16, 24, 32};

TEST(Display, EveryPixelValueSurvivesAColourRoundTrip) {
    // The warp reads colours and draws them back; a pixel must come back as a pixel
    // of the same colour.
    for (int depth : kDepths) {
        Display display(depth);
        const std::uint32_t count = depth == 8 ? 256u : depth <= 16 ? 65536u : 0u;
        for (std::uint32_t pixel = 0; pixel < count; ++pixel) {
            if (depth == 15 && pixel > 0x7FFF) break;
            const auto color = display.PixelToColor(pixel);
            ASSERT_EQ(display.PixelToColor(display.ColorToPixel(color)), color) << depth << " " << pixel;
        }
    }
}

TEST(Display, HeaderReportsSixteenForBothSixteenBitLayouts) {
    struct Case {
        int depth, header, bytes;
    };
    for (auto c : {Case{8, 8, 1}, Case{15, 16, 2}, Case{16, 16, 2}, Case{24, 24, 3}, Case{32, 32, 4}}) {
        Display display(c.depth);
        EXPECT_EQ(display.HeaderBitsPixel(), c.header);
        EXPECT_EQ(display.BytesPerPixel(), c.bytes);
        EXPECT_EQ(display.GetDeviceCaps(platform::SIZEPALETTE), c.depth == 8 ? 256 : 0);
        EXPECT_EQ(display.GetDeviceCaps(platform::NUMRESERVED), c.depth == 8 ? 20 : 0);
    }
    EXPECT_THROW(Display(12), std::invalid_argument);
}

TEST(Display, WhiteHasBitFifteenOnlyInTheSixFiveFiveLayout) {
    EXPECT_EQ(Display(15).ColorToPixel(RGB(255, 255, 255)), 0x7FFFu);
    EXPECT_EQ(Display(16).ColorToPixel(RGB(255, 255, 255)), 0xFFFFu);
    EXPECT_EQ(Display(16).PixelToColor(0xFFFF), RGB(255, 255, 255));
}

TEST(Bitmap, RefusesSidesBeyondTheGridsSixteenBitRange) {
    EXPECT_NO_THROW(Bitmap(32767, 2, 32));
    EXPECT_THROW(Bitmap(32768, 2, 32), std::invalid_argument);
    EXPECT_THROW(Bitmap(2, 32768, 24), std::invalid_argument);
    EXPECT_THROW(Bitmap(-1, 2, 24), std::invalid_argument);
    // Row strides beyond 16 bits are computed in wider integers.
    EXPECT_EQ(Bitmap::StrideFor(32767, 32), 131068);
    EXPECT_EQ(Bitmap::StrideFor(5, 24), 16);
    EXPECT_EQ(Bitmap::StrideFor(3, 1), 2);
}

TEST(Bitmap, CopiesShareBytesUntilOneIsWritten) {
    Bitmap a(4, 4, 32);
    Bitmap b = a;
    EXPECT_TRUE(a.SharesBitsWith(b));
    b.MutableBits()[0] = 7;
    EXPECT_FALSE(a.SharesBitsWith(b));
    EXPECT_EQ(a.Bits()[0], 0);
}

TEST(PictureSurface, SizesItselfToAPictureAndMeasuresInTwips) {
    Display display(32);
    PictureSurface surface(display);
    testing_support::LoadSurface(surface, 7, 3, [](int, int) { return 0; });
    EXPECT_EQ(surface.ScaleWidth(), 7);
    EXPECT_EQ(surface.Width(), 105);
    EXPECT_EQ(surface.Height(), 45);
    EXPECT_TRUE(surface.SetWidth(150));
    EXPECT_EQ(surface.ScaleWidth(), 10);
    EXPECT_FALSE(surface.SetWidth(32768 * 15));
    EXPECT_EQ(surface.ScaleWidth(), 10);
}

TEST(PictureSurface, TheImageBecomesThePictureWithoutCopyingAndDrawingDoesNotReachIt) {
    Display display(24);
    PictureSurface surface(display);
    testing_support::LoadSurface(surface, 5, 5, [](int, int) { return RGB(1, 2, 3); });
    surface.AssignImageToPicture();
    EXPECT_TRUE(surface.Image().SharesBitsWith(surface.GetPicture()->bitmap));
    surface.PSet(0, 0, RGB(200, 0, 0));
    EXPECT_EQ(surface.Point(0, 0), RGB(200, 0, 0));
    PictureSurface other(display);
    other.SetPicture(*surface.GetPicture());
    EXPECT_EQ(other.Point(0, 0), RGB(1, 2, 3));
}

TEST(PictureSurface, PointOutsideIsNoColourAndPSetOutsideDoesNothing) {
    Display display(32);
    PictureSurface surface(display);
    testing_support::LoadSurface(surface, 2, 2, [](int, int) { return RGB(5, 5, 5); });
    EXPECT_EQ(surface.Point(-1, 0), platform::kNoColor);
    EXPECT_EQ(surface.Point(2, 0), platform::kNoColor);
    EXPECT_EQ(surface.Point(0, 2), platform::kNoColor);
    surface.PSet(2, 2, RGB(9, 9, 9));
    surface.PSet(-5, 0, RGB(9, 9, 9));
    EXPECT_EQ(testing_support::SurfaceColors(surface), std::vector<platform::Rgb>(4, RGB(5, 5, 5)));
}

TEST(PictureSurface, VerticalLinesCoverTheFirstRowAndStopShortOfTheLast) {
    struct Case {
        float y1, y2;
        int first, last;  // rows painted, inclusive; first > last for none
    };
    const Case cases[] = {
        {10.0f, 10.0f, 1, 0},       // no length
        {10.0f, 7.0f, 8, 10},       // upward: rows 10, 9, 8
        {10.0f, 10.6f, 10, 10},     // rounds to 11: row 10 only
        {10.0f, 7.5f, 9, 10},       // 7.5 rounds to the even 8
        {10.0f, 8.5f, 9, 10},       // 8.5 rounds to the even 8 as well
        {3.0f, -20.0f, 0, 3},       // clipped at the top
        {17.0f, 40.0f, 17, 19},     // downward, clipped at the bottom
    };
    Display display(32);
    for (const auto& c : cases) {
        PictureSurface surface(display);
        testing_support::LoadSurface(surface, 3, 20, [](int, int) { return 0; });
        surface.SetForeColor(RGB(255, 255, 255));
        surface.Line(1, c.y1, c.y2);
        for (int y = 0; y < 20; ++y) {
            const bool painted = y >= c.first && y <= c.last;
            EXPECT_EQ(surface.Point(1, y), painted ? RGB(255, 255, 255) : 0) << c.y1 << "->" << c.y2 << " row " << y;
            EXPECT_EQ(surface.Point(0, y), 0);
        }
    }
}

TEST(PictureSurface, ClearingThePictureLeavesABlankImageOfTheSameSize) {
    Display display(16);
    PictureSurface surface(display);
    testing_support::LoadSurface(surface, 4, 2, [](int, int) { return RGB(255, 0, 0); });
    surface.ClearPicture();
    EXPECT_FALSE(surface.HasPicture());
    EXPECT_EQ(surface.ScaleWidth(), 4);
    EXPECT_NE(surface.Point(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(surface.Point(0, 0), surface.Point(3, 1));
}

}  // namespace
