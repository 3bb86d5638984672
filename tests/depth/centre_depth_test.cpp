#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "depth/centre_depth.h"
#include "platform/color.h"
#include "tests/depth/stage_rig.h"

namespace depth_tests {
namespace {

using platform::RGB;
using testing_support::Grey;
using testing_support::ReadGrid;
using testing_support::SurfaceColors;

std::vector<int> Range(int from, int to) {
    std::vector<int> values;
    for (int v = from; v <= to; ++v) values.push_back(v);
    return values;
}

struct CentreCase {
    std::string name;
    std::vector<int> values;
    std::vector<int> centred;
};

class CentreDepthTest : public testing::TestWithParam<CentreCase> {};

TEST_P(CentreDepthTest, CentresTheRangeOn127) {
    const CentreCase& c = GetParam();
    StageRig rig;
    LoadGreys(rig.surfaces.picDepth, {c.values});
    depth::CentreDepth(rig.context);
    EXPECT_EQ(RedValues(ReadGrid(rig.surfaces.picDepth)), std::vector<std::vector<int>>{c.centred});
}

std::vector<int> FullRangeCentred() {
    std::vector<int> centred = Range(-1, 254);
    centred[0] = 0;  // -1 clamps
    return centred;
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, CentreDepthTest,
    testing::Values(CentreCase{"ZeroAndOne", {0, 1, 0}, {127, 128, 127}},  // mid 0.5 -> 0
                    CentreCase{"OneAndTwo", {2, 1}, {127, 126}},           // mid 1.5 -> 2
                    CentreCase{"TenToTwenty", {10, 15, 20, 11}, {122, 127, 132, 123}},
                    CentreCase{"FortyToNinety", {40, 90, 65}, {102, 152, 127}},
                    CentreCase{"AllEqual", {200, 200, 200}, {127, 127, 127}},
                    CentreCase{"AllBlack", {0}, {127}},
                    CentreCase{"FullRange", Range(0, 255), FullRangeCentred()}),
    [](const testing::TestParamInfo<CentreCase>& info) { return info.param.name; });

// One histogram over all three channels: the colour pixel's green and blue set the
// low end, and the pixel is written grey from its red.
TEST(CentreDepthSingleTest, CountsEveryChannelAndMapsFromRed) {
    StageRig rig;
    LoadRows(rig.surfaces.picDepth, {{Grey(50), RGB(200, 10, 10), Grey(60)}});
    depth::CentreDepth(rig.context);
    // lo 10, hi 200, mid 105
    EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), (std::vector{Grey(72), Grey(222), Grey(82)}));
}

TEST(CentreDepthSingleTest, YieldsForEveryValueTheScansPassOver) {
    StageRig rig;
    LoadGreys(rig.surfaces.picDepth, {{10, 20, 15}, {12, 11, 19}});
    depth::CentreDepth(rig.context);
    // two polled passes of two rows; 0..9 passed going up, 255..21 going down
    EXPECT_EQ(rig.host.yields, 2 * 2 + 10 + 235);
    EXPECT_EQ(rig.host.band_widths.size(), 4u);
}

TEST(CentreDepthSingleTest, GainIsTheRedFactor) {
    StageRig rig;
    rig.globals.glbFactors = {2, 5, 7};
    LoadGreys(rig.surfaces.picDepth, {{10, 20, 15, 100}});  // mid 55
    depth::CentreDepth(rig.context);
    EXPECT_EQ(RedValues(ReadGrid(rig.surfaces.picDepth)),
              (std::vector<std::vector<int>>{{37, 57, 47, 217}}));
}

// Every red value under gains up to the 16-bit extremes, over odd widths: the centred
// value is round((red - mid) x gain) + 127 with the product in single precision,
// clamped to a byte.
TEST(CentreDepthSingleTest, EveryValueUnderExtremeGainsMatchesTheSinglePrecisionRule) {
    for (const std::int16_t gain :
         {-32768, -300, -130, -129, -128, -2, -1, 0, 1, 2, 3, 127, 128, 129, 130, 255, 32767}) {
        for (const int width : {5, 163, 256}) {
            StageRig rig;
            rig.globals.glbFactors = {gain, 1, 1};
            std::vector<int> values;
            for (int i = 0; i < width; ++i) values.push_back((i * 97 + 13) % 256);
            values[0] = 20;  // lowest and highest value, so the middle is 137
            values[1] = 254;
            for (int& v : values) v = std::clamp(v, 20, 254);
            LoadGreys(rig.surfaces.picDepth, {values});
            depth::CentreDepth(rig.context);
            const auto centred = RedValues(ReadGrid(rig.surfaces.picDepth));
            for (int i = 0; i < width; ++i) {
                const float product =
                    static_cast<float>(values[static_cast<std::size_t>(i)] - 137) *
                    static_cast<float>(gain);
                const double expected =
                    std::clamp(std::nearbyint(static_cast<double>(product)) + 127.0, 0.0, 255.0);
                ASSERT_EQ(centred[0][static_cast<std::size_t>(i)], static_cast<int>(expected))
                    << "gain " << gain << ", width " << width << ", value "
                    << values[static_cast<std::size_t>(i)];
            }
        }
    }
}

// Rows that are grey but for one cell: that cell, and every other, is written from
// its Red alone, wherever the odd cell lies in the row.
TEST(CentreDepthSingleTest, OneColourCellInAGreyRowIsMappedFromItsRed) {
    for (const int width : {1, 2, 3, 5, 16, 17, 33, 163}) {
        for (int odd = 0; odd < width; odd += std::max(1, width / 7)) {
            StageRig rig;
            Rows rows(1);
            for (int x = 0; x < width; ++x) rows[0].push_back(Grey(20 + (x * 13) % 200));
            rows[0][static_cast<std::size_t>(odd)] = RGB(90, 20, 219);  // lo 20, hi 219
            LoadRows(rig.surfaces.picDepth, rows);
            depth::CentreDepth(rig.context);  // mid 120 (119.5 rounds to even)
            const core::PixelGrid centred = ReadGrid(rig.surfaces.picDepth);
            for (int x = 0; x < width; ++x) {
                const int red = platform::RedOf(rows[0][static_cast<std::size_t>(x)]);
                const auto v = static_cast<std::uint8_t>(std::clamp(red - 120 + 127, 0, 255));
                ASSERT_EQ(centred(x, 0), (core::PixelTriple{v, v, v}))
                    << "width " << width << ", odd cell " << odd << ", cell " << x;
            }
        }
    }
}

// At 15 and 16 bits the centred values lie above the field ranges and are clamped.
TEST(CentreDepthSingleTest, ClampsToTheFieldsOnSixteenBitDisplays) {
    for (const int bits : {15, 16}) {
        StageRig rig(bits);
        LoadGreys(rig.surfaces.picDepth, {{0, 255, 128}});
        depth::CentreDepth(rig.context);
        EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), std::vector<platform::Rgb>(3, Grey(255)))
            << bits << " bits";
    }
}

TEST(CentreDepthSingleTest, CancelInEitherPassLeavesTheMap) {
    const std::vector<std::vector<int>> map = {{30, 40, 50}, {60, 70, 80}, {90, 90, 90}};
    for (const int bits : kDisplayDepths) {
        StageRig whole(bits);  // counts the yields of a run that is not cancelled
        LoadGreys(whole.surfaces.picDepth, map);
        depth::CentreDepth(whole.context);
        ASSERT_GT(whole.host.yields, 2 * 3);
        for (int cancel_at = 1; cancel_at < whole.host.yields; ++cancel_at) {
            StageRig rig(bits);
            LoadGreys(rig.surfaces.picDepth, map);
            const auto before = SurfaceColors(rig.surfaces.picDepth);
            rig.host.on_yield = [&rig, cancel_at](int n) {
                if (n == cancel_at) rig.globals.glbBusy = 0;
            };
            depth::CentreDepth(rig.context);
            ASSERT_EQ(SurfaceColors(rig.surfaces.picDepth), before)
                << bits << " bits, cancel at " << cancel_at;
        }
        StageRig late(bits);  // cancelled in the yield after the last row: too late
        LoadGreys(late.surfaces.picDepth, map);
        late.host.on_yield = [&late, &whole](int n) {
            if (n == whole.host.yields) late.globals.glbBusy = 0;
        };
        depth::CentreDepth(late.context);
        EXPECT_EQ(SurfaceColors(late.surfaces.picDepth), SurfaceColors(whole.surfaces.picDepth));
    }
    StageRig exact;
    LoadGreys(exact.surfaces.picDepth, map);
    depth::CentreDepth(exact.context);
    EXPECT_EQ(exact.host.yields, 2 * 3 + 30 + (255 - 90));
    EXPECT_EQ(RedValues(ReadGrid(exact.surfaces.picDepth)),
              (std::vector<std::vector<int>>{{97, 107, 117}, {127, 137, 147}, {157, 157, 157}}));
}

}  // namespace
}  // namespace depth_tests
