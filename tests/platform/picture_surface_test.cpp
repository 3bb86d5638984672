#include "platform/picture_surface.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/support/pictures.h"

namespace {

using platform::Bitmap;
using platform::Display;
using platform::PictureSurface;
using platform::RGB;
using testing_support::LoadSurface;

// The warp reads colours and draws them back; every pixel value of a format must come
// back as a pixel of the same colour (24 and 32 bits hold every colour as it is).
TEST(Display, EveryPixelValueSurvivesAColourRoundTrip) {
    for (const auto& [depth, count] : {std::pair{8, 0x100u}, {15, 0x8000u}, {16, 0x10000u}}) {
        const Display display(depth);
        for (std::uint32_t pixel = 0; pixel < count; ++pixel) {
            const auto color = display.PixelToColor(pixel);
            ASSERT_EQ(display.PixelToColor(display.ColorToPixel(color)), color)
                << depth << " " << pixel;
        }
    }
    EXPECT_THROW(Display(12), std::invalid_argument);
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

TEST(PictureSurface, SizesItselfToAPictureAndMeasuresInTwips) {
    Display display(32);
    PictureSurface surface(display);
    LoadSurface(surface, 7, 3, [](int, int) { return 0; });
    EXPECT_EQ(surface.ScaleWidth(), 7);
    EXPECT_EQ(surface.Width(), 105);
    EXPECT_EQ(surface.Height(), 45);
    EXPECT_TRUE(surface.SetWidth(150));
    EXPECT_EQ(surface.ScaleWidth(), 10);
    EXPECT_FALSE(surface.SetWidth(32768 * 15));
    EXPECT_EQ(surface.ScaleWidth(), 10);
}

// Copy on write: the picture shares the image's bytes, and drawing does not reach it.
TEST(PictureSurface, TheImageBecomesThePictureWithoutCopyingAndDrawingDoesNotReachIt) {
    Display display(24);
    PictureSurface surface(display);
    LoadSurface(surface, 5, 5, [](int, int) { return RGB(1, 2, 3); });
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
    LoadSurface(surface, 2, 2, [](int, int) { return RGB(5, 5, 5); });
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
        {10.0f, 10.0f, 1, 0},    // no length
        {10.0f, 7.0f, 8, 10},    // upward: rows 10, 9, 8
        {10.0f, 10.6f, 10, 10},  // rounds to 11: row 10 only
        {10.0f, 7.5f, 9, 10},    // 7.5 rounds to the even 8
        {10.0f, 8.5f, 9, 10},    // 8.5 rounds to the even 8 as well
        {3.0f, -20.0f, 0, 3},    // clipped at the top
        {17.0f, 40.0f, 17, 19},  // downward, clipped at the bottom
    };
    Display display(32);
    for (const auto& c : cases) {
        PictureSurface surface(display);
        LoadSurface(surface, 3, 20, [](int, int) { return 0; });
        surface.SetForeColor(RGB(255, 255, 255));
        surface.Line(1, c.y1, c.y2);
        for (int y = 0; y < 20; ++y) {
            const bool painted = y >= c.first && y <= c.last;
            EXPECT_EQ(surface.Point(1, y), painted ? RGB(255, 255, 255) : 0)
                << c.y1 << "->" << c.y2 << " row " << y;
            EXPECT_EQ(surface.Point(0, y), 0);
        }
    }
}

// Cleared, a surface keeps its size and shows its background alone, in every format;
// two cleared surfaces (whose blanks are made on first use) stay apart.
TEST(PictureSurface, ClearedSurfacesShowTheirBackgroundAndStayApart) {
    for (const int bits : {8, 15, 16, 24, 32}) {
        const Display display(bits);
        PictureSurface first(display);
        PictureSurface second(display);
        LoadSurface(first, 9, 4, [](int x, int) { return RGB(x, 50, 90); });
        LoadSurface(second, 9, 4, [](int, int y) { return RGB(200, y, 3); });
        first.ClearPicture();
        second.ClearPicture();
        EXPECT_FALSE(second.HasPicture());
        EXPECT_EQ(second.ScaleWidth(), 9);
        const platform::Rgb back = display.PixelToColor(display.ColorToPixel(first.BackColor()));
        first.PSet(2, 1, RGB(255, 0, 0));
        EXPECT_EQ(testing_support::SurfaceColors(second), std::vector<platform::Rgb>(36, back))
            << bits << " bits";
        EXPECT_NE(first.Point(2, 1), back);
        EXPECT_EQ(first.Point(3, 1), back);
    }
}

}  // namespace
