#pragma once
// Reads a picture file on a worker thread while the UI thread goes on handling its
// events (repaints, the progress band, a click on "Cancel"), so that opening a large
// picture never freezes the window.
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "io/picture_io.h"
#include "platform/display.h"

class BackgroundLoad {
  public:
    // Returns when the file has been read, or at once when Cancel() is called
    // meanwhile (none then; the worker's picture is dropped when it is done).
    std::optional<pictureio::LoadedPicture> Load(const QString& path,
                                                 const platform::Display& display,
                                                 std::uint32_t background);
    void Cancel();
    bool Loading() const { return quit_ != nullptr; }

  private:
    std::function<void()> quit_;
    bool cancelled_ = false;
};
