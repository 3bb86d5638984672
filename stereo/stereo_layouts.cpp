#include "stereo/stereo_layouts.h"

#include <algorithm>
#include <vector>

#include "stereo/anaglyph_methods.h"

namespace stereo {

namespace {

using core::PixelGrid;
using core::PixelTriple;
using core::StereoLayout;

bool Squeezed(StereoLayout layout) {
    return layout == StereoLayout::kHalfSideBySide || layout == StereoLayout::kHalfTopBottom;
}

// The side the half layouts squeeze.
int SqueezedSide(StereoLayout layout, int width, int height) {
    return layout == StereoLayout::kHalfTopBottom ? height : width;
}

void CopyRow(const PixelGrid& view, int y, int width, std::span<PixelTriple> out) {
    const auto row = view.Row(y).first(static_cast<std::size_t>(width));
    std::copy(row.begin(), row.end(), out.begin());
}

}  // namespace

ComposedSize ComposedSizeFor(StereoLayout layout, int width, int height) {
    switch (layout) {
        case StereoLayout::kSideBySide:
        case StereoLayout::kCrossEye:
            return {2 * width, height};
        case StereoLayout::kTopBottom:
            return {width, 2 * height};
        case StereoLayout::kAnaglyph:
        case StereoLayout::kHalfSideBySide:
        case StereoLayout::kHalfTopBottom:
            break;
    }
    return {width, height};
}

StereoComposer::StereoComposer(const PixelGrid& left, const PixelGrid& right,
                               const core::StereoChoices& choices)
    : left_(left),
      right_(right),
      choices_(choices),
      width_(std::min(left.Width(), right.Width())),
      height_(std::min(left.Height(), right.Height())),
      size_(ComposedSizeFor(choices.Layout(), width_, height_)),
      first_half_(Squeezed(choices.Layout())
                      ? AreaSqueeze(SqueezedSide(choices.Layout(), width_, height_),
                                    (SqueezedSide(choices.Layout(), width_, height_) + 1) / 2)
                      : AreaSqueeze(0, 0)),
      second_half_(Squeezed(choices.Layout())
                       ? AreaSqueeze(SqueezedSide(choices.Layout(), width_, height_),
                                     SqueezedSide(choices.Layout(), width_, height_) / 2)
                       : AreaSqueeze(0, 0)) {}

// Row i of a view squeezed to half its height: the area mean of the rows it covers.
void StereoComposer::SqueezedRows(const PixelGrid& view, int y, std::span<PixelTriple> out) const {
    const bool top = y < first_half_.To();
    const AreaSqueeze& squeeze = top ? first_half_ : second_half_;
    const AreaSqueeze::Cover cover = squeeze.CoverOf(top ? y : y - first_half_.To());
    std::vector<std::int64_t> sums(static_cast<std::size_t>(width_) * 3, 0);
    for (std::size_t k = 0; k < cover.weights.size(); ++k) {
        const auto row = view.Row(cover.first + static_cast<int>(k));
        const std::int64_t weight = cover.weights[k];
        for (std::size_t x = 0; x < sums.size() / 3; ++x) {
            sums[3 * x] += weight * row[x].Blue;
            sums[3 * x + 1] += weight * row[x].Green;
            sums[3 * x + 2] += weight * row[x].Red;
        }
    }
    for (std::size_t x = 0; x < sums.size() / 3; ++x)
        out[x] = {AreaMean(sums[3 * x], squeeze.From()), AreaMean(sums[3 * x + 1], squeeze.From()),
                  AreaMean(sums[3 * x + 2], squeeze.From())};
}

void StereoComposer::Row(int y, std::span<PixelTriple> out) const {
    const auto w = static_cast<std::size_t>(width_);
    switch (choices_.Layout()) {
        case StereoLayout::kAnaglyph:
            JoinRow(left_.Row(y).first(w), right_.Row(y).first(w), out.first(w), choices_.Method(),
                    choices_.Glasses());
            return;
        case StereoLayout::kSideBySide:
            CopyRow(left_, y, width_, out.first(w));
            CopyRow(right_, y, width_, out.subspan(w));
            return;
        case StereoLayout::kCrossEye:
            CopyRow(right_, y, width_, out.first(w));
            CopyRow(left_, y, width_, out.subspan(w));
            return;
        case StereoLayout::kTopBottom:
            if (y < height_)
                CopyRow(left_, y, width_, out);
            else
                CopyRow(right_, y - height_, width_, out);
            return;
        case StereoLayout::kHalfSideBySide: {
            const auto split = static_cast<std::size_t>(first_half_.To());
            first_half_.Row(left_.Row(y).first(w), out.first(split));
            second_half_.Row(right_.Row(y).first(w), out.subspan(split));
            return;
        }
        case StereoLayout::kHalfTopBottom:
            SqueezedRows(y < first_half_.To() ? left_ : right_, y, out);
            return;
    }
}

PixelGrid Compose(const PixelGrid& left, const PixelGrid& right,
                  const core::StereoChoices& choices) {
    const StereoComposer composer(left, right, choices);
    PixelGrid out;
    out.ResizeForOverwrite(composer.Size().width, composer.Size().height);
    for (int y = 0; y < out.Height(); ++y) composer.Row(y, out.Row(y));
    return out;
}

}  // namespace stereo
