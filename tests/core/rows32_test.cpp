// 32-bit pixels to grid cells and back, with and without streaming stores, for runs
// of every length up to a few vector blocks and from every alignment of the output,
// against a byte-by-byte statement of the layout.
#include "core/rows32.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/every_run.h"

namespace {

using byte_runs::CheckEveryRun;
using core::PixelTriple;
using core::rows32::Instructions;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kLongest = 70;  // pixels: four blocks of sixteen and a tail

// Streaming stores or not, and the instructions used.
class Rows32Test : public ::testing::TestWithParam<std::tuple<bool, Instructions>> {};

TEST_P(Rows32Test, DecodeDropsTheFourthByteAndEncodeWritesItZero) {
    const bool streaming = std::get<0>(GetParam());
    const Instructions instructions = std::get<1>(GetParam());
    std::mt19937 rng(3);
    Bytes pixels(4 * kLongest);  // random fourth bytes too
    for (std::uint8_t& b : pixels) b = static_cast<std::uint8_t>(rng());
    Bytes cells, encoded;
    for (std::size_t p = 0; p < kLongest; ++p) {
        cells.insert(cells.end(), &pixels[4 * p], &pixels[4 * p + 3]);
        encoded.insert(encoded.end(), {pixels[4 * p], pixels[4 * p + 1], pixels[4 * p + 2], 0});
    }
    CheckEveryRun(cells, 3, [&](std::uint8_t* out, std::size_t count) {
        core::rows32::Decode(pixels.data(), reinterpret_cast<PixelTriple*>(out), count, streaming,
                             instructions);
    });
    CheckEveryRun(encoded, 4, [&](std::uint8_t* out, std::size_t count) {
        core::rows32::Encode(reinterpret_cast<const PixelTriple*>(cells.data()), out, count,
                             streaming, instructions);
    });
}

INSTANTIATE_TEST_SUITE_P(
    StoresAndInstructions, Rows32Test,
    ::testing::Combine(::testing::Bool(),
                       ::testing::Values(Instructions::kBest, Instructions::kBaseline)),
    [](const ::testing::TestParamInfo<std::tuple<bool, Instructions>>& info) {
        return std::string(std::get<0>(info.param) ? "Streaming" : "Ordinary") +
               (std::get<1>(info.param) == Instructions::kBest ? "Best" : "Baseline");
    });

}  // namespace
