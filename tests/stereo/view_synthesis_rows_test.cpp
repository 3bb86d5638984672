// The second view against a plain three-pass reference: odd widths, noisy maps whose
// bands change from pixel to pixel, levels that make bands overlap, every display
// format, and a picture that changes size between the passes, so that each pass
// covers other columns and rows than the one before.
#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "stereo/view_synthesis.h"
#include "tests/stereo/stage_bench.h"

namespace {

using core::PixelGrid;
using stereo_testing::CellColor;
using stereo_testing::LoadViews;
using stereo_testing::SameGrid;
using stereo_testing::StageBench;
using testing_support::Grey;
using testing_support::LoadSurface;
using testing_support::MakePicture;
using testing_support::ReadGrid;

// Per pass, per row: the columns the pass covered, or -1 when it did not reach the row.
using Covered = std::array<std::vector<int>, 3>;

// Pass k (1..3) copies every source x in k + 1 .. width - 1 whose depth (its Blue
// byte) lies strictly inside band k + 1 to x - k, the passes in order, all from the
// picture. By default every pass covers the whole picture.
PixelGrid ThreePasses(const PixelGrid& picture, const PixelGrid& depth,
                      const TavsMod::Values& globals, Covered covered = {}) {
    const std::array<int, 6> bounds = {
        0, globals.Depth[0], globals.Depth[1], globals.Depth[2], globals.Depth[3], 255};
    PixelGrid result = picture;
    for (int k = 1; k <= 3; ++k) {
        auto& widths = covered[static_cast<std::size_t>(k - 1)];
        if (widths.empty())
            widths.assign(static_cast<std::size_t>(picture.Height()), picture.Width());
        for (int y = 0; y < static_cast<int>(widths.size()); ++y)
            for (int x = k + 1; x < widths[static_cast<std::size_t>(y)]; ++x) {
                const int d = depth(x, y).Blue;
                if (bounds[static_cast<std::size_t>(k + 1)] < d &&
                    d < bounds[static_cast<std::size_t>(k + 2)])
                    result(x - k, y) = picture(x, y);
            }
    }
    return result;
}

// Runs the stage on the loaded surfaces and compares it with the reference.
::testing::AssertionResult MatchesThreePasses(StageBench& bench) {
    const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);
    const PixelGrid depth = ReadGrid(bench.surfaces.picDepth);
    stereo::MakeSecondView(bench.context);
    return SameGrid(ReadGrid(bench.surfaces.picResult), ThreePasses(picture, depth, bench.globals));
}

// The band of a pixel is its Blue byte; a colour depth map is read by that alone.
TEST(MakeSecondViewRows, NoisyColourMapsOfOddWidthsMatchThreePasses) {
    const std::array<std::int16_t, 5> levels[] = {
        {50, 100, 150, 200, 255},  // default
        {10, 120, 180, 60, 255},   // first and last bands overlap
        {0, 200, 100, 150, 7},     // crossed
        {-5, -1, 128, 256, 300}};  // out of byte range
    std::mt19937 rng(5);
    for (const auto& depth_levels : levels) {
        for (const int width : {1, 2, 3, 4, 5, 6, 7, 17, 33, 163}) {
            StageBench bench;
            bench.globals.Depth = depth_levels;
            LoadSurface(bench.surfaces.picOriginal, width, 3, CellColor);
            LoadSurface(bench.surfaces.picResult, width, 3, [](int, int) { return Grey(9); });
            LoadSurface(bench.surfaces.picDepth, width, 3,
                        [&rng](int, int) { return static_cast<platform::Rgb>(rng() & 0xFFFFFF); });
            EXPECT_TRUE(MatchesThreePasses(bench))
                << "levels " << depth_levels[0] << ", width " << width;
        }
    }
}

// A grey map with one colour cell: that cell moves by its Blue, wherever it lies.
TEST(MakeSecondViewRows, OneColourCellInAGreyMapMovesByItsBlue) {
    for (const int width : {5, 16, 17, 33, 163}) {
        for (int odd = 0; odd < width; odd += std::max(1, width / 9)) {
            StageBench bench;
            LoadSurface(bench.surfaces.picOriginal, width, 1, CellColor);
            LoadSurface(bench.surfaces.picResult, width, 1, CellColor);
            LoadSurface(bench.surfaces.picDepth, width, 1, [odd](int x, int) {
                return x == odd ? platform::RGB(120, 170, 230) : Grey(40 + (x * 29) % 200);
            });
            ASSERT_TRUE(MatchesThreePasses(bench)) << "width " << width << ", odd cell " << odd;
        }
    }
}

// The depth stages leave raw field values on 15- and 16-bit displays, so the levels
// there are set in field units.
TEST(MakeSecondViewRows, EveryDisplayFormat) {
    for (const int bits : stereo_testing::kDisplayDepths) {
        StageBench bench(bits);
        if (bits == 15 || bits == 16) bench.globals.Depth = {6, 12, 18, 25, 31};
        LoadViews(bench, 11, 4, [](int x, int y) { return ((x * 3 + y) % 9) * 30; });
        const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);
        ASSERT_FALSE(ThreePasses(picture, ReadGrid(bench.surfaces.picDepth), bench.globals) ==
                     picture)
            << bits << " bits: the map should move pixels";
        EXPECT_TRUE(MatchesThreePasses(bench)) << bits << " bits";
    }
}

// The picture on picOriginal changes during the yields of the first two passes: each
// pass covers the columns and rows the picture has when it gets there, while the
// grids read at the start stay what they were.
TEST(MakeSecondViewRows, PictureChangingBetweenPassesChangesWhatEachPassCovers) {
    constexpr int kWidth = 20;
    constexpr int kHeight = 6;
    StageBench bench;
    std::mt19937 rng(11);
    LoadViews(bench, kWidth, kHeight, [&rng](int, int) {
        return 101 + static_cast<int>(rng() % 154);  // all three bands
    });
    const PixelGrid picture = ReadGrid(bench.surfaces.picOriginal);
    const PixelGrid depth = ReadGrid(bench.surfaces.picDepth);
    const platform::Picture narrow =
        MakePicture(bench.display, 12, kHeight, [](int, int) { return Grey(1); });
    const platform::Picture short_wide =
        MakePicture(bench.display, 16, 4, [](int, int) { return Grey(2); });
    bench.host.on_yield = [&](int n) {
        if (n == 2) bench.surfaces.picOriginal.SetPicture(narrow);      // pass 1, after row 1
        if (n == 8) bench.surfaces.picOriginal.SetPicture(short_wide);  // pass 2, after row 1
    };

    stereo::MakeSecondView(bench.context);

    // Pass 3 starts on a picture 4 rows high: rows 4 and 5 take the first two passes only.
    EXPECT_EQ(bench.host.yields, kHeight + kHeight + 4);
    const Covered covered = {std::vector<int>{20, 20, 12, 12, 12, 12},
                             std::vector<int>{12, 12, 16, 16, 16, 16},
                             std::vector<int>{16, 16, 16, 16, -1, -1}};
    EXPECT_TRUE(SameGrid(ReadGrid(bench.surfaces.picResult),
                         ThreePasses(picture, depth, bench.globals, covered)));
}

}  // namespace
