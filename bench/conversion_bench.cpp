// Whole conversions at several picture sizes and with every option, each against a
// memcpy of the picture's RGB grid (width x height x 3 bytes) measured in the same
// run. The per-stage shares of the default conversion are reported as counters.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstring>
#include <vector>

#include "bench/bench_photo.h"
#include "conversion/run.h"
#include "conversion/standard_stages.h"
#include "core/large_allocations.h"

namespace {

void MemcpyOfTheGrid(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(0)) * state.range(1) * 3;
    std::vector<std::uint8_t> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

// The stage table with every entry timed, so that a run can report each stage's share.
constexpr int kSlots = 20;
std::array<conversion::Stage, kSlots> inner{};
std::array<double, kSlots> seconds{};

template <int Slot>
void Timed(core::StageContext& context) {
    const auto start = std::chrono::steady_clock::now();
    inner[Slot](context);
    seconds[Slot] +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <int... Slots>
conversion::StageTable TimedTable(std::integer_sequence<int, Slots...>) {
    conversion::StageTable table = conversion::StandardStages();
    std::array<conversion::Stage*, kSlots> entries{};
    int n = 0;
    for (auto& cue : table.cues) entries[n++] = &cue;
    for (auto* stage : {&table.invert, &table.centre, &table.warp}) entries[n++] = stage;
    for (auto& blur : table.blurs) entries[n++] = &blur;
    entries[n++] = &table.anaglyph;
    entries[n++] = &table.frame;
    entries[n++] = &table.scaled_anaglyph;
    constexpr std::array<conversion::Stage, kSlots> timed = {Timed<Slots>...};
    for (int i = 0; i < n; ++i) {
        inner[static_cast<std::size_t>(i)] = *entries[static_cast<std::size_t>(i)];
        if (*entries[static_cast<std::size_t>(i)])
            *entries[static_cast<std::size_t>(i)] = timed[static_cast<std::size_t>(i)];
    }
    return table;
}

constexpr const char* kSlotNames[kSlots] = {
    "cue0",  "cue1", "cue2", "cue3",   "cue4", "cue5",     "invert", "centre", "warp", "blur0",
    "smere", "blur", "mean", "median", "max",  "anaglyph", "frame",  "views",  "",     ""};

struct Option {
    const char* name;
    void (*apply)(conversion::Choices&);
};

void Convert(benchmark::State& state, const Option& option) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    platform::Display display(32);
    const platform::Picture picture = BenchPhoto(display, width, height);
    conversion::Choices choices;
    option.apply(choices);
    const conversion::StageTable table = TimedTable(std::make_integer_sequence<int, kSlots>{});
    core::Progress progress;
    // One conversion first: the very first run of a size touches fresh memory, which the
    // kernel clears page by page, and a single timed run of the largest size would be
    // only that.
    conversion::Run(picture, display, choices, progress, table);
    seconds.fill(0.0);
    for (auto _ : state) {
        const conversion::Result result =
            conversion::Run(picture, display, choices, progress, table);
        benchmark::DoNotOptimize(result.views.anaglyph.bitmap.Bits().data());
    }
    double total = 0;
    for (double s : seconds) total += s;
    for (int i = 0; i < kSlots; ++i)
        if (seconds[static_cast<std::size_t>(i)] > 0)
            state.counters[std::string("share_") + kSlotNames[i]] =
                seconds[static_cast<std::size_t>(i)] / total;
    state.SetItemsProcessed(state.iterations() * width * height);
}

const Option kOptions[] = {
    {"default", [](conversion::Choices&) {}},
    {"cue_weights", [](conversion::Choices& c) { c.settings.DepthCue = 1; }},
    {"cue_green",
     [](conversion::Choices& c) {
         c.settings.DepthCue = 2;
         c.settings.CueColor = 1;
     }},
    {"cue_yellow",
     [](conversion::Choices& c) {
         c.settings.DepthCue = 2;
         c.settings.CueColor = 3;
     }},
    {"cue_luminance", [](conversion::Choices& c) { c.settings.DepthCue = 3; }},
    {"cue_saturation", [](conversion::Choices& c) { c.settings.DepthCue = 4; }},
    {"cue_bands", [](conversion::Choices& c) { c.settings.DepthCue = 5; }},
    {"smere", [](conversion::Choices& c) { c.settings.BlurChoice = 1; }},
    {"blur", [](conversion::Choices& c) { c.settings.BlurChoice = 2; }},
    {"mean", [](conversion::Choices& c) { c.settings.BlurChoice = 3; }},
    {"median", [](conversion::Choices& c) { c.settings.BlurChoice = 4; }},
    {"max", [](conversion::Choices& c) { c.settings.BlurChoice = 5; }},
    {"warp_1",
     [](conversion::Choices& c) {
         c.settings.DoWarp = true;
         c.values.glbWarp = 1;
     }},
    {"warp_100",
     [](conversion::Choices& c) {
         c.settings.DoWarp = true;
         c.values.glbWarp = 100;
     }},
    {"added_depth", [](conversion::Choices& c) { c.settings.DoShift = true; }},
    {"frame_full",
     [](conversion::Choices& c) {
         c.settings.ShowFrame = 1;
         c.settings.FrameType = 1;
     }},
    {"blue_red", [](conversion::Choices& c) { c.settings.Lens = 1; }},
};

// The scaled strength, measured at every size beside the default conversion.
const Option kScaled = {"scaled_2pct",
                        [](conversion::Choices& c) { c.parallax.parallax_percent = 2.0; }};

void RegisterAll() {
    for (auto [w, h] : {std::pair{1000, 750}, std::pair{4000, 3000}, std::pair{8000, 6000}}) {
        benchmark::RegisterBenchmark("memcpy_grid", MemcpyOfTheGrid)
            ->Args({w, h})
            ->Unit(benchmark::kMillisecond);
        for (const Option* option : {&kOptions[0], &kScaled})
            benchmark::RegisterBenchmark((std::string("convert/") + option->name).c_str(), Convert,
                                         *option)
                ->Args({w, h})
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
    }
    for (const auto& option : kOptions) {
        if (&option == &kOptions[0]) continue;
        benchmark::RegisterBenchmark((std::string("convert/") + option.name).c_str(), Convert,
                                     option)
            ->Args({4000, 3000})
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
}

// The programs tune the allocator at start; the benchmark measures them as they run.
const int registered = (core::KeepLargeBlocksForReuse(), RegisterAll(), 0);

}  // namespace
