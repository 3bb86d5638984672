#include "core/conversion/headless_host.h"

namespace core {

HeadlessHost::HeadlessHost(Workspace& surfaces, platform::Picture picture)
    : surfaces_(surfaces), picture_(std::move(picture)) {}

float HeadlessHost::WindowWidth() const {
    return static_cast<float>(10 + surfaces_.picOriginal.Width() + 95);
}

void HeadlessHost::Reload() {
    surfaces_.picOriginal.SetPicture(picture_);
    surfaces_.picResult.SetPicture(picture_);
    surfaces_.picDepth.SetPicture(picture_);
}

}  // namespace core
