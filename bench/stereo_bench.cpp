// The stereo stages on a 4000 x 3000 picture of a 32-bit display, next to a memcpy
// of the 36 MB a grid of that picture holds.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/ddb_helper.h"
#include "core/stage_context.h"
#include "core/workspace.h"
#include "platform/display.h"
#include "stereo/added_depth_shift.h"
#include "stereo/anaglyph_composition.h"
#include "stereo/channel_masks.h"
#include "stereo/frame.h"
#include "stereo/paint_picture.h"
#include "stereo/view_synthesis.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr std::size_t kGridBytes = std::size_t{kWidth} * kHeight * 3;

template <typename PixelAt>
platform::Picture MakePicture(const platform::Display& display, PixelAt pixel_at) {
    platform::Bitmap bitmap(kWidth, kHeight, display.HeaderBitsPixel());
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* row = bitmap.MutableRow(y).data();
        for (int x = 0; x < kWidth; ++x)
            platform::Display::StorePixel(row + 4 * x, 4, display.ColorToPixel(pixel_at(x, y)));
    }
    return {std::move(bitmap), std::nullopt};
}

// A window with a picture, a depth map that crosses every band, and a run going on.
struct Window {
    Window()
        : surfaces(display),
          context{surfaces, settings, globals, progress, run, parallax},
          picture(MakePicture(display,
                              [](int x, int y) {
                                  return platform::RGB((x * 7 + y) & 255, (y * 3) & 255,
                                                       (x ^ y) & 255);
                              })),
          depth(MakePicture(display, [](int x, int y) {
              const int d = (x / 16 + y / 16) % 256;
              return platform::RGB(d, d, d);
          })) {
        settings.DoShift = true;
        settings.FrameType = 1;
        Reload();
        for (platform::PictureSurface* s :
             {&surfaces.PicRed, &surfaces.PicBlue, &surfaces.PicFinal})
            s->Resize(kWidth, kHeight);
        stereo::MakeRedOnly(context, surfaces.picOriginal, surfaces.PicRed);
        stereo::MakeCyanOnly(context, surfaces.picResult, surfaces.PicBlue);
    }
    void Reload() {
        surfaces.picOriginal.SetPicture(picture);
        surfaces.picResult.SetPicture(picture);
        surfaces.picDepth.SetPicture(depth);
    }

    platform::Display display{32};
    core::Workspace surfaces;
    core::ConversionSettings settings;
    TavsMod::Values globals;
    core::Progress progress;
    core::RunState run;
    core::ParallaxChoices parallax;
    core::StageContext context;
    platform::Picture picture;
    platform::Picture depth;
};

Window& SharedWindow() {
    static Window window;
    return window;
}

void BM_Memcpy36MB(benchmark::State& state) {
    std::vector<std::uint8_t> from(kGridBytes, 7);
    std::vector<std::uint8_t> to(kGridBytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kGridBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(kGridBytes));
}

// What every stage pays the bridge: one grid read, one write, the image assigned.
void BM_BridgeReadWrite(benchmark::State& state) {
    Window& w = SharedWindow();
    for (auto _ : state) {
        core::PixelGrid grid;  // a fresh grid per call, as every stage makes its own
        std::int16_t bits = 0;
        DDBHelper::GetBitmapPixels(w.surfaces.picResult, grid, bits);
        DDBHelper::SetBitmapPixels(w.surfaces.PicRed, bits, grid);
        w.surfaces.PicRed.AssignImageToPicture();
    }
}

void BM_MakeSecondView(benchmark::State& state) {
    Window& w = SharedWindow();
    for (auto _ : state) stereo::MakeSecondView(w.context);
}

void BM_MakeRedOnly(benchmark::State& state) {
    Window& w = SharedWindow();
    for (auto _ : state) stereo::MakeRedOnly(w.context, w.surfaces.picOriginal, w.surfaces.PicRed);
}

void BM_MakeCyanOnly(benchmark::State& state) {
    Window& w = SharedWindow();
    for (auto _ : state) stereo::MakeCyanOnly(w.context, w.surfaces.picResult, w.surfaces.PicBlue);
}

void BM_ShiftPicture(benchmark::State& state) {
    Window& w = SharedWindow();
    for (auto _ : state)
        stereo::ShiftPicture(w.context, w.surfaces.PicBlue, w.surfaces.PicBlue, w.globals.glbShift);
}

// The raster operation alone, on a destination that owns its bits.
void BM_PaintPictureOr(benchmark::State& state) {
    Window& w = SharedWindow();
    w.surfaces.PicFinal.SetPicture(w.surfaces.PicRed.ImageAsPicture());
    for (auto _ : state) stereo::PaintPictureOr(w.surfaces.PicBlue, w.surfaces.PicFinal);
}

// As the composition calls it: PicFinal's image still shares PicRed's bits, so the
// join pays for unsharing them once.
void BM_PaintPictureOrShared(benchmark::State& state) {
    Window& w = SharedWindow();
    for (auto _ : state) {
        state.PauseTiming();
        w.surfaces.PicFinal.SetPicture(w.surfaces.PicRed.ImageAsPicture());
        w.surfaces.PicFinal.AssignImageToPicture();
        state.ResumeTiming();
        stereo::PaintPictureOr(w.surfaces.PicBlue, w.surfaces.PicFinal);
    }
}

void BM_DrawFrame(benchmark::State& state) {
    Window& w = SharedWindow();
    for (auto _ : state) stereo::DrawFrame(w.context, w.surfaces.picOriginal);
}

void BM_MakeAnaglyph(benchmark::State& state) {
    Window& w = SharedWindow();
    for (auto _ : state) {
        state.PauseTiming();
        w.Reload();
        state.ResumeTiming();
        stereo::MakeAnaglyph(w.context);
    }
}

BENCHMARK(BM_Memcpy36MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BridgeReadWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeSecondView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeRedOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeCyanOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShiftPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintPictureOr)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintPictureOrShared)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeAnaglyph)->Unit(benchmark::kMillisecond);

}  // namespace
