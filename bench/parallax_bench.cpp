// The scaled strength against the classic conversion on the same photo-like pictures:
// the whole conversion call either way, at three sizes, so that both the ratio of the
// two and the growth with the pixel count can be read off one run. Each is run as the
// converter runs it (the anaglyph alone: "anaglyph") and as the window does (every
// view kept: "views"), and with the classic depth and the scene's ("scene": auto),
// whose smooth surfaces the warp stretches over where the colour cue's texture makes
// it fold and open holes at nearly every pixel.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_photo.h"
#include "conversion/run.h"
#include "core/large_allocations.h"
#include "core/scene_choices.h"

namespace {

// range(2): the parallax in tenths of a percent; 0 is the classic conversion.
// range(3): every view kept; range(4): the depth follows the scene.
void Convert(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const platform::Display display(32);
    const platform::Picture picture = BenchPhoto(display, width, height);
    conversion::Choices choices;
    choices.parallax.parallax_percent = static_cast<double>(state.range(2)) / 10.0;
    const bool views = state.range(3) != 0;
    if (state.range(4) != 0) choices.scene.scene = static_cast<std::int16_t>(core::Scene::kAuto);
    core::Progress progress;
    conversion::Run(picture, display, choices, progress);  // fresh pages cleared once
    for (auto _ : state) {
        const conversion::Result result =
            conversion::Run(picture, display, choices, progress, {.stage_views = views});
        benchmark::DoNotOptimize(result.views.anaglyph.bitmap.Bits().data());
    }
    state.SetItemsProcessed(state.iterations() * width * height);
}

void RegisterAll() {
    for (auto [w, h] : {std::pair{2000, 1500}, std::pair{4000, 3000}, std::pair{8000, 6000}})
        for (const int scene : {0, 1})
            for (const int views : {0, 1})
                for (const int tenths : {0, 20}) {
                    const std::string name = std::string(tenths == 0 ? "classic" : "scaled_2pct") +
                                             (views ? "/views" : "/anaglyph") +
                                             (scene ? "/scene" : "");
                    benchmark::RegisterBenchmark(name.c_str(), Convert)
                        ->Args({w, h, tenths, views, scene})
                        ->Unit(benchmark::kMillisecond)
                        ->UseRealTime();
                }
}

const int registered = (core::KeepLargeBlocksForReuse(), RegisterAll(), 0);

}  // namespace
