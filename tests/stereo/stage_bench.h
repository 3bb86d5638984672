#pragma once
// A window's worth of surfaces, settings and process-wide values for calling the
// stereo stages directly, with a run in progress.
#include <algorithm>
#include <cstdint>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "core/stage_context.h"
#include "core/workspace.h"
#include "platform/display.h"
#include "tests/support/fake_host.h"
#include "tests/support/pictures.h"

namespace stereo_testing {

inline constexpr int kDisplayDepths[] = {8, 15, 16, 24, 32};

struct StageBench {
    explicit StageBench(int bits_per_pixel = 32)
        : display(bits_per_pixel), surfaces(display), context{surfaces, settings, globals, host} {
        globals.glbBusy = TavsMod::kTrue;
        globals.glbBandWidth = 1.0f;
        globals.glbBandStep = 2.0f;
    }
    StageBench(const StageBench&) = delete;
    StageBench& operator=(const StageBench&) = delete;

    // Clears the run flag inside yield n (1-based), as a click on "Cancel" would.
    void CancelAtYield(int n) {
        host.on_yield = [this, n](int yield) {
            if (yield == n) globals.glbBusy = 0;
        };
    }

    platform::Display display;
    core::Workspace surfaces;
    core::ConversionSettings settings;
    TavsMod::Values globals;
    testing_support::FakeHost host;
    core::StageContext context;
};

// A different colour in every cell of pictures up to 256 wide, none black or white.
inline platform::Rgb CellColor(int x, int y) {
    return platform::RGB((x * 7 + 3) & 255, (y * 37 + 11) & 255, (x * 5 + y * 3 + 29) & 255);
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

inline std::vector<std::uint8_t> ImageBytes(const platform::PictureSurface& surface) {
    const auto bits = surface.Image().Bits();
    return {bits.begin(), bits.end()};
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
