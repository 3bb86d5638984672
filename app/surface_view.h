#pragma once
// Shows one picture surface: its image, at its place and size. The image is turned
// into a QImage only when the surface has changed since the last time, and only
// when the widget is painted, so a stage that refreshes the surface many times
// costs one conversion per repaint at most. A paint converts only the pixels it shows:
// a large picture mostly lies outside the window.
#include <QImage>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "platform/display.h"
#include "platform/picture_surface.h"

class SurfaceView : public QWidget {
  public:
    // Installs itself as the surface's refresh handler. The owner must clear that
    // handler (SetRefreshHandler({})) before the surface goes.
    SurfaceView(platform::PictureSurface& surface, const platform::Display& display,
                QWidget* parent);

    // The surface was drawn on or given a picture: follow its place and size and
    // repaint.
    void SurfaceChanged();

    // How many times the image has been converted for painting.
    std::int64_t Conversions() const { return conversions_; }
    // What the widget shows now (converting first if needed).
    QImage ShownImage();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Which bitmap was converted last: a surface that swapped its image without a
    // refresh (a new picture assigned, say) is noticed by this.
    struct ImageKey {
        const std::uint8_t* bits = nullptr;
        int width = -1;
        int height = -1;
        int bits_pixel = -1;
        friend bool operator==(const ImageKey&, const ImageKey&) = default;
    };
    ImageKey KeyOfSurface() const;
    // Starts a new conversion when the surface has changed: nothing converted yet.
    void ConvertIfStale();
    // Converts what `area` holds that is not converted yet.
    void ConvertArea(const QRect& area);

    // The columns begin..end - 1 of a row are converted; one span a row, widened to
    // cover each new request, since paints mostly ask for the same columns again.
    struct Span {
        int begin = 0;
        int end = 0;
    };

    platform::PictureSurface& surface_;
    const platform::Display& display_;
    QImage shown_;
    std::vector<Span> converted_;
    ImageKey shown_key_;
    bool dirty_ = true;
    std::int64_t conversions_ = 0;
};
