// The whole conversion on small random pictures with random settings, stored values
// outside their ranges included, on a random display format, with a random cancel.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <vector>

#include "conversion/headless_host.h"
#include "conversion/standard_stages.h"

namespace {

constexpr int kDepths[] = {8, 15, 16, 24, 32};

// Clicks the command again at one chosen yield, as a user choosing "Cancel" would.
class CancellingHost : public conversion::HeadlessHost {
public:
    using HeadlessHost::HeadlessHost;
    void Yield() override {
        if (++yields_ == cancel_at_ && command_) {
            command_->mnuAnaglyph_Click();
            cancelled_ = true;
        }
    }
    bool Cancelled() const { return cancelled_; }
    void Arm(conversion::AnaglyphCommand* command, int cancel_at) {
        command_ = command;
        cancel_at_ = cancel_at;
    }

private:
    conversion::AnaglyphCommand* command_ = nullptr;
    int cancel_at_ = 0;
    int yields_ = 0;
    bool cancelled_ = false;
};

std::vector<platform::Rgb> Colors(const platform::PictureSurface& surface) {
    std::vector<platform::Rgb> colors;
    for (int y = 0; y < surface.ScaleHeight(); ++y)
        for (int x = 0; x < surface.ScaleWidth(); ++x) colors.push_back(surface.Point(x, y));
    return colors;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    platform::Display display(in.PickValueInArray(kDepths));
    const int width = in.ConsumeIntegralInRange(0, 24);
    const int height = in.ConsumeIntegralInRange(0, 24);

    core::ConversionSettings settings;
    settings.DepthCue = in.ConsumeIntegralInRange<std::int16_t>(-2, 7);
    settings.CueColor = in.ConsumeIntegralInRange<std::int16_t>(-2, 7);
    settings.BlurChoice = in.ConsumeIntegralInRange<std::int16_t>(-1, 9);
    settings.Lens = in.ConsumeIntegralInRange<std::int16_t>(-1, 2);
    settings.FrameColor = in.ConsumeIntegralInRange<std::int16_t>(-1, 2);
    settings.ShowFrame = in.ConsumeIntegralInRange<std::int16_t>(0, 1);
    settings.FrameType = in.ConsumeIntegralInRange<std::int16_t>(-1, 2);
    settings.DoWarp = in.ConsumeBool();
    settings.DoShift = in.ConsumeBool();
    TavsMod::Values globals;
    globals.glbWarp = in.ConsumeBool() ? in.ConsumeIntegral<std::int16_t>()
                                       : in.ConsumeIntegralInRange<std::int16_t>(-3, 100);
    globals.glbShift = in.ConsumeBool() ? in.ConsumeIntegral<std::int16_t>()
                                        : in.ConsumeIntegralInRange<std::int16_t>(-30, 30);
    for (auto& level : globals.Depth) level = in.ConsumeIntegralInRange<std::int16_t>(-300, 300);
    const int cancel_at = in.ConsumeIntegralInRange(0, 200);

    platform::Bitmap bitmap(width, height, display.HeaderBitsPixel());
    for (auto& b : bitmap.MutableBits()) b = in.ConsumeIntegral<std::uint8_t>();
    platform::Picture picture{bitmap, std::nullopt};
    if (display.Layout() == platform::PixelLayout::Indexed8)
        picture.palette = platform::Palette(display.SystemPalette());

    core::Workspace surfaces(display);
    CancellingHost host(surfaces, picture);
    host.Reload();
    const auto original = Colors(surfaces.picOriginal);
    conversion::AnaglyphCommand command({surfaces, settings, globals, host}, conversion::StandardStages());
    host.Arm(&command, cancel_at);
    command.mnuAnaglyph_Click();

    if (surfaces.picOriginal.ScaleWidth() != width || surfaces.picOriginal.ScaleHeight() != height)
        std::abort();
    if (globals.glbBusy != 0 || command.Running()) std::abort();
    if (host.WindowCaption() != "Zarvik") std::abort();
    // A cancelled run leaves the picture as it was loaded.
    if (host.Cancelled() && Colors(surfaces.picOriginal) != original) std::abort();
    return 0;
}
