#pragma once
// A window stand-in for conversions under test: records what the pipeline and the
// stages asked of it and lets a test act inside a chosen yield.
#include <functional>
#include <string>
#include <vector>

#include "core/conversion_host.h"
#include "core/workspace.h"
#include "platform/picture_surface.h"

namespace testing_support {

class FakeHost : public core::ConversionHost {
  public:
    void Yield() override;
    void SetBandWidth(float width) override { band_widths.push_back(width); }
    void SetBandVisible(bool) override {}
    float WindowWidth() const override { return 5160.0f; }
    void SetCommandCaption(const std::string& caption) override { command_caption = caption; }
    std::string WindowCaption() const override { return window_caption; }
    void SetWindowCaption(const std::string& caption) override {
        window_caption = caption;
        window_captions.push_back(caption);
    }
    void Reload() override;
    void EnableReload(bool) override {}

    // Reload puts this picture into picOriginal, picResult and picDepth, as a file
    // load would, when a workspace is attached.
    void AttachWorkspace(core::Workspace& workspace, platform::Picture picture);

    int yields = 0;
    std::function<void(int)> on_yield;  // called with the yield's 1-based number
    std::vector<float> band_widths;
    std::string command_caption = "Anaglyph";
    std::string window_caption = "Zarvik Fast 2D 2 3D";
    std::vector<std::string> window_captions;
    int reloads = 0;

  private:
    core::Workspace* workspace_ = nullptr;
    platform::Picture picture_;
};

}  // namespace testing_support
