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

struct DimCase {
    int in;
    int out;
};

class DimExamples : public ::testing::TestWithParam<DimCase> {};

TEST_P(DimExamples, KeptChannel) {
    EXPECT_EQ(stereo::DimChannel(static_cast<std::uint8_t>(GetParam().in)), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Examples, DimExamples,
                         ::testing::Values(DimCase{0, 0}, DimCase{50, 50}, DimCase{100, 99},
                                           DimCase{150, 149}, DimCase{200, 198}, DimCase{250, 248},
                                           DimCase{255, 252}, DimCase{1, 1}, DimCase{31, 31},
                                           DimCase{63, 62}));

// 99 c / 100 with halves rounded up, in integers: an independent statement of the rule.
int NinetyNinePercent(int c) {
    return (99 * c + 50) / 100;
}

TEST(MakeRedOnly, EveryChannelValueThroughASurface) {
    StageBench bench;
    const auto color = [](int x, int y) {
        return y == 0 ? platform::RGB(x, 255 - x, (x * 7) & 255) : platform::RGB(255 - x, x, x);
    };
    LoadSurface(bench.surfaces.picOriginal, 256, 2, color);
    LoadSurface(bench.surfaces.PicRed, 256, 2, [](int, int) { return Grey(40); });

    stereo::MakeRedOnly(bench.context, bench.surfaces.picOriginal, bench.surfaces.PicRed);

    const PixelGrid mask = ReadGrid(bench.surfaces.PicRed);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 256; ++x)
            ASSERT_EQ(mask(x, y), Triple(NinetyNinePercent(platform::RedOf(color(x, y))), 0, 0))
                << "(" << x << ", " << y << ")";
    EXPECT_TRUE(stereo_testing::PictureIsImage(bench.surfaces.PicRed));
}

TEST(MakeCyanOnly, EveryChannelValueThroughASurface) {
    StageBench bench;
    const auto color = [](int x, int) { return platform::RGB(x, x, 255 - x); };
    LoadSurface(bench.surfaces.picResult, 256, 1, color);
    LoadSurface(bench.surfaces.PicBlue, 256, 1, [](int, int) { return Grey(40); });

    stereo::MakeCyanOnly(bench.context, bench.surfaces.picResult, bench.surfaces.PicBlue);

    const PixelGrid mask = ReadGrid(bench.surfaces.PicBlue);
    for (int x = 0; x < 256; ++x)
        ASSERT_EQ(mask(x, 0), Triple(0, NinetyNinePercent(x), NinetyNinePercent(255 - x))) << x;
}

TEST(MakeRedOnly, LeavesTheSourceAlone) {
    StageBench bench;
    LoadSurface(bench.surfaces.picOriginal, 5, 3, CellColor);
    bench.surfaces.PicRed.Resize(5, 3);
    const PixelGrid source = ReadGrid(bench.surfaces.picOriginal);
    stereo::MakeRedOnly(bench.context, bench.surfaces.picOriginal, bench.surfaces.PicRed);
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picOriginal), source));
    EXPECT_EQ(ReadGrid(bench.surfaces.PicRed)(4, 2),
              Triple(NinetyNinePercent(platform::RedOf(CellColor(4, 2))), 0, 0));
}

// On 15- and 16-bit displays the masks work on the raw fields (a 6-bit green of 63
// becomes 62); on 8-bit displays the written colour is the nearest palette entry.
TEST(ChannelMasks, EveryDisplayFormat) {
    for (const int depth_bits : stereo_testing::kDisplayDepths) {
        StageBench bench(depth_bits);
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
                if (depth_bits == 8) {
                    for (PixelGrid* grid : {&red, &cyan}) {
                        const core::PixelTriple q = (*grid)(x, y);
                        const platform::Rgb shown = bench.display.PixelToColor(
                            bench.display.ColorToPixel(platform::RGB(q.Red, q.Green, q.Blue)));
                        (*grid)(x, y) = Triple(platform::RedOf(shown), platform::GreenOf(shown),
                                               platform::BlueOf(shown));
                    }
                }
            }
        EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.PicRed), red)) << depth_bits << " bits";
        EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.PicBlue), cyan)) << depth_bits << " bits";
    }
}

// The masks run over whole vectors of bytes with a tail: rows of every odd width, all
// channel values, against the rule cell by cell.
TEST(ChannelMasks, OddWidthsKeepTheRuleInEveryCell) {
    for (const int width : {1, 2, 3, 5, 15, 16, 17, 31, 32, 33, 64, 163}) {
        StageBench bench;
        const auto color = [width](int x, int y) {
            const int i = (y * width + x) * 3;
            return platform::RGB((i * 7) & 255, (i * 11 + 1) & 255, (i * 13 + 2) & 255);
        };
        LoadSurface(bench.surfaces.picOriginal, width, 3, color);
        bench.surfaces.PicRed.Resize(width, 3);
        bench.surfaces.PicBlue.Resize(width, 3);
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
    }
}

TEST(ChannelMasks, EveryByteDimsAsTheSinglePrecisionRuleSays) {
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(stereo::DimChannel(static_cast<std::uint8_t>(c)), NinetyNinePercent(c)) << c;
}

TEST(ChannelMasks, RawSixteenBitWhite) {
    StageBench bench(16);
    LoadSurface(bench.surfaces.picOriginal, 3, 1, [](int, int) { return Grey(255); });
    LoadSurface(bench.surfaces.PicBlue, 3, 1, [](int, int) { return Grey(0); });
    stereo::MakeCyanOnly(bench.context, bench.surfaces.picOriginal, bench.surfaces.PicBlue);
    EXPECT_EQ(ReadGrid(bench.surfaces.PicBlue)(1, 0), Triple(0, 62, 31));
}

TEST(ChannelMasks, PollOncePerRow) {
    StageBench bench;
    LoadSurface(bench.surfaces.picOriginal, 4, 6, CellColor);
    stereo::MakeRedOnly(bench.context, bench.surfaces.picOriginal, bench.surfaces.PicRed);
    EXPECT_EQ(bench.host.yields, 6);
    EXPECT_EQ(bench.host.band_widths.size(), 6u);
}

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

            if (red)
                stereo::MakeRedOnly(bench.context, bench.surfaces.picOriginal,
                                    bench.surfaces.PicRed);
            else
                stereo::MakeCyanOnly(bench.context, bench.surfaces.picOriginal,
                                     bench.surfaces.PicRed);

            if (n < kHeight) {
                EXPECT_EQ(stereo_testing::ImageBytes(bench.surfaces.PicRed), before)
                    << "yield " << n;
                EXPECT_FALSE(bench.surfaces.PicRed.HasPicture()) << "yield " << n;
                EXPECT_EQ(bench.host.yields, n);
            } else {  // cancelled after the last row: too late for this mask
                EXPECT_TRUE(bench.surfaces.PicRed.HasPicture());
            }
        }
    }
}

}  // namespace
