#include "stereo/view_synthesis.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "core/ddb_helper.h"
#include "core/grey_rows.h"
#include "core/pixel_grid.h"
#include "core/plain32_rows.h"
#include "core/row_blocks.h"
#include "core/rows32.h"
#include "core/vector_clones.h"

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

// The depth bytes of each band as a closed run first..first + span, and the band's bit
// (0 for a band no byte falls into). A byte d lies in the run exactly when the byte
// d - first, wrapping, is at most span: one subtraction and one comparison of bytes,
// which vectorise 16 or 32 to an instruction.
struct BandRuns {
    std::array<std::uint8_t, 3> first{};
    std::array<std::uint8_t, 3> span{};
    std::array<std::uint8_t, 3> bit{};
};

BandRuns MakeBandRuns(const ShiftBounds& bounds) {
    BandRuns runs;
    for (std::size_t v = 2; v <= 4; ++v) {
        // The open interval bounds[v] < d < bounds[v + 1] over the bytes 0..255.
        const std::int32_t first = std::max(bounds[v] + 1, 0);
        const std::int32_t last = std::min(bounds[v + 1] - 1, 255);
        if (first > last) continue;
        runs.first[v - 2] = static_cast<std::uint8_t>(first);
        runs.span[v - 2] = static_cast<std::uint8_t>(last - first);
        runs.bit[v - 2] = static_cast<std::uint8_t>(1u << (v - 2));
    }
    return runs;
}

// For each cell, one bit per band its depth (the Blue byte) falls into: bit k - 1 for
// the band that moves k columns, written to all three bytes of the cell's entry in
// `bits`, so that the moves below can take a pixel's bits at each of its bytes. Levels
// set out of order can make the first and the last band overlap, so a depth may belong
// to two bands and move in both passes.
ZARVIK_VECTOR_CLONES void BandBitsOfRow(const PixelTriple* cells, int count, const BandRuns& runs,
                                        PixelTriple* bits) {
    // Plain copies rather than structured bindings: lambdas may not capture those
    // under every compiler the project builds with.
    const std::uint8_t first1 = runs.first[0], first2 = runs.first[1], first3 = runs.first[2];
    const std::uint8_t span1 = runs.span[0], span2 = runs.span[1], span3 = runs.span[2];
    const std::uint8_t bit1 = runs.bit[0], bit2 = runs.bit[1], bit3 = runs.bit[2];
    const auto bands_of = [=](std::uint8_t d) {
        const auto in = [d](std::uint8_t first, std::uint8_t span, std::uint8_t bit) {
            return static_cast<std::uint8_t>(static_cast<std::uint8_t>(d - first) <= span ? bit
                                                                                          : 0);
        };
        return static_cast<std::uint8_t>(in(first1, span1, bit1) | in(first2, span2, bit2) |
                                         in(first3, span3, bit3));
    };
    if (core::RowIsGrey(cells, count)) {
        // Every byte is its pixel's Blue: the bits of each byte are its pixel's bits.
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(cells);
        auto* out = reinterpret_cast<std::uint8_t*>(bits);
        const std::size_t size = static_cast<std::size_t>(count) * sizeof(PixelTriple);
        for (std::size_t i = 0; i < size; ++i) out[i] = bands_of(bytes[i]);
        return;
    }
    for (int x = 0; x < count; ++x) {
        const std::uint8_t b = bands_of(cells[x].Blue);
        bits[x] = {b, b, b};
    }
}

constexpr int kPasses = 3;
constexpr int kNotCovered = -1;
constexpr std::size_t kCell = sizeof(PixelTriple);

// The widths the three passes covered in one row: pass k moves sources below widths[k - 1].
using RowWidths = std::array<int, kPasses>;

// Whether the source column x moves in pass k.
bool Moves(const PixelTriple* bands, int x, int k, const RowWidths& widths) {
    return x < widths[static_cast<std::size_t>(k - 1)] && (bands[x].Blue >> (k - 1) & 1) != 0;
}

// Byte i of a row after the three passes: the source byte of the farthest pass whose
// band holds its pixel, else the row's own byte. Masks instead of branches: the bands
// of a noisy map change from pixel to pixel.
std::uint8_t MovedByte(const std::uint8_t* picture, const std::uint8_t* bands,
                       const std::uint8_t* result, std::size_t i) {
    std::uint8_t byte = result[i];
    for (int k = 1; k <= kPasses; ++k) {
        const std::size_t source = i + kCell * static_cast<std::size_t>(k);
        const auto mask = static_cast<std::uint8_t>(-(bands[source] >> (k - 1) & 1));
        byte = static_cast<std::uint8_t>((picture[source] & mask) | (byte & ~mask));
    }
    return byte;
}

// All three passes' moves of one row, each destination written once. Forward mapping:
// the depth at the source column decides, and in pass k the pixel lands k columns to
// the left. All sources come from the picture, and where bands collide on one
// destination the farthest move, made by the last pass, wins. Destinations start at
// column 1 (sources 0..k never move in pass k). Where every pass covers the sources of
// a destination (all but the last columns), only the band bits decide: that part runs
// as a plain loop over bytes, which vectorises.
ZARVIK_VECTOR_CLONES void MoveRow(const PixelTriple* picture, const PixelTriple* bands,
                                  PixelTriple* result, const RowWidths& widths) {
    const int covered = std::min({widths[0] - 1, widths[1] - 2, widths[2] - 3});
    int x = 1;
    if (covered > x) {
        const auto* picture_bytes = reinterpret_cast<const std::uint8_t*>(picture);
        const auto* band_bytes = reinterpret_cast<const std::uint8_t*>(bands);
        auto* result_bytes = reinterpret_cast<std::uint8_t*>(result);
        for (std::size_t i = kCell; i < kCell * static_cast<std::size_t>(covered); ++i)
            result_bytes[i] = MovedByte(picture_bytes, band_bytes, result_bytes, i);
        x = covered;
    }
    const int end = std::max({widths[0] - 1, widths[1] - 2, widths[2] - 3});
    for (; x < end; ++x)
        for (int k = kPasses; k >= 1; --k)
            if (Moves(bands, x + k, k, widths)) {
                result[x] = picture[x + k];
                break;
            }
}

// Columns that all three grids hold, up to the picture's current width. A depth map
// smaller than the picture moves nothing outside its own extent.
int CommonWidth(int scale_width, const PixelGrid& picture, const PixelGrid& depth) {
    return std::min({scale_width, picture.Width(), depth.Width()});
}

bool HoldsRow(int y, const PixelGrid& picture, const PixelGrid& depth) {
    return y < picture.Height() && y < depth.Height();
}

// The three passes and what each covered: per pass, per row, the width it moved in
// that row, or kNotCovered. A pass's moves depend only on its row of the picture, of
// the depth map and of the result, and on that width, so a row can take all three
// passes' moves at once, in pass order, once the last pass has been through it; then
// its three grid rows are read from memory once instead of once per pass, and rows,
// which share nothing, can move on different cores. The grids are the stage's own and
// nothing sees them before the result is written, which only a run whose every pass
// ended does. The result starts as a copy of the picture and every move reads the
// picture at or right of the column it writes, so each row is moved in place from a
// copy of itself: one grid of the picture's size instead of two.
class PassRows {
  public:
    PassRows(PixelGrid& picture, const PixelGrid& depth, const BandRuns& runs)
        : picture_(picture),
          depth_(depth),
          runs_(runs),
          held_rows_(std::min(picture.Height(), depth.Height())),
          bands_(static_cast<std::size_t>(core::ThreadCount())),
          sources_(bands_.size()) {
        for (auto& row : bands_) row.resize(static_cast<std::size_t>(std::max(depth.Width(), 0)));
        for (auto& row : sources_)
            row.resize(static_cast<std::size_t>(std::max(picture.Width(), 0)));
        for (auto& widths : covered_)
            widths.assign(static_cast<std::size_t>(held_rows_), kNotCovered);
    }

    // Pass k (1..3) has been through row y with the given width. Rows of the last pass
    // may be covered from several threads at once, each row by one.
    void Cover(int k, int y, int width) {
        covered_[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(y)] = width;
        if (k == kPasses) Move(y);
    }

    // Rows the earlier passes went through and the last one did not reach.
    void MoveLeftovers() {
        for (int y = 0; y < held_rows_; ++y)
            if (Width(kPasses, y) == kNotCovered &&
                (Width(1, y) != kNotCovered || Width(2, y) != kNotCovered))
                Move(y);
    }

  private:
    int Width(int k, int y) const {
        return covered_[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(y)];
    }

    void Move(int y) {
        const auto thread = static_cast<std::size_t>(core::ThreadIndex());
        std::vector<PixelTriple>& bands = bands_[thread];
        std::vector<PixelTriple>& source = sources_[thread];
        BandBitsOfRow(depth_.Row(y).data(), depth_.Width(), runs_, bands.data());
        const auto row = picture_.Row(y);
        std::copy(row.begin(), row.end(), source.begin());
        RowWidths widths{};
        for (int k = 1; k <= kPasses; ++k)
            widths[static_cast<std::size_t>(k - 1)] = std::max(Width(k, y), 0);
        MoveRow(source.data(), bands.data(), row.data(), widths);
    }

    PixelGrid& picture_;  // the result, once every row has moved
    const PixelGrid& depth_;
    const BandRuns& runs_;
    int held_rows_;
    std::vector<std::vector<PixelTriple>> bands_;    // one row's band bits per thread
    std::vector<std::vector<PixelTriple>> sources_;  // one row of the picture per thread
    std::array<std::vector<int>, kPasses> covered_;
};

// Rows of each thread's own for the second view of 32-bit images.
struct ViewRows {
    explicit ViewRows(std::size_t width)
        : picture(width), depth(width), bands(width), view(width) {}
    std::vector<PixelTriple> picture;
    std::vector<PixelTriple> depth;
    std::vector<PixelTriple> bands;
    std::vector<PixelTriple> view;
};

// Whether the surfaces hold 32-bit images of one size, which the second view reads and
// writes row by row.
bool ViewsArePlain32(const core::Workspace& surfaces) {
    const platform::Bitmap& picture = surfaces.picOriginal.Image();
    return core::Plain32(picture) &&
           core::Plain32(surfaces.picDepth.Image(), picture.Width(), picture.Height()) &&
           core::Plain32(surfaces.picResult.Image(), picture.Width(), picture.Height());
}

// MakeSecondView for 32-bit images of one size, read and written row by row instead of
// through grids of the whole picture: the same bytes, polled the same way. Each pass
// covers what the picture has when the pass starts, as there; the images read at the
// start stand for the grids. A row is read into rows of the thread's own, moved, and
// written into the new view while it is in the cache.
void MakeSecondViewPlain32(core::StageContext& context, const BandRuns& runs) {
    core::Workspace& surfaces = context.surfaces;
    const platform::Bitmap picture = surfaces.picOriginal.Image();
    const platform::Bitmap depth = surfaces.picDepth.Image();
    core::LetGoUnlessKept(context, surfaces.picDepth);
    const int width = picture.Width();
    const int height = picture.Height();
    const auto row_bytes = 4 * static_cast<std::size_t>(width);
    platform::Bitmap view = platform::Bitmap::Uncleared(width, height, 32);
    const std::uint8_t* const picture_bits = picture.Bits().data();
    const std::uint8_t* const depth_bits = depth.Bits().data();
    std::uint8_t* const view_bits = view.BitsForOverwrite().data();
    std::vector<ViewRows> own(static_cast<std::size_t>(core::ThreadCount()),
                              ViewRows(static_cast<std::size_t>(width)));
    std::array<std::vector<int>, kPasses> covered;
    for (auto& widths : covered) widths.assign(static_cast<std::size_t>(height), kNotCovered);
    const auto at = [](int y) { return static_cast<std::size_t>(y); };

    // Row y of the view: moved by the passes that covered it, or the picture's own.
    const auto make_row = [&](int y) {
        ViewRows& r = own[static_cast<std::size_t>(core::ThreadIndex())];
        const std::size_t offset = row_bytes * at(y);
        const auto n = static_cast<std::size_t>(width);
        core::rows32::Decode(picture_bits + offset, r.view.data(), n, false);
        RowWidths widths{};
        for (int k = 1; k <= kPasses; ++k)
            widths[at(k - 1)] = std::max(covered[at(k - 1)][at(y)], 0);
        if (widths != RowWidths{}) {
            std::copy(r.view.begin(), r.view.end(), r.picture.begin());
            core::rows32::Decode(depth_bits + offset, r.depth.data(), n, false);
            BandBitsOfRow(r.depth.data(), width, runs, r.bands.data());
            MoveRow(r.picture.data(), r.bands.data(), r.view.data(), widths);
        }
        core::rows32::Encode(r.view.data(), view_bits + offset, n, false);
    };
    for (int k = 1; k <= kPasses; ++k) {
        const bool done = core::PolledRows(context, surfaces.picOriginal.ScaleHeight(), [&](int y) {
            if (y >= height) return;
            covered[at(k - 1)][at(y)] = std::clamp(surfaces.picOriginal.ScaleWidth(), 0, width);
            if (k == kPasses) make_row(y);
        });
        if (!done) return;
    }
    // Rows the last pass did not reach: the earlier passes' moves, or none.
    core::ParallelRows(0, height, [&](int y) {
        if (covered[at(kPasses - 1)][at(y)] == kNotCovered) make_row(y);
    });
    core::ShowMadeImage(surfaces.picResult, std::move(view));
    surfaces.picResult.AssignImageToPicture();
}

}  // namespace

void MakeSecondView(core::StageContext& context) {
    core::Workspace& surfaces = context.surfaces;
    const BandRuns runs = MakeBandRuns(MakeShiftBounds(context.globals));
    if (ViewsArePlain32(surfaces)) {
        MakeSecondViewPlain32(context, runs);
        return;
    }

    PixelGrid picture;
    PixelGrid depth;
    std::int16_t picture_bits = 0;
    std::int16_t depth_bits = 0;
    DDBHelper::GetBitmapPixels(surfaces.picOriginal, picture, picture_bits);
    DDBHelper::GetBitmapPixels(surfaces.picDepth, depth, depth_bits);
    core::LetGoUnlessKept(context, surfaces.picDepth);
    PassRows passes(picture, depth, runs);

    // The passes run from the lowest band up (k = 1, 2, 3), so where bands collide on
    // one destination the farthest move, made last, wins.
    for (int k = 1; k <= kPasses; ++k) {
        const bool done = core::PolledRows(context, surfaces.picOriginal.ScaleHeight(), [&](int y) {
            const int width = CommonWidth(surfaces.picOriginal.ScaleWidth(), picture, depth);
            if (HoldsRow(y, picture, depth)) passes.Cover(k, y, width);
        });
        if (!done) return;
    }
    passes.MoveLeftovers();

    DDBHelper::SetBitmapPixels(surfaces.picResult, picture_bits, picture);
    surfaces.picResult.AssignImageToPicture();
}

}  // namespace stereo
