#pragma once
// A picture surface: the stand-in for the old toolkit's picture box with a
// persistent drawing (its Image) and an assigned picture (its Picture).
//
// The inside is measured in pixels: ScaleWidth and ScaleHeight are the image
// bitmap's width and height. The outer size is in twips, 15 to the pixel, and the
// surfaces have no border, so outer size = inside size x 15. The image is always
// in the display's own pixel format; assigning a picture draws it into the image.
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/bitmap.h"
#include "platform/color.h"
#include "platform/display.h"
#include "platform/palette.h"

namespace platform {

inline constexpr int kTwipsPerPixel = 15;

// A picture as the toolkit hands it around: a bitmap and, on palette displays, the
// handle of its own palette.
struct Picture {
    Bitmap bitmap;
    std::optional<Palette> palette;
};

class PictureSurface {
  public:
    explicit PictureSurface(const Display& display);

    const Display& GetDisplay() const { return *display_; }

    int ScaleWidth() const { return image_.Width(); }
    int ScaleHeight() const { return image_.Height(); }
    int ScaleLeft() const { return 0; }
    int ScaleTop() const { return 0; }

    // Outer size and place in twips. A size that is negative or larger than
    // 32767 pixels is refused (false) and nothing changes.
    int Width() const { return image_.Width() * kTwipsPerPixel; }
    int Height() const { return image_.Height() * kTwipsPerPixel; }
    bool SetWidth(int twips);
    bool SetHeight(int twips);
    // Both sides at once, in pixels; the image keeps its old drawing at the top left.
    bool Resize(int width_pixels, int height_pixels);
    int Left() const { return left_; }
    int Top() const { return top_; }
    void Move(int left_twips, int top_twips) {
        left_ = left_twips;
        top_ = top_twips;
    }

    // A surface that sizes itself to each picture it is given.
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool on) { auto_size_ = on; }
    Rgb BackColor() const { return back_color_; }
    void SetBackColor(Rgb color) { back_color_ = color; }
    Rgb ForeColor() const { return fore_color_; }
    void SetForeColor(Rgb color) { fore_color_ = color; }

    const Bitmap& Image() const { return image_; }
    Bitmap& MutableImage() { return image_; }
    // Puts a bitmap of any depth in place of the image, as a picture loaded from a
    // foreign-format file would leave it.
    void ReplaceImage(Bitmap image) { image_ = std::move(image); }

    // The assigned picture; none after ClearPicture (the toolkit's empty picture,
    // which has no handle).
    bool HasPicture() const { return picture_.has_value(); }
    const Picture* GetPicture() const { return picture_ ? &*picture_ : nullptr; }
    Picture* MutablePicture() { return picture_ ? &*picture_ : nullptr; }
    void SetPicture(Picture picture);
    void ClearPicture();
    // The current image as a picture value; the bits are shared, not copied.
    Picture ImageAsPicture() const;
    // picture box.Picture = picture box.Image
    void AssignImageToPicture() { SetPicture(ImageAsPicture()); }

    // Pixel colour at (x, y); kNoColor outside the surface.
    Rgb Point(int x, int y) const;
    // Sets one pixel; outside the surface nothing happens.
    void PSet(int x, int y, Rgb color);
    // A vertical line in ForeColor from ordinate y1 toward y2. The ordinates are
    // rounded to rows half to even, as the toolkit turns its single-precision
    // coordinates into device rows; like the graphics interface's LineTo, the line
    // covers its first row and stops short of its last, so a line from a row to the
    // same row draws nothing. Rows outside the surface are clipped.
    void Line(int x, float y1, float y2);
    // Fills the image with BackColor.
    void Cls();

    void Refresh();
    void ZOrder() { ++zorder_count_; }
    std::int64_t RefreshCount() const { return refresh_count_; }
    std::int64_t ZOrderCount() const { return zorder_count_; }
    // Called on every Refresh, so that the window can repaint what shows the surface.
    void SetRefreshHandler(std::function<void()> handler) { on_refresh_ = std::move(handler); }

  private:
    Bitmap BlankImage(int width, int height) const;
    std::uint32_t BackPixel() const { return display_->ColorToPixel(back_color_); }

    const Display* display_;
    Bitmap image_;
    std::optional<Picture> picture_;
    int left_ = 0;
    int top_ = 0;
    bool auto_size_ = true;
    Rgb back_color_ = RGB(240, 240, 240);
    Rgb fore_color_ = RGB(0, 0, 0);
    std::int64_t refresh_count_ = 0;
    std::int64_t zorder_count_ = 0;
    std::function<void()> on_refresh_;
};

}  // namespace platform
