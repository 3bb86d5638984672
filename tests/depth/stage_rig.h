#pragma once
// A display, the window's surfaces, settings, process-wide values and a fake host,
// wired into a stage context, for running one stage at a time.
#include <cstdint>
#include <vector>

#include "core/conversion_settings.h"
#include "core/pixel_grid.h"
#include "core/stage_context.h"
#include "core/tavs_mod.h"
#include "core/workspace.h"
#include "platform/display.h"
#include "tests/support/fake_host.h"
#include "tests/support/pictures.h"

namespace depth_tests {

struct StageRig {
    explicit StageRig(int bits_per_pixel = 24)
        : display(bits_per_pixel), surfaces(display), context{surfaces, settings, globals, host} {
        globals.glbBusy = TavsMod::kTrue;
        globals.glbBandStep = 1.0f;
    }

    platform::Display display;
    core::Workspace surfaces;
    core::ConversionSettings settings;
    TavsMod::Values globals;
    testing_support::FakeHost host;
    core::StageContext context;
};

inline constexpr int kDisplayDepths[] = {8, 15, 16, 24, 32};

using Rows = std::vector<std::vector<platform::Rgb>>;

// Gives the surface a picture whose rows are the given colours.
inline void LoadRows(platform::PictureSurface& surface, const Rows& rows) {
    const int height = static_cast<int>(rows.size());
    const int width = height > 0 ? static_cast<int>(rows[0].size()) : 0;
    testing_support::LoadSurface(surface, width, height, [&rows](int x, int y) {
        return rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
    });
}

// The grey values of a grid's Red channel, row after row.
inline std::vector<std::vector<int>> RedValues(const core::PixelGrid& grid) {
    std::vector<std::vector<int>> values(static_cast<std::size_t>(grid.Height()));
    for (int y = 0; y < grid.Height(); ++y)
        for (int x = 0; x < grid.Width(); ++x)
            values[static_cast<std::size_t>(y)].push_back(grid(x, y).Red);
    return values;
}

// A surface of grey values (one per pixel), as a depth map.
inline void LoadGreys(platform::PictureSurface& surface,
                      const std::vector<std::vector<int>>& greys) {
    Rows rows;
    for (const auto& line : greys) {
        rows.emplace_back();
        for (int v : line) rows.back().push_back(testing_support::Grey(v));
    }
    LoadRows(surface, rows);
}

}  // namespace depth_tests
