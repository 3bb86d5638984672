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
using stereo_testing::SameGrid;
using stereo_testing::StageBench;
using stereo_testing::Triple;
using testing_support::Grey;
using testing_support::LoadSurface;
using testing_support::ReadGrid;

// As a reload leaves the surfaces: the picture in picOriginal and picResult, and a
// depth map of the given flat value with exceptions.
void LoadViews(StageBench& bench, int width, int height, const testing_support::ColorAt& picture,
               const std::function<int(int, int)>& depth) {
    LoadSurface(bench.surfaces.picOriginal, width, height, picture);
    LoadSurface(bench.surfaces.picResult, width, height, picture);
    LoadSurface(bench.surfaces.picDepth, width, height,
                [&](int x, int y) { return Grey(depth(x, y)); });
}

PixelTriple Dimmed(PixelTriple p) {
    return {DimChannel(p.Blue), DimChannel(p.Green), DimChannel(p.Red)};
}

// Column 2 is (200, 100, 50); column 3, of depth 120, is (10, 220, 240) and lands on
// column 2 of the second view.
platform::Rgb LensPicture(int x, int y) {
    if (x == 2) return platform::RGB(200, 100, 50);
    if (x == 3) return platform::RGB(10, 220, 240);
    return CellColor(x, y);
}

struct LensCase {
    std::int16_t lens;
    PixelTriple expected;
};

class LensOrder : public ::testing::TestWithParam<std::tuple<int, LensCase>> {};

TEST_P(LensOrder, DecidesWhichViewGivesRed) {
    const auto [depth_bits, c] = GetParam();
    StageBench bench(depth_bits);
    bench.settings.Lens = c.lens;
    LoadViews(bench, 6, 2, LensPicture, [](int x, int) { return x == 3 ? 120 : 0; });

    stereo::MakeAnaglyph(bench.context);

    EXPECT_EQ(ReadGrid(bench.surfaces.picOriginal)(2, 0), c.expected) << "lens " << c.lens;
}

INSTANTIATE_TEST_SUITE_P(Lenses, LensOrder,
                         ::testing::Combine(::testing::Values(24, 32),
                                            ::testing::Values(LensCase{0, Triple(198, 218, 238)},
                                                              LensCase{1, Triple(10, 99, 50)},
                                                              LensCase{7, Triple(10, 99, 50)})));

TEST(MakeAnaglyph, WhitePictureBecomesNinetyNinePercentWhite) {
    for (const int depth_bits : {24, 32}) {
        StageBench bench(depth_bits);
        LoadViews(
            bench, 7, 3, [](int, int) { return Grey(255); }, [](int, int) { return 40; });
        stereo::MakeAnaglyph(bench.context);
        const PixelGrid anaglyph = ReadGrid(bench.surfaces.picOriginal);
        for (const PixelTriple& p : anaglyph.Pixels()) ASSERT_EQ(p, Triple(252, 252, 252));
    }
}

TEST(MakeAnaglyph, WhiteInRawFields) {
    for (const int depth_bits : {15, 16}) {
        StageBench bench(depth_bits);
        LoadViews(
            bench, 5, 2, [](int, int) { return Grey(255); }, [](int, int) { return 0; });
        stereo::MakeAnaglyph(bench.context);
        const PixelTriple white = depth_bits == 16 ? Triple(31, 62, 31) : Triple(31, 31, 31);
        const PixelGrid anaglyph = ReadGrid(bench.surfaces.picOriginal);
        for (const PixelTriple& p : anaglyph.Pixels()) ASSERT_EQ(p, white) << depth_bits << " bits";
    }
}

TEST(MakeAnaglyph, AddedDepthTakesGreenAndBlueFromSixColumnsLeft) {
    constexpr int kWidth = 20;
    StageBench bench;
    bench.settings.DoShift = true;
    bench.globals.glbShift = 6;
    LoadViews(bench, kWidth, 3, CellColor, [](int, int) { return 0; });
    const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);
    const std::string caption = bench.host.window_caption;

    stereo::MakeAnaglyph(bench.context);

    PixelGrid expected = picture;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int from = x >= 6 && x <= kWidth - 2 ? x - 6 : x;
            const PixelTriple cyan = Dimmed(picture(from, y));
            expected(x, y) = {cyan.Blue, cyan.Green, DimChannel(picture(x, y).Red)};
        }
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picOriginal), expected));
    EXPECT_EQ(bench.host.window_captions, (std::vector<std::string>{"Please Wait...", caption}));
    EXPECT_EQ(bench.host.window_caption, caption);
}

TEST(MakeAnaglyph, NoAddedDepthLeavesTheCaptionAlone) {
    StageBench bench;
    LoadViews(bench, 4, 2, CellColor, [](int, int) { return 0; });
    stereo::MakeAnaglyph(bench.context);
    EXPECT_TRUE(bench.host.window_captions.empty());
}

TEST(MakeAnaglyph, WhatEachSurfaceHoldsAfterwards) {
    constexpr int kWidth = 9;
    constexpr int kHeight = 3;
    StageBench bench;
    bench.settings.DoShift = true;
    bench.globals.glbShift = 2;
    LoadViews(bench, kWidth, kHeight, CellColor, [](int, int) { return 127; });
    // Leftovers of an older conversion at another size.
    for (platform::PictureSurface* s :
         {&bench.surfaces.PicRed, &bench.surfaces.PicBlue, &bench.surfaces.PicFinal})
        LoadSurface(*s, 3, 4, [](int, int) { return Grey(200); });
    const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);

    stereo::MakeAnaglyph(bench.context);

    PixelGrid second = picture;
    PixelGrid red = picture;
    PixelGrid blue = picture;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (x >= 1 && x <= kWidth - 2) second(x, y) = picture(x + 1, y);
            red(x, y) = Triple(DimChannel(picture(x, y).Red), 0, 0);
        }
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int from = x >= 2 && x <= kWidth - 2 ? x - 2 : x;
            const PixelTriple cyan = Dimmed(second(from, y));
            blue(x, y) = {cyan.Blue, cyan.Green, 0};
        }
    PixelGrid anaglyph = red;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            anaglyph(x, y).Green = blue(x, y).Green;
            anaglyph(x, y).Blue = blue(x, y).Blue;
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
        EXPECT_TRUE(stereo_testing::PictureIsImage(*surface));
    }
    EXPECT_EQ(bench.host.yields, 3 * kHeight + 2 * kHeight + kHeight);
    EXPECT_EQ(bench.host.band_widths.size(), static_cast<std::size_t>(5 * kHeight));
}

std::vector<std::uint8_t> OrOfImages(const platform::PictureSurface& a,
                                     const platform::PictureSurface& b) {
    std::vector<std::uint8_t> bytes = stereo_testing::ImageBytes(a);
    const std::vector<std::uint8_t> other = stereo_testing::ImageBytes(b);
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
        LoadViews(reference, kWidth, kHeight, CellColor, [](int, int) { return 127; });
        stereo::MakeAnaglyph(reference.context);
        const PixelGrid full_second = ReadGrid(reference.surfaces.picResult);
        const PixelGrid full_anaglyph = ReadGrid(reference.surfaces.picOriginal);
        const int yields = reference.host.yields;
        ASSERT_EQ(yields, kViewYields + kMaskYields + (shift ? kHeight : 0));

        for (int n = 1; n <= yields; ++n) {
            StageBench bench;
            bench.settings.DoShift = shift;
            LoadViews(bench, kWidth, kHeight, CellColor, [](int, int) { return 127; });
            LoadSurface(bench.surfaces.picResult, kWidth, kHeight,
                        [](int, int) { return Grey(77); });
            const PixelGrid result_before = ReadGrid(bench.surfaces.picResult);
            bench.CancelAtYield(n);

            stereo::MakeAnaglyph(bench.context);

            const std::string where = "yield " + std::to_string(n) + (shift ? ", shift" : "");
            core::Workspace& s = bench.surfaces;
            EXPECT_TRUE(
                SameGrid(ReadGrid(s.picResult), n < kViewYields ? result_before : full_second))
                << where;
            EXPECT_EQ(s.PicRed.HasPicture(), n >= kSecondMaskFrom) << where;
            EXPECT_EQ(s.PicBlue.HasPicture(), n >= kViewYields + kMaskYields || shift) << where;
            if (n >= kViewYields + kMaskYields) {
                EXPECT_TRUE(SameGrid(ReadGrid(s.picOriginal), full_anaglyph)) << where;
            } else if (shift && n >= kSecondMaskFrom) {
                EXPECT_EQ(stereo_testing::ImageBytes(s.picOriginal),
                          OrOfImages(s.PicRed, s.PicBlue))
                    << where;
            } else {
                const platform::Rgb cleared =
                    bench.display.PixelToColor(bench.display.ColorToPixel(s.PicFinal.BackColor()));
                for (const platform::Rgb color : testing_support::SurfaceColors(s.picOriginal))
                    ASSERT_EQ(color, cleared) << where;
                EXPECT_EQ(s.picOriginal.ScaleWidth(), kWidth) << where;
            }
            EXPECT_EQ(stereo_testing::ImageBytes(s.picOriginal),
                      stereo_testing::ImageBytes(s.PicFinal))
                << where;
            EXPECT_TRUE(stereo_testing::PictureIsImage(s.PicFinal)) << where;
            EXPECT_TRUE(stereo_testing::PictureIsImage(s.picOriginal)) << where;
        }
    }
}

TEST(MakeAnaglyph, EveryDisplayFormatJoinsTheMasks) {
    for (const int depth_bits : stereo_testing::kDisplayDepths) {
        StageBench bench(depth_bits);
        bench.settings.DoShift = true;
        bench.globals.glbShift = 1;
        LoadViews(bench, 7, 3, CellColor, [](int x, int) { return x % 2 ? 127 : 0; });

        stereo::MakeAnaglyph(bench.context);

        // Whatever the format, the join is the bitwise OR of the two masks' images.
        const core::Workspace& s = bench.surfaces;
        const auto red = s.PicRed.Image().Bits();
        const auto blue = s.PicBlue.Image().Bits();
        const auto final_bits = s.PicFinal.Image().Bits();
        const std::size_t row_bytes = static_cast<std::size_t>(7 * bench.display.BytesPerPixel());
        const auto stride = static_cast<std::size_t>(s.PicFinal.Image().WidthBytes());
        for (std::size_t y = 0; y < 3; ++y)
            for (std::size_t i = 0; i < row_bytes; ++i)
                ASSERT_EQ(final_bits[y * stride + i], red[y * stride + i] | blue[y * stride + i])
                    << depth_bits << " bits, row " << y << ", byte " << i;
        EXPECT_EQ(stereo_testing::ImageBytes(s.picOriginal),
                  stereo_testing::ImageBytes(s.PicFinal));
        EXPECT_TRUE(stereo_testing::PictureIsImage(s.picOriginal)) << depth_bits << " bits";
    }
}

}  // namespace
