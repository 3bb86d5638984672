#pragma once
// The depth tests' stage rig with a run in progress whose band starts at 1 and grows
// by 2 a row, and what the stereo stage tests compare.
#include <algorithm>
#include <cstdint>
#include <functional>

#include <gtest/gtest.h>

#include "tests/support/stage_rig.h"

namespace stereo_testing {

using depth_tests::ImageBytes;
using depth_tests::kDisplayDepths;

struct StageBench : depth_tests::StageRig {
    explicit StageBench(int bits_per_pixel = 32) : StageRig(bits_per_pixel) {
        globals.glbBandWidth = 1.0f;
        globals.glbBandStep = 2.0f;
    }
};

// A different colour in every cell of pictures up to 256 wide, none black or white.
inline platform::Rgb CellColor(int x, int y) {
    return platform::RGB((x * 7 + 3) & 255, (y * 37 + 11) & 255, (x * 5 + y * 3 + 29) & 255);
}

// As a reload leaves the surfaces: the picture in picOriginal and picResult, and a
// grey depth map in picDepth.
inline void LoadViews(StageBench& bench, int width, int height,
                      const std::function<int(int x, int y)>& depth,
                      const testing_support::ColorAt& picture = CellColor) {
    testing_support::LoadSurface(bench.surfaces.picOriginal, width, height, picture);
    testing_support::LoadSurface(bench.surfaces.picResult, width, height, picture);
    testing_support::LoadSurface(bench.surfaces.picDepth, width, height,
                                 [&](int x, int y) { return testing_support::Grey(depth(x, y)); });
}

inline core::PixelTriple Triple(int red, int green, int blue) {
    return {static_cast<std::uint8_t>(blue), static_cast<std::uint8_t>(green),
            static_cast<std::uint8_t>(red)};
}

// Grid equality that names the first differing cell.
inline ::testing::AssertionResult SameGrid(const core::PixelGrid& actual,
                                           const core::PixelGrid& expected) {
    if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) {
        return ::testing::AssertionFailure()
               << "size " << actual.Width() << "x" << actual.Height() << ", expected "
               << expected.Width() << "x" << expected.Height();
    }
    for (int y = 0; y < actual.Height(); ++y)
        for (int x = 0; x < actual.Width(); ++x) {
            const core::PixelTriple a = actual(x, y);
            const core::PixelTriple e = expected(x, y);
            if (a == e) continue;
            return ::testing::AssertionFailure()
                   << "cell (" << x << ", " << y << ") is RGB(" << int{a.Red} << ", "
                   << int{a.Green} << ", " << int{a.Blue} << "), expected RGB(" << int{e.Red}
                   << ", " << int{e.Green} << ", " << int{e.Blue} << ")";
        }
    return ::testing::AssertionSuccess();
}

// True when the surface's assigned picture holds exactly its image.
inline bool PictureIsImage(const platform::PictureSurface& surface) {
    const platform::Picture* picture = surface.GetPicture();
    if (!picture) return false;
    const auto a = picture->bitmap.Bits();
    const auto b = surface.Image().Bits();
    return picture->bitmap.Width() == surface.Image().Width() &&
           picture->bitmap.Height() == surface.Image().Height() &&
           std::equal(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace stereo_testing
