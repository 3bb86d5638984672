#pragma once
// Pictures for the stereo stage tests, on the depth tests' stage rig.
#include <functional>
#include <vector>

#include "tests/support/stage_rig.h"

namespace stereo_testing {

using depth_tests::StageRig;

// A different colour in every cell of pictures up to 256 wide, none black or white.
inline platform::Rgb CellColor(int x, int y) {
    return platform::RGB((x * 7 + 3) & 255, (y * 37 + 11) & 255, (x * 5 + y * 3 + 29) & 255);
}

// As a reload leaves the surfaces: the picture in picOriginal and picResult, and a
// grey depth map in picDepth.
inline void LoadViews(StageRig& rig, int width, int height,
                      const std::function<int(int x, int y)>& depth,
                      const testing_support::ColorAt& picture = CellColor) {
    testing_support::LoadSurface(rig.surfaces.picOriginal, width, height, picture);
    testing_support::LoadSurface(rig.surfaces.picResult, width, height, picture);
    testing_support::LoadSurface(rig.surfaces.picDepth, width, height,
                                 [&](int x, int y) { return testing_support::Grey(depth(x, y)); });
}

// A grid's cells as colours, row after row, so that a mismatch prints readably.
inline std::vector<platform::Rgb> Cells(const core::PixelGrid& grid) {
    std::vector<platform::Rgb> cells;
    for (const core::PixelTriple& p : grid.Pixels())
        cells.push_back(platform::RGB(p.Red, p.Green, p.Blue));
    return cells;
}

}  // namespace stereo_testing
