// 32-bit pixels to grid cells and back, with and without streaming stores, for runs
// of every length up to a few vector blocks and from every alignment of the output,
// against a byte-by-byte statement of the layout.
#include "core/rows32.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

using core::PixelTriple;

std::vector<std::uint8_t> RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> bytes(count);
    for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(rng());
    return bytes;
}

// Room around the run, filled with a marker that must survive.
constexpr std::size_t kSlack = 64;
constexpr std::uint8_t kMarker = 0xA5;

using core::rows32::Instructions;

// Streaming stores or not, and the instructions used.
class Rows32Test : public ::testing::TestWithParam<std::tuple<bool, Instructions>> {};

TEST_P(Rows32Test, DecodeKeepsBlueGreenRedAndDropsTheFourthByte) {
    const auto [streaming, instructions] = GetParam();
    for (std::size_t count = 0; count <= 70; ++count) {
        for (std::size_t offset = 0; offset < 16; ++offset) {
            const auto in = RandomBytes(4 * count, static_cast<unsigned>(count * 31 + offset));
            std::vector<std::uint8_t> out(3 * count + 2 * kSlack, kMarker);
            auto* cells = reinterpret_cast<PixelTriple*>(out.data() + kSlack + offset);
            core::rows32::Decode(in.data(), cells, count, streaming, instructions);
            for (std::size_t i = 0; i < out.size(); ++i) {
                const std::size_t at = i - kSlack - offset;
                const bool inside = i >= kSlack + offset && at < 3 * count;
                const std::uint8_t expected = inside ? in[at / 3 * 4 + at % 3] : kMarker;
                ASSERT_EQ(out[i], expected)
                    << count << " pixels, offset " << offset << ", byte " << i;
            }
        }
    }
}

TEST_P(Rows32Test, EncodeWritesBlueGreenRedAndAZero) {
    const auto [streaming, instructions] = GetParam();
    for (std::size_t count = 0; count <= 70; ++count) {
        for (std::size_t offset = 0; offset < 16; ++offset) {
            const auto in = RandomBytes(3 * count, static_cast<unsigned>(count * 17 + offset));
            std::vector<std::uint8_t> out(4 * count + 2 * kSlack, kMarker);
            core::rows32::Encode(reinterpret_cast<const PixelTriple*>(in.data()),
                                 out.data() + kSlack + offset, count, streaming, instructions);
            for (std::size_t i = 0; i < out.size(); ++i) {
                const std::size_t at = i - kSlack - offset;
                const bool inside = i >= kSlack + offset && at < 4 * count;
                const std::uint8_t expected = !inside       ? kMarker
                                              : at % 4 == 3 ? 0
                                                            : in[at / 4 * 3 + at % 4];
                ASSERT_EQ(out[i], expected)
                    << count << " pixels, offset " << offset << ", byte " << i;
            }
        }
    }
}

TEST_P(Rows32Test, ALongRunGoesThereAndBack) {
    const auto [streaming, instructions] = GetParam();
    constexpr std::size_t kCount = 100003;
    auto pixels = RandomBytes(4 * kCount, 3);
    for (std::size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 0;
    std::vector<PixelTriple> cells(kCount);
    core::rows32::Decode(pixels.data(), cells.data(), kCount, streaming, instructions);
    std::vector<std::uint8_t> back(4 * kCount, kMarker);
    core::rows32::Encode(cells.data(), back.data(), kCount, streaming, instructions);
    EXPECT_EQ(back, pixels);
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
