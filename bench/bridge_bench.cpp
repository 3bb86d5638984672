// Reading and writing a 4000 x 3000 surface through the bridge, against a memcpy of
// the same number of bytes measured in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "core/ddb_helper.h"
#include "platform/picture_surface.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

platform::PictureSurface MakeSurface(const platform::Display& display) {
    platform::PictureSurface surface(display);
    platform::Bitmap bitmap(kWidth, kHeight, display.HeaderBitsPixel());
    auto bits = bitmap.MutableBits();
    for (std::size_t i = 0; i < bits.size(); ++i)
        bits[i] = static_cast<std::uint8_t>(i * 31 + (i >> 12));
    surface.SetPicture({bitmap, std::nullopt});
    return surface;
}

void BM_MemcpyOfTheSurface(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(0)) / 8 * kWidth * kHeight;
    std::vector<std::uint8_t> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyOfTheSurface)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);

void BM_GetBitmapPixels(benchmark::State& state) {
    platform::Display display(static_cast<int>(state.range(0)));
    auto surface = MakeSurface(display);
    core::PixelGrid grid;
    std::int16_t bits = 0;
    for (auto _ : state) {
        DDBHelper::GetBitmapPixels(surface, grid, bits);
        benchmark::DoNotOptimize(grid.Pixels().data());
    }
}
BENCHMARK(BM_GetBitmapPixels)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);

void BM_SetBitmapPixels(benchmark::State& state) {
    platform::Display display(static_cast<int>(state.range(0)));
    auto surface = MakeSurface(display);
    core::PixelGrid grid;
    std::int16_t bits = 0;
    DDBHelper::GetBitmapPixels(surface, grid, bits);
    surface.MutableImage().MutableBits();  // unshare once, as a stage's surface would be
    for (auto _ : state) {
        DDBHelper::SetBitmapPixels(surface, bits, grid);
        benchmark::DoNotOptimize(surface.Image().Bits().data());
    }
}
BENCHMARK(BM_SetBitmapPixels)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);

}  // namespace
