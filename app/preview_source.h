#pragma once
// The opened picture reduced to the size it is shown at, which the live result's
// previews convert. Reducing twelve megapixels takes longer than converting the
// reduction, and every preview of the same picture at the same size would make the
// same one again: the first preview makes it, on its worker, and the later ones reuse it.
#include <QSize>
#include <mutex>
#include <optional>

#include "platform/display.h"
#include "platform/picture_surface.h"

class PreviewSource {
  public:
    // Safe on any thread; two callers wanting the same reduction may both make it.
    platform::Picture Reduced(const platform::Picture& picture, QSize size,
                              const platform::Display& display);
    // Lets go of the kept reduction and of the picture it was made from.
    void Forget();

  private:
    std::mutex mutex_;
    platform::Bitmap made_from_;  // shares the bytes of the picture reduced
    QSize size_;
    std::optional<platform::Picture> reduced_;
};
