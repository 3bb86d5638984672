#include "depth/centre_depth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/color.h"
#include "tests/support/stage_rig.h"

namespace depth_tests {
namespace {

using platform::RGB;
using testing_support::Grey;
using testing_support::ReadGrid;
using testing_support::SurfaceColors;

TEST(CentreDepthTest, CentresTheRangeOn127) {
    const struct {
        std::vector<int> values;
        std::vector<int> centred;
    } cases[] = {
        {{0, 1, 0}, {127, 128, 127}},  // mid 0.5 -> 0
        {{2, 1}, {127, 126}},          // mid 1.5 -> 2
        {{40, 90, 65}, {102, 152, 127}},
        {{200, 200, 200}, {127, 127, 127}},
        {{0}, {127}},
    };
    for (const auto& c : cases) {
        StageRig rig;
        LoadGreys(rig.surfaces.picDepth, {c.values});
        DepthStages().centre(rig.context);
        EXPECT_EQ(Channel(ReadGrid(rig.surfaces.picDepth)), Values{c.centred}) << c.values[0];
    }
}

// Every red value under gains up to the 16-bit extremes, over odd widths: the centred
// value is round((red - mid) x gain) + 127 with the product in single precision,
// clamped to a byte. Only the red factor is the gain.
TEST(CentreDepthTest, EveryValueUnderExtremeGainsMatchesTheSinglePrecisionRule) {
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
            const auto centred = Channel(ReadGrid(rig.surfaces.picDepth))[0];
            for (std::size_t i = 0; i < values.size(); ++i) {
                const float product =
                    static_cast<float>(values[i] - 137) * static_cast<float>(gain);
                const double expected =
                    std::clamp(std::nearbyint(static_cast<double>(product)) + 127.0, 0.0, 255.0);
                ASSERT_EQ(centred[i], static_cast<int>(expected))
                    << "gain " << gain << ", width " << width << ", value " << values[i];
            }
        }
    }
}

// Rows that are grey but for one cell, whose green and blue set the range of the one
// histogram over all channels: that cell, and every other, is written from its Red
// alone, wherever the odd cell lies in the row.
TEST(CentreDepthTest, OneColourCellInAGreyRowIsMappedFromItsRed) {
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

// Two polled passes of three rows, and a yield for every value the scans for the
// lowest and highest value pass over (at 24 and 32 bits 0..29 going up, 255..91
// going down); a cancel in any yield but the one after the last row leaves the map.
// At 15 and 16 bits the centred values are clamped to the fields.
TEST(CentreDepthTest, CancelInEitherPassLeavesTheMap) {
    const Values map = {{30, 40, 50}, {60, 70, 80}, {90, 90, 90}};
    for (const int bits : kDisplayDepths) {
        StageRig whole(bits);
        LoadGreys(whole.surfaces.picDepth, map);
        depth::CentreDepth(whole.context);
        ASSERT_GT(whole.host.yields, 2 * 3);
        EXPECT_EQ(whole.host.band_widths.size(), 2u * 3u);
        if (bits >= 24) {
            EXPECT_EQ(whole.host.yields, 2 * 3 + 30 + (255 - 90));
        } else if (bits != 8) {  // centred field values lie above the fields' ranges
            EXPECT_EQ(SurfaceColors(whole.surfaces.picDepth), std::vector(9, Grey(255))) << bits;
        }
        for (int cancel_at = 1; cancel_at <= whole.host.yields; ++cancel_at) {
            StageRig rig(bits);
            LoadGreys(rig.surfaces.picDepth, map);
            const auto before = SurfaceColors(rig.surfaces.picDepth);
            rig.CancelAtYield(cancel_at);
            depth::CentreDepth(rig.context);
            const bool too_late = cancel_at == whole.host.yields;
            ASSERT_EQ(SurfaceColors(rig.surfaces.picDepth),
                      too_late ? SurfaceColors(whole.surfaces.picDepth) : before)
                << bits << " bits, cancel at " << cancel_at;
        }
    }
}

}  // namespace
}  // namespace depth_tests
