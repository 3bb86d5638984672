#pragma once
// Shows one bitmap (a surface's image, or the opened picture) fitted to the view or at
// a chosen zoom, with scroll bars and dragging to pan when it is larger than the view.
//
// Zoom counts picture pixels per device pixel, so "Actual Size" is one picture pixel to
// one screen pixel also on a high-density screen, where a logical pixel would be
// blocky. A reduced picture is scaled smoothly once per zoom and kept; an enlarged one
// is drawn pixel by pixel, only the part in view.
//
// What is painted is made from the bitmap only when it has changed, or the zoom has,
// since the last time: the whole bitmap as a QImage for zooms of 1 and more, the bitmap
// reduced to the zoom below. For a large bitmap that costs a tenth of a second or more,
// so it is made on a worker thread while the view goes on painting what it showed
// before (stretched to the new place) and the window stays responsive.
#include <QAbstractScrollArea>
#include <QFutureWatcher>
#include <QImage>
#include <QPoint>
#include <cstdint>
#include <memory>

#include "platform/bitmap.h"
#include "platform/display.h"

class QPainter;

class PictureView : public QAbstractScrollArea {
    Q_OBJECT

  public:
    static constexpr double kMinZoom = 1.0 / 32.0;
    static constexpr double kMaxZoom = 32.0;

    PictureView(const platform::Display& display, QWidget* parent);
    // Waits for a picture being made on a worker: it reads the bitmap.
    ~PictureView() override;

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
    // What is to be painted is being made on a worker; until it is, the view paints
    // what it showed before.
    bool Preparing() const { return job_ != nullptr; }
    // How many times the bitmap has been made into what is painted.
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
    // Which bitmap, in which state, made into what for which zoom (0: whole, unscaled).
    struct ImageKey {
        const std::uint8_t* bits = nullptr;
        int width = -1;
        int height = -1;
        int bits_pixel = -1;
        std::int64_t changes = -1;
        double zoom = -1.0;
        friend bool operator==(const ImageKey&, const ImageKey&) = default;
    };
    ImageKey KeyOfBitmap() const;
    // The key of what the view should paint now.
    ImageKey WantedKey() const;
    double DevicePixelRatio() const;
    double FitZoom();
    // Where the picture's top left lies in viewport coordinates.
    QPointF Origin();
    void UpdateScrollBars();
    void ApplyZoom(double zoom, QPointF anchor);
    // Makes what is painted for the wanted key, at once for a small bitmap and on a
    // worker for a large one; true when it is there to paint.
    bool Prepared();
    void PrepareOnWorker(const ImageKey& wanted);
    void JobDone();
    void PaintEnlarged(QPainter& painter, const QRect& area, QPointF origin);

    const platform::Display& display_;
    const platform::Bitmap* bitmap_ = nullptr;
    std::int64_t changes_ = 0;  // BitmapChanged() calls: a bitmap drawn on in place
    QImage shown_;              // the whole bitmap, for ShownImage()
    ImageKey shown_key_;
    QImage painted_;  // the whole bitmap (zoom 1 and more) or its reduction to the zoom
    ImageKey painted_key_;
    // The last picture painted, stretched into place while its successor is made.
    QImage on_screen_;
    QImage preview_;
    std::unique_ptr<QFutureWatcher<QImage>> job_;
    ImageKey job_key_;
    std::int64_t conversions_ = 0;
    double zoom_ = 1.0;
    bool fit_ = true;
    QPoint drag_from_;
    bool dragging_ = false;
};
