// The classic depth stages (cue, inversion, centring) against the same stages followed
// by the scene depth that "auto" adds, at three sizes up to 4000 x 3000 (12 MP), on a
// 32-bit display: the scene depth should cost at most half the classic stages again,
// and grow with the pixel count.
#include <benchmark/benchmark.h>

#include <random>

#include "conversion/standard_stages.h"
#include "core/large_allocations.h"
#include "core/row_blocks.h"
#include "core/stage_context.h"
#include "depth/scene_depth.h"

namespace {

// A photograph stand-in: a sky-blue top half over a grainy ground, every pixel its own
// colour, so that "auto" finds a sky and does all its work.
platform::Picture MakePhoto(const platform::Display& display, int width, int height) {
    platform::Bitmap bitmap(width, height, display.HeaderBitsPixel());
    std::mt19937 random(42);
    for (int y = 0; y < height; ++y) {
        auto row = bitmap.MutableRow(y);
        for (int x = 0; x < width; ++x) {
            const int grain = static_cast<int>(random() % 24);
            const bool sky = y < height / 2;
            const int r = sky ? 120 + y * 40 / height : 90 + grain + x * 60 / width;
            const int g = sky ? 160 + y * 40 / height : 80 + grain;
            const int b = sky ? 225 : 50 + grain;
            platform::Display::StorePixel(row.data() + 4 * x, 4,
                                          display.ColorToPixel(platform::RGB(r, g, b)));
        }
    }
    return {std::move(bitmap), std::nullopt};
}

struct Rig {
    Rig(int width, int height)
        : surfaces(display),
          context{surfaces, settings, globals, progress, run, parallax},
          photo(MakePhoto(display, width, height)) {}
    void Load() {
        surfaces.picOriginal.SetPicture(photo);
        surfaces.picDepth.SetPicture(photo);
    }
    void ClassicStages() {
        const conversion::StageTable& stages = conversion::StandardStages();
        stages.cues[0](context);
        stages.invert(context);
        stages.centre(context);
    }
    platform::Display display{32};
    core::Workspace surfaces;
    core::ConversionSettings settings;
    TavsMod::Values globals;
    core::Progress progress;
    core::RunState run;
    core::ParallaxChoices parallax;
    core::StageContext context;
    platform::Picture photo;
};

void Run(benchmark::State& state, bool scene) {
    const auto width = static_cast<int>(state.range(0));
    const int height = width * 3 / 4;
    Rig rig(width, height);
    const auto stages = [&] {
        rig.ClassicStages();
        if (scene) depth::SceneDepth(rig.context, core::Scene::kAuto);
    };
    rig.Load();
    stages();  // the blocks of a first run, which a program's later runs reuse
    for (auto _ : state) {
        state.PauseTiming();
        rig.Load();
        state.ResumeTiming();
        stages();
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t{width} * height);
    state.counters["MP"] = width * static_cast<double>(height) / 1e6;
}

void BM_ClassicDepthStages(benchmark::State& state) {
    Run(state, false);
}
void BM_AutoDepthStages(benchmark::State& state) {
    Run(state, true);
}
// The stages run on every core: wall-clock time decides the iterations, and the CPU
// column sums all threads, which on a shared machine is the steadier of the two.
void Sizes(benchmark::internal::Benchmark* run) {
    run->Arg(1000)->Arg(2000)->Arg(4000);
    run->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
}
BENCHMARK(BM_ClassicDepthStages)->Apply(Sizes);
BENCHMARK(BM_AutoDepthStages)->Apply(Sizes);

// As the programs start: freed blocks stay with the heap for the next run, so fresh
// pages cleared by the kernel are not what is timed, and the row threads run already.
const int started = (core::KeepLargeBlocksForReuse(), core::StartRowThreads(), 0);

}  // namespace
