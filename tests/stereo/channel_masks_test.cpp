#include "stereo/channel_masks.h"

#include <gtest/gtest.h>

#include "tests/stereo/stage_bench.h"

namespace {

using core::PixelGrid;
using stereo_testing::CellColor;
using stereo_testing::SameGrid;
using stereo_testing::StageBench;
using stereo_testing::Triple;
using testing_support::Grey;
using testing_support::LoadSurface;
using testing_support::ReadGrid;

// 99 c / 100 with halves rounded up, in integers: an independent statement of the rule.
int NinetyNinePercent(int c) {
    return (99 * c + 50) / 100;
}

TEST(ChannelMasks, EveryByteDimsToNinetyNinePercent) {
    const int examples[][2] = {{0, 0},    {1, 1},     {31, 31},   {50, 50},   {63, 62},
                               {100, 99}, {150, 149}, {200, 198}, {250, 248}, {255, 252}};
    for (const auto& example : examples) EXPECT_EQ(NinetyNinePercent(example[0]), example[1]);
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(stereo::DimChannel(static_cast<std::uint8_t>(c)), NinetyNinePercent(c)) << c;
}

// The masks run over whole vectors of bytes with a tail: rows of every odd width
// against the rule cell by cell, all channel values at width 256. Whatever the masks
// held before is overwritten; the source stays.
TEST(ChannelMasks, OddWidthsKeepTheRuleInEveryCell) {
    for (const int width : {1, 2, 3, 5, 15, 16, 17, 31, 32, 33, 64, 163, 256}) {
        StageBench bench;
        const auto color = [width](int x, int y) {
            const int i = (y * width + x) * 3;
            return platform::RGB((i * 7) & 255, (i * 11 + 1) & 255, (i * 13 + 2) & 255);
        };
        LoadSurface(bench.surfaces.picOriginal, width, 3, color);
        for (auto* mask : {&bench.surfaces.PicRed, &bench.surfaces.PicBlue})
            LoadSurface(*mask, width, 3, [](int, int) { return Grey(40); });
        const PixelGrid source = ReadGrid(bench.surfaces.picOriginal);
        stereo::MakeRedOnly(bench.context, bench.surfaces.picOriginal, bench.surfaces.PicRed);
        stereo::MakeCyanOnly(bench.context, bench.surfaces.picOriginal, bench.surfaces.PicBlue);
        const PixelGrid red = ReadGrid(bench.surfaces.PicRed);
        const PixelGrid cyan = ReadGrid(bench.surfaces.PicBlue);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x) {
                const platform::Rgb c = color(x, y);
                ASSERT_EQ(red(x, y), Triple(NinetyNinePercent(platform::RedOf(c)), 0, 0))
                    << "width " << width << ", (" << x << ", " << y << ")";
                ASSERT_EQ(cyan(x, y), Triple(0, NinetyNinePercent(platform::GreenOf(c)),
                                             NinetyNinePercent(platform::BlueOf(c))))
                    << "width " << width << ", (" << x << ", " << y << ")";
            }
        EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picOriginal), source));
        EXPECT_TRUE(stereo_testing::PictureIsImage(bench.surfaces.PicRed));
        EXPECT_TRUE(stereo_testing::PictureIsImage(bench.surfaces.PicBlue));
    }
}

// On 15- and 16-bit displays the masks work on the raw fields (a 6-bit green of 63
// becomes 62); on 8-bit displays the written colour is the nearest palette entry.
TEST(ChannelMasks, EveryDisplayFormat) {
    for (const int bits : stereo_testing::kDisplayDepths) {
        StageBench bench(bits);
        LoadSurface(bench.surfaces.picOriginal, 9, 3, CellColor);
        LoadSurface(bench.surfaces.PicRed, 9, 3, [](int, int) { return Grey(40); });
        LoadSurface(bench.surfaces.PicBlue, 9, 3, [](int, int) { return Grey(40); });
        const PixelGrid source = ReadGrid(bench.surfaces.picOriginal);

        stereo::MakeRedOnly(bench.context, bench.surfaces.picOriginal, bench.surfaces.PicRed);
        stereo::MakeCyanOnly(bench.context, bench.surfaces.picOriginal, bench.surfaces.PicBlue);

        PixelGrid red = source;
        PixelGrid cyan = source;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 9; ++x) {
                const core::PixelTriple p = source(x, y);
                red(x, y) = Triple(NinetyNinePercent(p.Red), 0, 0);
                cyan(x, y) = Triple(0, NinetyNinePercent(p.Green), NinetyNinePercent(p.Blue));
                if (bits != 8) continue;
                for (PixelGrid* grid : {&red, &cyan}) {
                    const core::PixelTriple q = (*grid)(x, y);
                    const platform::Rgb shown = bench.display.PixelToColor(
                        bench.display.ColorToPixel(platform::RGB(q.Red, q.Green, q.Blue)));
                    (*grid)(x, y) = Triple(platform::RedOf(shown), platform::GreenOf(shown),
                                           platform::BlueOf(shown));
                }
            }
        EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.PicRed), red)) << bits << " bits";
        EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.PicBlue), cyan)) << bits << " bits";
    }
}

// Each mask polls once a row; cancelled in any yield but the last it writes nothing.
TEST(ChannelMasks, CancelAtEveryRowWritesNothing) {
    constexpr int kHeight = 4;
    for (const bool red : {true, false}) {
        for (int n = 1; n <= kHeight; ++n) {
            StageBench bench;
            LoadSurface(bench.surfaces.picOriginal, 5, kHeight, CellColor);
            bench.surfaces.PicRed.Resize(5, kHeight);
            bench.surfaces.PicRed.ClearPicture();
            const auto before = stereo_testing::ImageBytes(bench.surfaces.PicRed);
            bench.CancelAtYield(n);
            auto* const mask = red ? stereo::MakeRedOnly : stereo::MakeCyanOnly;
            mask(bench.context, bench.surfaces.picOriginal, bench.surfaces.PicRed);
            EXPECT_EQ(bench.host.yields, n) << "yield " << n;  // the next row is still done
            EXPECT_EQ(bench.host.band_widths.size(),
                      static_cast<std::size_t>(std::min(n + 1, kHeight)));
            if (n < kHeight) {
                EXPECT_EQ(stereo_testing::ImageBytes(bench.surfaces.PicRed), before)
                    << "yield " << n;
                EXPECT_FALSE(bench.surfaces.PicRed.HasPicture()) << "yield " << n;
            } else {  // cancelled after the last row: too late for this mask
                EXPECT_TRUE(bench.surfaces.PicRed.HasPicture());
            }
        }
    }
}

}  // namespace
