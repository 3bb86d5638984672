// The depth stages on a 4000 x 3000 picture at 32 bits per pixel, next to a plain
// copy of the 36 MB pixel grid as the yardstick.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "core/ddb_helper.h"
#include "core/stage_context.h"
#include "depth/blurs.h"
#include "depth/centre_depth.h"
#include "depth/gray_scale.h"
#include "depth/invert_depth.h"
#include "depth/warp_depth_map.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A photograph stand-in: smooth gradients with some grain, every pixel its own colour.
platform::Picture MakePhoto(const platform::Display& display, bool grey) {
    platform::Bitmap bitmap(kWidth, kHeight, display.HeaderBitsPixel());
    std::mt19937 random(42);
    for (int y = 0; y < kHeight; ++y) {
        auto row = bitmap.MutableRow(y);
        for (int x = 0; x < kWidth; ++x) {
            const int grain = static_cast<int>(random() % 24);
            const int r = (x * 200 / kWidth + grain) & 0xFF;
            const int g = grey ? r : (y * 220 / kHeight + grain) & 0xFF;
            const int b = grey ? r : ((x + y) * 120 / (kWidth + kHeight) + 2 * grain) & 0xFF;
            platform::Display::StorePixel(row.data() + 4 * x, 4,
                                          display.ColorToPixel(platform::RGB(r, g, b)));
        }
    }
    return {std::move(bitmap), std::nullopt};
}

struct Rig {
    Rig()
        : display(32), surfaces(display), context{surfaces, settings, globals,
                                                  progress, run,      parallax} {
        photo = MakePhoto(display, false);
        depth_map = MakePhoto(display, true);
        surfaces.picOriginal.SetPicture(photo);
        surfaces.picDepth.SetPicture(depth_map);
    }
    platform::Display display;
    core::Workspace surfaces;
    core::ConversionSettings settings;
    TavsMod::Values globals;
    core::Progress progress;
    core::RunState run;
    core::ParallaxChoices parallax;
    core::StageContext context;
    platform::Picture photo;
    platform::Picture depth_map;
};

Rig& SharedRig() {
    static Rig rig;
    return rig;
}

void SetBytes(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * std::int64_t{kWidth} * kHeight * 3);
}

void BM_MemcpyGrid(benchmark::State& state) {
    const std::size_t bytes = std::size_t{kWidth} * kHeight * 3;
    std::vector<std::uint8_t> from(bytes, 7);
    std::vector<std::uint8_t> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}
BENCHMARK(BM_MemcpyGrid)->Unit(benchmark::kMillisecond);

// What every cue pays the bridge whatever its grey: the copy of the original given
// to the depth surface, one read into a grid and one write of it.
void BM_BridgeRoundTrip(benchmark::State& state) {
    Rig& rig = SharedRig();
    auto& original = rig.surfaces.picOriginal;
    auto& depth = rig.surfaces.picDepth;
    for (auto _ : state) {
        depth.SetPicture(original.ImageAsPicture());
        core::PixelGrid grid;
        std::int16_t bits_per_pixel = 0;
        DDBHelper::GetBitmapPixels(original, grid, bits_per_pixel);
        DDBHelper::SetBitmapPixels(depth, bits_per_pixel, grid);
        depth.AssignImageToPicture();
    }
    SetBytes(state);
}
BENCHMARK(BM_BridgeRoundTrip)->Unit(benchmark::kMillisecond);

void BM_Cue(benchmark::State& state) {
    Rig& rig = SharedRig();
    auto& original = rig.surfaces.picOriginal;
    auto& depth = rig.surfaces.picDepth;
    const auto cue = static_cast<int>(state.range(0));
    for (auto _ : state) {
        switch (cue) {
            case 0:
                GrayScale::GrayFromMean(rig.context, original, depth);
                break;
            case 1:
                GrayScale::GrayFromWeights(rig.context, original, depth);
                break;
            case 2:
                GrayScale::GrayFromColor(rig.context, original, depth, 3);
                break;
            case 3:
                GrayScale::GrayFromLightness(rig.context, original, depth);
                break;
            case 4:
                GrayScale::GrayFromMaximum(rig.context, original, depth);
                break;
            default:
                GrayScale::GrayFromBands(rig.context, original, depth);
                break;
        }
    }
    SetBytes(state);
}
BENCHMARK(BM_Cue)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// A stage that works on the depth map in place, each run from the same map.
template <class Stage>
void RunOnDepthMap(benchmark::State& state, Stage stage) {
    Rig& rig = SharedRig();
    for (auto _ : state) {
        state.PauseTiming();
        rig.surfaces.picDepth.SetPicture(rig.depth_map);
        state.ResumeTiming();
        stage(rig);
    }
    SetBytes(state);
}

void BM_InvertDepth(benchmark::State& state) {
    RunOnDepthMap(state, [](Rig& rig) { depth::InvertDepth(rig.context); });
}
BENCHMARK(BM_InvertDepth)->Unit(benchmark::kMillisecond);

// Two polled passes: counting and mapping.
void BM_CentreDepth(benchmark::State& state) {
    RunOnDepthMap(state, [](Rig& rig) { depth::CentreDepth(rig.context); });
}
BENCHMARK(BM_CentreDepth)->Unit(benchmark::kMillisecond);

// What every filter pays the bridge: the destination sized and given the source's
// picture, two reads and one write.
void BM_FilterBridge(benchmark::State& state) {
    RunOnDepthMap(state, [](Rig& rig) {
        auto& map = rig.surfaces.picDepth;
        map.SetHeight(map.Height());
        map.SetWidth(map.Width());
        map.SetPicture(map.ImageAsPicture());
        core::PixelGrid input;
        core::PixelGrid output;
        std::int16_t bits_per_pixel = 0;
        DDBHelper::GetBitmapPixels(map, input, bits_per_pixel);
        DDBHelper::GetBitmapPixels(map, output, bits_per_pixel);
        DDBHelper::SetBitmapPixels(map, bits_per_pixel, output);
        map.AssignImageToPicture();
    });
}
BENCHMARK(BM_FilterBridge)->Unit(benchmark::kMillisecond);

void BM_Filter(benchmark::State& state) {
    const auto choice = state.range(0);
    RunOnDepthMap(state, [choice](Rig& rig) {
        auto& map = rig.surfaces.picDepth;
        switch (choice) {
            case 1:
                Blurs::SmereDepth(rig.context, map);
                break;
            case 2:
                Blurs::BlurDepth(rig.context, map, map);
                break;
            case 3:
                Blurs::MeanDepth(rig.context, map, map);
                break;
            case 4:
                Blurs::MedianDepth(rig.context, map, map);
                break;
            default:
                Blurs::MaxDepth(rig.context, map, map);
                break;
        }
    });
}
BENCHMARK(BM_Filter)->DenseRange(1, 5)->Unit(benchmark::kMillisecond);

void BM_Warp(benchmark::State& state) {
    const auto warp = static_cast<std::int16_t>(state.range(0));
    RunOnDepthMap(state, [warp](Rig& rig) {
        rig.globals.glbWarp = warp;
        depth::WarpDepthMap(rig.context, rig.surfaces.picDepth);
    });
}
BENCHMARK(BM_Warp)->Arg(1)->Arg(24)->Arg(100)->Arg(-3)->Unit(benchmark::kMillisecond);

}  // namespace
