#pragma once
// Shows one bitmap (a surface's image, or the opened picture) fitted to the view or at
// a chosen zoom, with scroll bars and dragging to pan when it is larger than the view.
//
// Zoom counts picture pixels per device pixel, so "Actual Size" is one picture pixel to
// one screen pixel also on a high-density screen, where a logical pixel would be
// blocky. A reduced picture is scaled smoothly once per zoom and kept; an enlarged one
// is drawn pixel by pixel, only the part in view.
//
// The bitmap is turned into a QImage only when it has changed since the last time and
// the view is painted or asked for it.
#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>
#include <cstdint>

#include "platform/bitmap.h"
#include "platform/display.h"

class PictureView : public QAbstractScrollArea {
    Q_OBJECT

  public:
    static constexpr double kMinZoom = 1.0 / 32.0;
    static constexpr double kMaxZoom = 32.0;

    PictureView(const platform::Display& display, QWidget* parent);

    // What to show; none shows an empty view. The bitmap must outlive its showing;
    // call BitmapChanged() when it is drawn on or replaced.
    void ShowBitmap(const platform::Bitmap* bitmap);
    void BitmapChanged();
    // A quick stand-in for the bitmap (a result converted at the displayed size),
    // stretched over the bitmap's place until the bitmap changes again.
    void ShowPreview(const QImage& preview);

    void ZoomIn();
    void ZoomOut();
    void FitToWindow();
    void ActualSize();
    // Zooms keeping the picture point under `anchor` (viewport coordinates) in place.
    void SetZoom(double zoom, QPointF anchor);
    double Zoom() const { return zoom_; }
    bool Fitted() const { return fit_; }

    // A preview stands in for the bitmap.
    bool ShowingPreview() const { return !preview_.isNull(); }
    // How many times the bitmap has been converted for painting.
    std::int64_t Conversions() const { return conversions_; }
    // The bitmap as shown at actual size (converting first if needed).
    QImage ShownImage();
    // The picture's size on screen, in logical pixels.
    QSizeF ShownSize();

  signals:
    void ZoomChanged(double zoom);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    struct ImageKey {
        const std::uint8_t* bits = nullptr;
        int width = -1;
        int height = -1;
        int bits_pixel = -1;
        friend bool operator==(const ImageKey&, const ImageKey&) = default;
    };
    ImageKey KeyOfBitmap() const;
    void ConvertIfStale();
    double DevicePixelRatio() const;
    double FitZoom();
    // Where the picture's top left lies in viewport coordinates.
    QPointF Origin();
    void UpdateScrollBars();
    void ApplyZoom(double zoom, QPointF anchor);
    const QImage& Reduced();

    const platform::Display& display_;
    const platform::Bitmap* bitmap_ = nullptr;
    QImage shown_;
    QImage preview_;
    QImage reduced_;  // shown_ smoothly scaled to the zoom of reduced_zoom_
    double reduced_zoom_ = 0.0;
    ImageKey shown_key_;
    bool dirty_ = true;
    std::int64_t conversions_ = 0;
    double zoom_ = 1.0;
    bool fit_ = true;
    QPoint drag_from_;
    bool dragging_ = false;
};
