#pragma once
// A host without a window, for batch conversions: the yield does nothing, and a
// reload puts the picture it was given back on the three surfaces a file load fills.
#include <string>

#include "core/conversion_host.h"
#include "core/workspace.h"
#include "platform/picture_surface.h"

namespace core {

class HeadlessHost : public ConversionHost {
public:
    HeadlessHost(Workspace& surfaces, platform::Picture picture);

    void Yield() override {}
    void SetBandWidth(float /*width*/) override {}
    void SetBandVisible(bool /*visible*/) override {}
    // As wide as a window that just holds the picture.
    float WindowWidth() const override;
    void SetCommandCaption(const std::string& /*caption*/) override {}
    std::string WindowCaption() const override { return caption_; }
    void SetWindowCaption(const std::string& caption) override { caption_ = caption; }
    void Reload() override;
    void EnableReload(bool /*enabled*/) override {}

private:
    Workspace& surfaces_;
    platform::Picture picture_;
    std::string caption_ = "Zarvik";
};

}  // namespace core
