// The hand-written vector code against the plain loops it stands for
// (simd_plain_loops.h), measured in the same run at 4000 x 3000 and at 256 x 128, a
// picture that stays in the caches. Each benchmark first checks that its loop writes
// the same bytes as the plain one at core's flags.
//   hand           the library's loop as the program calls it
//   hand_baseline  rows32's SSE2 blocks, what a processor without SSSE3 runs
//   plain          the plain loop under its library's flags
//   plain_O3       rows32's plain loops under depth's flags, -O3 and vector clones
//   plain_baseline the plain mean row without vector clones
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "bench/simd_plain_loops.h"
#include "core/rows32.h"
#include "depth/mean_of_three_row.h"
#include "platform/streaming.h"

namespace {

using core::PixelTriple;
using Bytes = std::vector<std::uint8_t>;
using Cells = std::vector<PixelTriple>;
using DecodeLoop = void (*)(const std::uint8_t*, PixelTriple*, std::size_t);
using EncodeLoop = void (*)(const PixelTriple*, std::uint8_t*, std::size_t);
using RowLoop = void (*)(PixelTriple*, int);

// The size of the benchmark pictures, and one that stays in the caches.
void Sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgNames({"width", "height"})->Args({4000, 3000})->Args({256, 128});
    benchmark->Unit(benchmark::kMicrosecond);
}

std::size_t Count(const benchmark::State& state) {
    return static_cast<std::size_t>(state.range(0) * state.range(1));
}

Bytes RandomBytes(std::size_t count) {
    std::mt19937 random(7);
    Bytes bytes(count);
    for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(random());
    return bytes;
}

Cells RandomCells(std::size_t count) {
    const Bytes bytes = RandomBytes(3 * count);
    Cells cells(count);
    std::memcpy(cells.data(), bytes.data(), bytes.size());
    return cells;
}

// The program streams the stores of a run worth streaming (see core/ddb_helper.cpp).
void DecodeAsCalled(const std::uint8_t* in, PixelTriple* out, std::size_t count) {
    core::rows32::Decode(in, out, count, platform::streaming::Worthwhile(3 * count));
}
void DecodeBaseline(const std::uint8_t* in, PixelTriple* out, std::size_t count) {
    core::rows32::Decode(in, out, count, platform::streaming::Worthwhile(3 * count),
                         core::rows32::Instructions::kBaseline);
}
void EncodeAsCalled(const PixelTriple* in, std::uint8_t* out, std::size_t count) {
    core::rows32::Encode(in, out, count, platform::streaming::Worthwhile(4 * count));
}
void EncodeBaseline(const PixelTriple* in, std::uint8_t* out, std::size_t count) {
    core::rows32::Encode(in, out, count, platform::streaming::Worthwhile(4 * count),
                         core::rows32::Instructions::kBaseline);
}

void Decode(benchmark::State& state, DecodeLoop loop) {
    const std::size_t count = Count(state);
    const Bytes pixels = RandomBytes(4 * count);
    Cells out(count), expected(count);
    loop(pixels.data(), out.data(), count);
    plain_o2::Decode(pixels.data(), expected.data(), count);
    if (out != expected) state.SkipWithError("not the plain loop's bytes");
    for (auto _ : state) {
        loop(pixels.data(), out.data(), count);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * count * 7));
}
BENCHMARK_CAPTURE(Decode, hand, DecodeAsCalled)->Apply(Sizes);
BENCHMARK_CAPTURE(Decode, hand_baseline, DecodeBaseline)->Apply(Sizes);
BENCHMARK_CAPTURE(Decode, plain, plain_o2::Decode)->Apply(Sizes);
BENCHMARK_CAPTURE(Decode, plain_O3, plain_o3::Decode)->Apply(Sizes);

void Encode(benchmark::State& state, EncodeLoop loop) {
    const std::size_t count = Count(state);
    const Cells cells = RandomCells(count);
    Bytes out(4 * count), expected(4 * count);
    loop(cells.data(), out.data(), count);
    plain_o2::Encode(cells.data(), expected.data(), count);
    if (out != expected) state.SkipWithError("not the plain loop's bytes");
    for (auto _ : state) {
        loop(cells.data(), out.data(), count);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * count * 7));
}
BENCHMARK_CAPTURE(Encode, hand, EncodeAsCalled)->Apply(Sizes);
BENCHMARK_CAPTURE(Encode, hand_baseline, EncodeBaseline)->Apply(Sizes);
BENCHMARK_CAPTURE(Encode, plain, plain_o2::Encode)->Apply(Sizes);
BENCHMARK_CAPTURE(Encode, plain_O3, plain_o3::Encode)->Apply(Sizes);

// Row by row, in place, as the channel-mean cue runs it; from the second pass on the
// cells are grey already, which changes nothing for loops without branches.
void RunRows(RowLoop loop, Cells& cells, int width, int height) {
    for (int y = 0; y < height; ++y)
        loop(cells.data() + static_cast<std::size_t>(y) * width, width);
}

void MeanOfThreeRow(benchmark::State& state, RowLoop loop) {
    const auto width = static_cast<int>(state.range(0));
    const auto height = static_cast<int>(state.range(1));
    Cells cells = RandomCells(Count(state));
    Cells expected = cells;
    RunRows(loop, cells, width, height);
    RunRows(plain_o2::MeanOfThreeRow, expected, width, height);
    if (cells != expected) state.SkipWithError("not the plain loop's bytes");
    for (auto _ : state) {
        RunRows(loop, cells, width, height);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Count(state) * 6));
}
BENCHMARK_CAPTURE(MeanOfThreeRow, hand, GrayScale::detail::MeanOfThreeRow)->Apply(Sizes);
BENCHMARK_CAPTURE(MeanOfThreeRow, plain, plain_o3::MeanOfThreeRow)->Apply(Sizes);
BENCHMARK_CAPTURE(MeanOfThreeRow, plain_baseline, plain_o3_baseline::MeanOfThreeRow)->Apply(Sizes);

}  // namespace
