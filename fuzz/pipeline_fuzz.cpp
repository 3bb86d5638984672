// The whole conversion on small random pictures with random settings, stored values
// outside their ranges included, on a random display format, with a random cancel.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "conversion/run.h"

namespace {

constexpr int kDepths[] = {8, 15, 16, 24, 32};

// Cancels at one chosen yield, as a user choosing "Cancel" would, and checks that
// the steps that poll no rows are marked in pairs.
class CancellingProgress : public core::Progress {
  public:
    explicit CancellingProgress(int cancel_at) : cancel_at_(cancel_at) {}
    void Yield() override {
        if (++yields_ == cancel_at_) Cancel();
    }
    void LongStep(bool begins) override {
        if (begins == in_long_step_) std::abort();
        in_long_step_ = begins;
    }
    bool InLongStep() const { return in_long_step_; }

  private:
    int cancel_at_;
    int yields_ = 0;
    bool in_long_step_ = false;
};

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

    const std::vector<std::uint8_t> original(picture.bitmap.Bits().begin(),
                                             picture.bitmap.Bits().end());
    CancellingProgress progress(cancel_at);
    const conversion::Result result =
        conversion::Run(picture, display, conversion::Choices{settings, globals}, progress);

    if (progress.InLongStep()) std::abort();
    if (!std::equal(original.begin(), original.end(), picture.bitmap.Bits().begin())) std::abort();
    if (result.outcome == conversion::Outcome::kFailed) std::abort();  // nothing here may fail
    if (result.outcome == conversion::Outcome::kConverted) {
        const platform::Bitmap& anaglyph = result.views.anaglyph.bitmap;
        if (anaglyph.Width() != width || anaglyph.Height() != height) std::abort();
    } else if (!progress.Cancelled()) {
        std::abort();
    }
    return 0;
}
