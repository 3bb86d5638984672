#include "stereo/anaglyph_composition.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "stereo/channel_masks.h"
#include "tests/stereo/stage_bench.h"

namespace {

using core::PixelGrid;
using core::PixelTriple;
using stereo::DimChannel;
using stereo_testing::CellColor;
using stereo_testing::ImageBytes;
using stereo_testing::LoadViews;
using stereo_testing::PictureIsImage;
using stereo_testing::SameGrid;
using stereo_testing::StageBench;
using stereo_testing::Triple;
using testing_support::Grey;
using testing_support::ReadGrid;

// Column 2 is (200, 100, 50); column 3, of depth 120, is (10, 220, 240) and lands on
// column 2 of the second view. Without "Added Depth" the caption is left alone.
TEST(MakeAnaglyph, LensDecidesWhichViewGivesRed) {
    const auto picture = [](int x, int y) {
        return x == 2   ? platform::RGB(200, 100, 50)
               : x == 3 ? platform::RGB(10, 220, 240)
                        : CellColor(x, y);
    };
    const struct {
        std::int16_t lens;
        PixelTriple expected;
    } cases[] = {{0, Triple(198, 218, 238)}, {1, Triple(10, 99, 50)}, {7, Triple(10, 99, 50)}};
    for (const int bits : {24, 32})
        for (const auto& c : cases) {
            StageBench bench(bits);
            bench.settings.Lens = c.lens;
            LoadViews(
                bench, 6, 2, [](int x, int) { return x == 3 ? 120 : 0; }, picture);
            stereo::MakeAnaglyph(bench.context);
            EXPECT_EQ(ReadGrid(bench.surfaces.picOriginal)(2, 0), c.expected)
                << bits << " bits, lens " << c.lens;
            EXPECT_TRUE(bench.host.window_captions.empty());
        }
}

// With "Added Depth" the cyan mask comes from the second view shifted right, which
// takes green and blue from two columns left (but in the edge columns).
TEST(MakeAnaglyph, WhatEachSurfaceHoldsAfterwards) {
    constexpr int kWidth = 9;
    constexpr int kHeight = 3;
    StageBench bench;
    bench.settings.DoShift = true;
    bench.globals.glbShift = 2;
    LoadViews(bench, kWidth, kHeight, [](int, int) { return 127; });
    // Leftovers of an older conversion at another size.
    for (platform::PictureSurface* s :
         {&bench.surfaces.PicRed, &bench.surfaces.PicBlue, &bench.surfaces.PicFinal})
        testing_support::LoadSurface(*s, 3, 4, [](int, int) { return Grey(200); });
    const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);
    const std::string caption = bench.host.window_caption;

    stereo::MakeAnaglyph(bench.context);

    PixelGrid second = picture;
    PixelGrid red = picture;
    PixelGrid blue = picture;
    PixelGrid anaglyph = picture;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {  // the view moves every cell one column
            if (x >= 1 && x <= kWidth - 2) second(x, y) = picture(x + 1, y);
            red(x, y) = Triple(DimChannel(picture(x, y).Red), 0, 0);
            const PixelTriple from = second(x >= 2 && x <= kWidth - 2 ? x - 2 : x, y);
            blue(x, y) = Triple(0, DimChannel(from.Green), DimChannel(from.Blue));
            anaglyph(x, y) = Triple(red(x, y).Red, blue(x, y).Green, blue(x, y).Blue);
        }
    core::Workspace& s = bench.surfaces;
    EXPECT_TRUE(SameGrid(ReadGrid(s.picResult), second));
    EXPECT_TRUE(SameGrid(ReadGrid(s.PicRed), red));
    EXPECT_TRUE(SameGrid(ReadGrid(s.PicBlue), blue));
    EXPECT_TRUE(SameGrid(ReadGrid(s.PicFinal), anaglyph));
    EXPECT_TRUE(SameGrid(ReadGrid(s.picOriginal), anaglyph));
    for (const platform::PictureSurface* surface :
         {&s.picOriginal, &s.picResult, &s.PicRed, &s.PicBlue, &s.PicFinal}) {
        EXPECT_EQ(surface->ScaleWidth(), kWidth);
        EXPECT_EQ(surface->ScaleHeight(), kHeight);
        EXPECT_TRUE(PictureIsImage(*surface));
    }
    EXPECT_EQ(bench.host.yields, 3 * kHeight + 2 * kHeight + kHeight);
    EXPECT_EQ(bench.host.band_widths.size(), static_cast<std::size_t>(5 * kHeight));
    EXPECT_EQ(bench.host.window_captions, (std::vector<std::string>{"Please Wait...", caption}));
    EXPECT_EQ(bench.host.window_caption, caption);
}

std::vector<std::uint8_t> OrOfImages(const platform::PictureSurface& a,
                                     const platform::PictureSurface& b) {
    std::vector<std::uint8_t> bytes = ImageBytes(a);
    const std::vector<std::uint8_t> other = ImageBytes(b);
    for (std::size_t i = 0; i < bytes.size() && i < other.size(); ++i) bytes[i] |= other[i];
    return bytes;
}

// Cancelling in yield n: the view (3 H polled rows) and the masks (H each) stop at
// their next row end, and a cancel in a stage's last yield is seen only by the next
// polling stage. A stopped mask leaves its surface without a picture, so PicFinal
// keeps its cleared image and picOriginal shows it. The shift does not poll: with
// "Added Depth" on it runs anyway and gives PicBlue a picture (its cleared image,
// shifted), so a cancel in the second mask still joins PicRed with that.
TEST(MakeAnaglyph, CancelAtEveryYield) {
    constexpr int kWidth = 6;
    constexpr int kHeight = 3;
    constexpr int kViewYields = 3 * kHeight;
    constexpr int kSecondMaskFrom = kViewYields + kHeight;  // first yield seen by mask 2
    constexpr int kMaskYields = 2 * kHeight;
    for (const bool shift : {false, true}) {
        StageBench reference;
        reference.settings.DoShift = shift;
        LoadViews(reference, kWidth, kHeight, [](int, int) { return 127; });
        stereo::MakeAnaglyph(reference.context);
        const PixelGrid full_second = ReadGrid(reference.surfaces.picResult);
        const PixelGrid full_anaglyph = ReadGrid(reference.surfaces.picOriginal);
        const int yields = reference.host.yields;
        ASSERT_EQ(yields, kViewYields + kMaskYields + (shift ? kHeight : 0));

        for (int n = 1; n <= yields; ++n) {
            SCOPED_TRACE(testing::Message() << "yield " << n << (shift ? ", shift" : ""));
            StageBench bench;
            bench.settings.DoShift = shift;
            LoadViews(bench, kWidth, kHeight, [](int, int) { return 127; });
            testing_support::LoadSurface(bench.surfaces.picResult, kWidth, kHeight,
                                         [](int, int) { return Grey(77); });
            const PixelGrid result_before = ReadGrid(bench.surfaces.picResult);
            bench.CancelAtYield(n);
            stereo::MakeAnaglyph(bench.context);
            core::Workspace& s = bench.surfaces;
            EXPECT_TRUE(
                SameGrid(ReadGrid(s.picResult), n < kViewYields ? result_before : full_second));
            EXPECT_EQ(s.PicRed.HasPicture(), n >= kSecondMaskFrom);
            EXPECT_EQ(s.PicBlue.HasPicture(), n >= kViewYields + kMaskYields || shift);
            if (n >= kViewYields + kMaskYields) {
                EXPECT_TRUE(SameGrid(ReadGrid(s.picOriginal), full_anaglyph));
            } else if (shift && n >= kSecondMaskFrom) {
                EXPECT_EQ(ImageBytes(s.picOriginal), OrOfImages(s.PicRed, s.PicBlue));
            } else {
                const platform::Rgb cleared =
                    bench.display.PixelToColor(bench.display.ColorToPixel(s.PicFinal.BackColor()));
                for (const platform::Rgb color : testing_support::SurfaceColors(s.picOriginal))
                    ASSERT_EQ(color, cleared);
                EXPECT_EQ(s.picOriginal.ScaleWidth(), kWidth);
            }
            EXPECT_EQ(ImageBytes(s.picOriginal), ImageBytes(s.PicFinal));
            EXPECT_TRUE(PictureIsImage(s.PicFinal));
            EXPECT_TRUE(PictureIsImage(s.picOriginal));
        }
    }
}

// Whatever the format, the join is the bitwise OR of the two masks' bytes.
TEST(MakeAnaglyph, EveryDisplayFormatJoinsTheMasks) {
    for (const int bits : stereo_testing::kDisplayDepths) {
        StageBench bench(bits);
        bench.settings.DoShift = true;
        bench.globals.glbShift = 1;
        LoadViews(bench, 7, 3, [](int x, int) { return x % 2 ? 127 : 0; });
        stereo::MakeAnaglyph(bench.context);
        const core::Workspace& s = bench.surfaces;
        EXPECT_EQ(ImageBytes(s.PicFinal), OrOfImages(s.PicRed, s.PicBlue)) << bits << " bits";
        EXPECT_EQ(ImageBytes(s.picOriginal), ImageBytes(s.PicFinal));
        EXPECT_TRUE(PictureIsImage(s.picOriginal)) << bits << " bits";
    }
}

}  // namespace
