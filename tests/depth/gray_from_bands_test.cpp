#include <gtest/gtest.h>

#include "platform/color.h"
#include "tests/depth/stage_rig.h"

namespace depth_tests {
namespace {

using platform::RGB;
using testing_support::Grey;
using testing_support::SurfaceColors;

constexpr int kBandsCue = 5;

TEST(GrayFromBandsTest, BandsTheMeanAtItsEdges) {
    // pixel, then its result; a mean of 255 matches no band: the pixel keeps its
    // colour, grey or not
    const Rows pairs = {{Grey(24), Grey(0)},
                        {RGB(25, 24, 26), Grey(25)},
                        {Grey(49), Grey(25)},
                        {Grey(100), Grey(100)},
                        {Grey(249), Grey(225)},
                        {Grey(250), Grey(250)},
                        {Grey(254), Grey(250)},
                        {RGB(255, 255, 253), Grey(250)},
                        {RGB(255, 255, 254), RGB(255, 255, 254)},
                        {Grey(255), Grey(255)}};
    std::vector<platform::Rgb> row;
    std::vector<platform::Rgb> expected;
    for (const auto& pair : pairs) {
        row.push_back(pair[0]);
        expected.push_back(pair[1]);
    }
    StageRig rig;
    LoadRows(rig.surfaces.picOriginal, {row});
    RunCue(rig, kBandsCue);
    EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), expected);
}

// Polls once per band, not per row: eleven times.
TEST(GrayFromBandsTest, EveryMeanLandsOnItsBandsLowerLevel) {
    StageRig rig;
    testing_support::LoadSurface(rig.surfaces.picOriginal, 16, 16,
                                 [](int x, int y) { return Grey(16 * y + x); });
    RunCue(rig, kBandsCue);
    const auto colors = SurfaceColors(rig.surfaces.picDepth);
    for (int mean = 0; mean < 255; ++mean) {
        const int level = mean < 250 ? mean / 25 * 25 : 250;
        EXPECT_EQ(colors[static_cast<std::size_t>(mean)], Grey(level)) << "mean " << mean;
    }
    EXPECT_EQ(rig.host.yields, 11);
    EXPECT_EQ(rig.host.band_widths.size(), 11u);
}

TEST(GrayFromBandsTest, CancelAfterAnyBandLeavesTheColourCopy) {
    const std::vector<platform::Rgb> row = {RGB(200, 10, 10), RGB(30, 40, 50), Grey(255)};
    for (int cancel_at = 1; cancel_at <= 10; ++cancel_at) {
        StageRig rig;
        LoadRows(rig.surfaces.picOriginal, {row});
        rig.CancelAtYield(cancel_at);
        RunCue(rig, kBandsCue);
        EXPECT_EQ(SurfaceColors(rig.surfaces.picDepth), row) << "cancelled at band " << cancel_at;
        EXPECT_EQ(rig.host.yields, cancel_at);
    }
}

}  // namespace
}  // namespace depth_tests
