#include "conversion/imported_depth.h"

#include <stdexcept>
#include <string>

#include "core/ddb_helper.h"
#include "core/pixel_grid.h"

namespace conversion {

namespace {

std::string SizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

// A level in a field of `top` steps, rounded.
std::uint8_t Field(std::uint8_t level, int top) {
    return static_cast<std::uint8_t>((level * top + 127) / 255);
}

}  // namespace

void DrawImportedDepth(const core::DepthLevels& levels, platform::PictureSurface& depth_surface) {
    core::PixelGrid grid;
    std::int16_t bits = 0;
    DDBHelper::GetBitmapPixels(depth_surface, grid, bits);
    if (levels.width != grid.Width() || levels.height != grid.Height() ||
        levels.levels.size() != grid.Pixels().size())
        throw std::invalid_argument("the depth map is " + SizeText(levels.width, levels.height) +
                                    ", the picture " + SizeText(grid.Width(), grid.Height()));
    // 15- and 16-bit displays hold raw fields: 5 bits, and 6 for 5-6-5's green.
    const bool fields = bits == 15 || bits == 16;
    const int green_top = bits == 16 ? 63 : 31;
    auto cells = grid.Pixels();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::uint8_t level = levels.levels[i];
        cells[i] =
            fields ? core::PixelTriple{Field(level, 31), Field(level, green_top), Field(level, 31)}
                   : core::PixelTriple{level, level, level};
    }
    DDBHelper::SetBitmapPixels(depth_surface, bits, grid);
    depth_surface.AssignImageToPicture();
}

}  // namespace conversion
