#include "platform/picture_surface.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {

namespace {

// Copies the part of `from` that overlaps `to`, both anchored at the top left.
void CopyTopLeft(const Bitmap& from, Bitmap& to) {
    const int rows = std::min(from.Height(), to.Height());
    const auto bytes = static_cast<std::size_t>(
        static_cast<std::int64_t>(std::min(from.Width(), to.Width())) * from.BitsPixel() / 8);
    for (int y = 0; y < rows && bytes > 0; ++y)
        std::memcpy(to.MutableRow(y).data(), from.Row(y).data(), bytes);
}

}  // namespace

PictureSurface::PictureSurface(const Display& display)
    : display_(&display), image_(BlankImage(0, 0)) {}

Bitmap PictureSurface::BlankImage(int width, int height) const {
    return Bitmap::Blank(width, height, display_->HeaderBitsPixel(), BackPixel());
}

bool PictureSurface::Resize(int width_pixels, int height_pixels) {
    if (width_pixels < 0 || height_pixels < 0 || width_pixels > kMaxBitmapSide ||
        height_pixels > kMaxBitmapSide) {
        return false;
    }
    if (width_pixels == image_.Width() && height_pixels == image_.Height()) return true;
    Bitmap resized = BlankImage(width_pixels, height_pixels);
    if (resized.BitsPixel() == image_.BitsPixel()) CopyTopLeft(image_, resized);
    image_ = std::move(resized);
    return true;
}

bool PictureSurface::SetWidth(int twips) {
    if (twips < 0) return false;
    return Resize((twips + kTwipsPerPixel / 2) / kTwipsPerPixel, image_.Height());
}

bool PictureSurface::SetHeight(int twips) {
    if (twips < 0) return false;
    return Resize(image_.Width(), (twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

void PictureSurface::SetPicture(Picture picture) {
    const Bitmap& source = picture.bitmap;
    if (auto_size_) Resize(source.Width(), source.Height());
    if (source.Width() == image_.Width() && source.Height() == image_.Height() &&
        source.BitsPixel() == image_.BitsPixel()) {
        image_ = source;  // shares the bits until one side is drawn on
    } else {
        Bitmap drawn = BlankImage(image_.Width(), image_.Height());
        if (source.BitsPixel() == drawn.BitsPixel()) CopyTopLeft(source, drawn);
        image_ = std::move(drawn);
    }
    picture_ = std::move(picture);
}

void PictureSurface::ClearPicture() {
    picture_.reset();
    Cls();
}

Picture PictureSurface::ImageAsPicture() const {
    Picture picture{image_, std::nullopt};
    if (picture_ && picture_->palette) {
        picture.palette = picture_->palette;
    } else if (display_->Layout() == PixelLayout::Indexed8) {
        picture.palette = Palette(display_->SystemPalette());
    }
    return picture;
}

Rgb PictureSurface::Point(int x, int y) const {
    if (x < 0 || y < 0 || x >= image_.Width() || y >= image_.Height()) return kNoColor;
    if (image_.BitsPixel() != display_->HeaderBitsPixel()) return kNoColor;
    const int bpp = display_->BytesPerPixel();
    return display_->PixelToColor(Display::LoadPixel(image_.Row(y).data() + x * bpp, bpp));
}

void PictureSurface::PSet(int x, int y, Rgb color) {
    if (x < 0 || y < 0 || x >= image_.Width() || y >= image_.Height()) return;
    if (image_.BitsPixel() != display_->HeaderBitsPixel()) return;
    const int bpp = display_->BytesPerPixel();
    Display::StorePixel(image_.MutableRow(y).data() + x * bpp, bpp, display_->ColorToPixel(color));
}

void PictureSurface::Line(int x, float y1, float y2) {
    if (x < 0 || x >= image_.Width() || image_.BitsPixel() != display_->HeaderBitsPixel()) return;
    if (!std::isfinite(y1) || !std::isfinite(y2)) return;
    const double first = std::nearbyint(static_cast<double>(y1));
    const double last = std::nearbyint(static_cast<double>(y2));
    if (first == last) return;
    // Rows covered: from `first` toward `last`, `last` itself excluded, clipped.
    const double step = last > first ? 1.0 : -1.0;
    const double stop = last - step;
    double lo = std::min(first, stop);
    double hi = std::max(first, stop);
    lo = std::max(lo, 0.0);
    hi = std::min(hi, static_cast<double>(image_.Height() - 1));
    if (lo > hi) return;
    const int bpp = display_->BytesPerPixel();
    const std::uint32_t pixel = display_->ColorToPixel(fore_color_);
    auto bits = image_.MutableBits();
    for (int y = static_cast<int>(lo); y <= static_cast<int>(hi); ++y)
        Display::StorePixel(bits.data() + image_.WidthBytes() * y + x * bpp, bpp, pixel);
}

void PictureSurface::Cls() {
    image_ = BlankImage(image_.Width(), image_.Height());
}

void PictureSurface::Refresh() {
    ++refresh_count_;
    if (on_refresh_) on_refresh_();
}

}  // namespace platform
