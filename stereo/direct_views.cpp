#include "stereo/direct_views.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/pixel_grid.h"
#include "core/plain32_rows.h"
#include "core/row_blocks.h"
#include "core/rows32.h"
#include "core/vector_clones.h"
#include "stereo/joined_row.h"

namespace stereo {

namespace {

using core::PixelTriple;
using core::Plain32;

// Rows of each thread's own, made before the rows start.
struct ThreadRows {
    explicit ThreadRows(std::size_t width)
        : source(width), left(width), right(width), levels(width), cells(2 * WarpCellsFor(width)) {}
    std::vector<PixelTriple> source;
    std::vector<PixelTriple> left;
    std::vector<PixelTriple> right;
    std::vector<std::uint8_t> levels;
    std::vector<std::uint64_t> cells;
};

// A 32-bit depth map's Blue byte is its level; a byte shuffle takes them in vectors.
ZARVIK_VECTOR_CLONES void LevelsOfRow(const std::uint8_t* depth_row, std::uint8_t* levels,
                                      std::size_t width) {
    for (std::size_t x = 0; x < width; ++x) levels[x] = depth_row[4 * x];
}

// The view's image takes the place of the surface's, as a grid written into it would.
void PutView(platform::PictureSurface& surface, const platform::PictureSurface& original,
             platform::Bitmap image) {
    surface.SetPicture(original.ImageAsPicture());
    surface.ReplaceImage(std::move(image));
    surface.Refresh();
    surface.AssignImageToPicture();
}

}  // namespace

bool CanWarpImagesDirectly(const core::Workspace& surfaces) {
    const platform::Bitmap& picture = surfaces.picOriginal.Image();
    return Plain32(picture, picture.Width(), picture.Height()) &&
           Plain32(surfaces.picDepth.Image(), picture.Width(), picture.Height());
}

namespace {

// Reads each row of the picture and its levels into the thread's own rows and hands
// them to `make(y, rows)`, over the cores. False: the run was cancelled.
template <class Make>
bool ReadRows(core::StageContext& context, const Make& make) {
    const platform::Bitmap& picture = context.surfaces.picOriginal.Image();
    const platform::Bitmap& depth = context.surfaces.picDepth.Image();
    const auto width = static_cast<std::size_t>(picture.Width());
    std::vector<ThreadRows> rows(static_cast<std::size_t>(core::ThreadCount()), ThreadRows(width));
    return core::PolledRows(context, picture.Height(), [&](int y) {
        ThreadRows& own = rows[static_cast<std::size_t>(core::ThreadIndex())];
        core::rows32::Decode(picture.Row(y).data(), own.source.data(), width, false);
        LevelsOfRow(depth.Row(y).data(), own.levels.data(), width);
        make(y, own);
    });
}

}  // namespace

void WarpImagesDirectly(core::StageContext& context, const LevelShifts& left_shifts,
                        const LevelShifts& right_shifts) {
    core::Workspace& surfaces = context.surfaces;
    const platform::Bitmap& picture = surfaces.picOriginal.Image();
    const auto width = static_cast<std::size_t>(picture.Width());
    // Copies share the picture's bytes until they are overwritten, and are not read.
    platform::Bitmap left_image = picture;
    platform::Bitmap right_image = picture;
    const std::span<std::uint8_t> left_bits = left_image.BitsForOverwrite();
    const std::span<std::uint8_t> right_bits = right_image.BitsForOverwrite();
    const bool done = ReadRows(context, [&](int y, ThreadRows& own) {
        const std::span<std::uint64_t> cells = own.cells;
        ForwardWarpViews(own.source, own.levels,
                         {left_shifts, own.left, cells.first(cells.size() / 2)},
                         {right_shifts, own.right, cells.last(cells.size() / 2)});
        const std::size_t at = 4 * width * static_cast<std::size_t>(y);
        core::rows32::Encode(own.left.data(), left_bits.data() + at, width, false);
        core::rows32::Encode(own.right.data(), right_bits.data() + at, width, false);
    });
    if (!done) return;

    PutView(surfaces.picLeft, surfaces.picOriginal, std::move(left_image));
    PutView(surfaces.picResult, surfaces.picOriginal, std::move(right_image));
}

std::optional<platform::Bitmap> WarpIntoAnaglyph(core::StageContext& context,
                                                 const LevelShifts& left_shifts,
                                                 const LevelShifts& right_shifts) {
    const platform::Bitmap& picture = context.surfaces.picOriginal.Image();
    const auto width = static_cast<std::size_t>(picture.Width());
    platform::Bitmap anaglyph = picture;
    const std::span<std::uint8_t> bits = anaglyph.BitsForOverwrite();
    // "Red - Blue" takes red from the first (left) view, the other lens from the second.
    const bool red_left = context.settings.Lens == 0;
    const bool done = ReadRows(context, [&](int y, ThreadRows& own) {
        const std::span<std::uint64_t> left = std::span(own.cells).first(own.cells.size() / 2);
        const std::span<std::uint64_t> right = std::span(own.cells).last(own.cells.size() / 2);
        ForwardWarpCells(own.source, own.levels, left_shifts, {left});
        ForwardWarpCells(own.source, own.levels, right_shifts, {right});
        JoinCellsRow(red_left ? left.data() : right.data(), red_left ? right.data() : left.data(),
                     bits.data() + 4 * width * static_cast<std::size_t>(y),
                     static_cast<int>(width));
    });
    if (!done) return std::nullopt;
    return anaglyph;
}

}  // namespace stereo
