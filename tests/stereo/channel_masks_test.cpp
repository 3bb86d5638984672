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
// against the rule cell by cell, all channel values at width 256, in every display
// format. On 15- and 16-bit displays the masks work on the raw fields (a 6-bit green
// of 63 becomes 62); on 8-bit displays the written colour is the nearest palette
// entry. Whatever the masks held before is overwritten; the source stays.
TEST(ChannelMasks, OddWidthsKeepTheRuleInEveryCellOnEveryDisplay) {
    for (const int bits : stereo_testing::kDisplayDepths)
        for (const int width : {1, 2, 3, 5, 15, 16, 17, 31, 32, 33, 64, 163, 256}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, width " << width);
            StageBench bench(bits);
            LoadSurface(bench.surfaces.picOriginal, width, 3, [width](int x, int y) {
                const int i = (y * width + x) * 3;
                return platform::RGB((i * 7) & 255, (i * 11 + 1) & 255, (i * 13 + 2) & 255);
            });
            for (auto* mask : {&bench.surfaces.PicRed, &bench.surfaces.PicBlue})
                LoadSurface(*mask, width, 3, [](int, int) { return Grey(40); });
            const PixelGrid source = ReadGrid(bench.surfaces.picOriginal);
            stereo::MakeRedOnly(bench.context, bench.surfaces.picOriginal, bench.surfaces.PicRed);
            stereo::MakeCyanOnly(bench.context, bench.surfaces.picOriginal, bench.surfaces.PicBlue);
            const auto shown = [&bench, bits](int red, int green, int blue) {
                if (bits != 8) return Triple(red, green, blue);
                const platform::Rgb c = bench.display.PixelToColor(
                    bench.display.ColorToPixel(platform::RGB(red, green, blue)));
                return Triple(platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c));
            };
            const PixelGrid red = ReadGrid(bench.surfaces.PicRed);
            const PixelGrid cyan = ReadGrid(bench.surfaces.PicBlue);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < width; ++x) {
                    const core::PixelTriple p = source(x, y);
                    ASSERT_EQ(red(x, y), shown(NinetyNinePercent(p.Red), 0, 0)) << x << ", " << y;
                    ASSERT_EQ(cyan(x, y),
                              shown(0, NinetyNinePercent(p.Green), NinetyNinePercent(p.Blue)))
                        << x << ", " << y;
                }
            EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picOriginal), source));
            EXPECT_TRUE(stereo_testing::PictureIsImage(bench.surfaces.PicRed));
            EXPECT_TRUE(stereo_testing::PictureIsImage(bench.surfaces.PicBlue));
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
