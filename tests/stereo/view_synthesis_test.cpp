// The second view: exact moves on small maps, and against a plain three-pass
// reference on odd widths, noisy maps whose bands change from pixel to pixel, levels
// that make bands overlap, every display format, and a picture that changes size
// between the passes, so that each pass covers other columns and rows.
#include "stereo/view_synthesis.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <utility>
#include <vector>

#include "tests/stereo/stereo_pictures.h"

namespace {

using core::PixelGrid;
using stereo_testing::CellColor;
using stereo_testing::Cells;
using stereo_testing::LoadViews;
using stereo_testing::StageRig;
using testing_support::Grey;
using testing_support::LoadSurface;
using testing_support::ReadGrid;

using Levels = std::array<std::int16_t, 5>;
constexpr Levels kDefault = {50, 100, 150, 200, 255};

// With the default levels a pixel of the band above 100, 150 or 200 moves 1, 2 or 3
// columns left; level 0 and 4 take no part, bounds stay, the higher band wins a shared
// destination, the band is decided at the source, and column 0 is never written.
TEST(MakeSecondView, SmallMapsMoveTheirColumns) {
    const struct {
        int width, height;
        Levels levels;
        int depth;                                // of every cell but
        std::vector<std::pair<int, int>> deeper;  // {column, depth}
        std::vector<std::pair<int, int>> moves;   // on every row: {to, from}
    } cases[] = {
        {13, 1, kDefault, 0, {{4, 101}, {8, 149}, {12, 151}}, {{3, 4}, {7, 8}, {10, 12}}},
        {13, 1, kDefault, 0, {{4, 199}, {8, 201}, {12, 254}}, {{2, 4}, {5, 8}, {9, 12}}},
        {13, 1, kDefault, 0, {{4, 60}, {6, 100}, {8, 150}, {10, 200}, {12, 255}}, {}},
        {16, 3, kDefault, 0, {{10, 120}, {12, 230}}, {{9, 12}}},
        {16, 3, kDefault, 0, {{9, 120}}, {{8, 9}}},  // nothing lands on 9 from 10
        {8, 2, kDefault, 0, {{1, 230}, {2, 120}, {3, 170}, {4, 230}}, {{1, 4}}},
        {7, 3, kDefault, 127, {}, {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}}},
        // levels out of order: the first and the last band overlap, a depth moves twice
        {12, 1, {140, 100, 150, 200, 210}, 0, {{5, 120}, {9, 230}}, {{4, 5}, {6, 9}}},
        {1, 1, kDefault, 230, {}, {}},
        {3, 1, kDefault, 230, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        StageRig rig(32);
        rig.globals.Depth = c.levels;
        LoadViews(rig, c.width, c.height, [&c](int x, int) {
            for (const auto& [column, depth] : c.deeper)
                if (column == x) return depth;
            return c.depth;
        });
        const PixelGrid picture = ReadGrid(rig.surfaces.picOriginal);
        stereo::MakeSecondView(rig.context);
        PixelGrid expected = picture;
        for (int y = 0; y < c.height; ++y)
            for (const auto& [to, from] : c.moves) expected(to, y) = picture(from, y);
        EXPECT_EQ(Cells(ReadGrid(rig.surfaces.picResult)), Cells(expected));
        EXPECT_TRUE(rig.surfaces.picResult.GetPicture()->bitmap.SharesBitsWith(
            rig.surfaces.picResult.Image()));
    }
}

// A depth map smaller than the picture moves only the cells it covers.
TEST(MakeSecondView, NarrowerDepthMapMovesOnlyWhereItReaches) {
    StageRig rig(32);
    LoadViews(rig, 10, 3, [](int, int) { return 0; });
    LoadSurface(rig.surfaces.picDepth, 5, 2, [](int, int) { return Grey(120); });
    const PixelGrid picture = ReadGrid(rig.surfaces.picOriginal);
    stereo::MakeSecondView(rig.context);
    PixelGrid expected = picture;
    for (int y = 0; y < 2; ++y)
        for (int x = 1; x <= 3; ++x) expected(x, y) = picture(x + 1, y);
    EXPECT_EQ(Cells(ReadGrid(rig.surfaces.picResult)), Cells(expected));
}

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
    for (std::size_t k = 1; k <= 3; ++k) {
        auto& widths = covered[k - 1];
        if (widths.empty())
            widths.assign(static_cast<std::size_t>(picture.Height()), picture.Width());
        for (int y = 0; y < static_cast<int>(widths.size()); ++y)
            for (int x = static_cast<int>(k) + 1; x < widths[static_cast<std::size_t>(y)]; ++x) {
                const int d = depth(x, y).Blue;
                if (bounds[k + 1] < d && d < bounds[k + 2])
                    result(x - static_cast<int>(k), y) = picture(x, y);
            }
    }
    return result;
}

// The band of a pixel is its Blue byte; a colour depth map is read by that alone. The
// depth stages leave raw field values on 15- and 16-bit displays, whose levels are
// set in field units. The map's rows: greys (read byte by byte), random colours, and
// greys with one colour cell last, in the vector tail, which moves by its Blue.
TEST(MakeSecondView, NoisyMapsOfOddWidthsMatchThreePassesOnEveryDisplay) {
    const Levels levels[] = {kDefault,
                             {10, 120, 180, 60, 255},  // first and last bands overlap
                             {0, 200, 100, 150, 7},    // crossed
                             {-5, -1, 128, 256, 300},  // out of byte range
                             {6, 12, 18, 25, 31}};     // field units
    std::mt19937 rng(5);
    for (const int bits : depth_tests::kDisplayDepths)
        for (const Levels& depth_levels : levels)
            for (const int width : {1, 2, 3, 4, 5, 33, 163}) {
                SCOPED_TRACE(testing::Message() << bits << " bits, levels from " << depth_levels[0]
                                                << ", width " << width);
                StageRig rig(bits);
                rig.globals.Depth = depth_levels;
                LoadViews(rig, width, 3, [](int, int) { return 0; });
                LoadSurface(rig.surfaces.picResult, width, 3, [](int, int) { return Grey(9); });
                LoadSurface(rig.surfaces.picDepth, width, 3, [&rng, width](int x, int y) {
                    if (y == 1 || (y == 2 && x == width - 1))
                        return static_cast<platform::Rgb>(rng() & 0xFFFFFF);
                    return Grey(static_cast<int>(rng() % 256));
                });
                const PixelGrid picture = ReadGrid(rig.surfaces.picOriginal);
                const PixelGrid depth = ReadGrid(rig.surfaces.picDepth);
                stereo::MakeSecondView(rig.context);
                ASSERT_EQ(Cells(ReadGrid(rig.surfaces.picResult)),
                          Cells(ThreePasses(picture, depth, rig.globals)));
            }
}

// The picture on picOriginal changes at the last yield of each of the first two
// passes: each pass covers the columns and rows the picture has when it starts, while
// the grids read at the start stay what they were. (Rows run in blocks on several
// threads, so a change in the middle of a pass shows from some later block on.)
TEST(MakeSecondView, PictureChangingBetweenPassesChangesWhatEachPassCovers) {
    StageRig rig(32);
    std::mt19937 rng(11);
    LoadViews(rig, 20, 6, [&rng](int, int) { return 101 + static_cast<int>(rng() % 154); });
    const PixelGrid picture = ReadGrid(rig.surfaces.picOriginal);
    const PixelGrid depth = ReadGrid(rig.surfaces.picDepth);
    const auto narrow = testing_support::MakePicture(rig.display, 12, 6, CellColor);
    const auto short_wide = testing_support::MakePicture(rig.display, 16, 4, CellColor);
    rig.progress.on_yield = [&](int n) {
        if (n == 6) rig.surfaces.picOriginal.SetPicture(narrow);       // pass 1, after row 5
        if (n == 12) rig.surfaces.picOriginal.SetPicture(short_wide);  // pass 2, after row 5
    };
    stereo::MakeSecondView(rig.context);
    // Pass 3 starts on a picture 4 rows high: rows 4 and 5 take the first two passes only.
    EXPECT_EQ(rig.progress.yields, 6 + 6 + 4);
    const Covered covered = {std::vector{20, 20, 20, 20, 20, 20},
                             std::vector{12, 12, 12, 12, 12, 12},
                             std::vector{16, 16, 16, 16, -1, -1}};
    EXPECT_EQ(Cells(ReadGrid(rig.surfaces.picResult)),
              Cells(ThreePasses(picture, depth, rig.globals, covered)));
}

}  // namespace
