#include "stereo/view_synthesis.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/ddb_helper.h"
#include "core/pixel_grid.h"

namespace stereo {

namespace {

using core::PixelGrid;
using core::PixelTriple;

// Band v (2, 3, 4) is the open interval bounds[v] < depth < bounds[v + 1]. Entry 1
// is filled for the table's shape only; nothing compares against it.
using ShiftBounds = std::array<std::int32_t, 6>;

ShiftBounds MakeShiftBounds(const TavsMod::Values& globals) {
    return {0, globals.Depth[0], globals.Depth[1], globals.Depth[2], globals.Depth[3], 255};
}

// Which depth bytes fall into the open interval (low, high): one lookup per pixel
// instead of two comparisons.
std::array<bool, 256> BandMembers(std::int32_t low, std::int32_t high) {
    std::array<bool, 256> members{};
    for (std::int32_t d = 0; d < 256; ++d)
        members[static_cast<std::size_t>(d)] = low < d && d < high;
    return members;
}

// Forward mapping: the depth at the source column decides, and the pixel lands k
// columns to the left. Destinations must stay right of column 0, so sources 0..k
// never move.
void MoveBandRow(const PixelTriple* picture, const PixelTriple* depth, PixelTriple* result,
                 int width, int k, const std::array<bool, 256>& members) {
    for (int x = k + 1; x < width; ++x)
        if (members[depth[x].Blue]) result[x - k] = picture[x];
}

// Columns that all three grids hold, up to the picture's current width. A depth map
// smaller than the picture moves nothing outside its own extent.
int CommonWidth(int scale_width, const PixelGrid& picture, const PixelGrid& result,
                const PixelGrid& depth) {
    return std::min({scale_width, picture.Width(), result.Width(), depth.Width()});
}

bool HoldsRow(int y, const PixelGrid& picture, const PixelGrid& result, const PixelGrid& depth) {
    return y < picture.Height() && y < result.Height() && y < depth.Height();
}

}  // namespace

void MakeSecondView(core::StageContext& context) {
    core::Workspace& surfaces = context.surfaces;
    const ShiftBounds bounds = MakeShiftBounds(context.globals);

    PixelGrid picture;
    PixelGrid result;
    PixelGrid depth;
    std::int16_t picture_bits = 0;
    std::int16_t result_bits = 0;
    std::int16_t depth_bits = 0;
    DDBHelper::GetBitmapPixels(surfaces.picOriginal, picture, picture_bits);
    DDBHelper::GetBitmapPixels(surfaces.picOriginal, result, result_bits);
    DDBHelper::GetBitmapPixels(surfaces.picDepth, depth, depth_bits);

    // The passes run from the lowest band up, so where bands collide on one
    // destination the farthest move, written last, wins.
    int k = 0;
    for (std::size_t v = 2; v <= 4; ++v) {
        ++k;
        const std::array<bool, 256> members = BandMembers(bounds[v], bounds[v + 1]);
        const int rows = surfaces.picOriginal.ScaleHeight();
        for (int y = 0; y < rows; ++y) {
            const int width =
                CommonWidth(surfaces.picOriginal.ScaleWidth(), picture, result, depth);
            if (HoldsRow(y, picture, result, depth))
                MoveBandRow(picture.Row(y).data(), depth.Row(y).data(), result.Row(y).data(), width,
                            k, members);
            if (!core::PollAfterRow(context)) return;
        }
    }

    DDBHelper::SetBitmapPixels(surfaces.picResult, result_bits, result);
    surfaces.picResult.AssignImageToPicture();
}

}  // namespace stereo
