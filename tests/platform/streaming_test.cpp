// The streaming byte runs against byte-by-byte statements of what they write, for
// every length up to a few vectors and every alignment of the output.
#include "platform/streaming.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/support/every_run.h"

namespace {

using byte_runs::CheckEveryRun;
using Bytes = std::vector<std::uint8_t>;

class StreamingTest : public ::testing::TestWithParam<bool> {};

TEST_P(StreamingTest, OrBytesOrsEachByteAndNothingElse) {
    const bool stream = GetParam();
    std::mt19937 rng(1);
    Bytes from(80), onto(80), ored(80);
    for (std::size_t i = 0; i < 80; ++i) {
        from[i] = static_cast<std::uint8_t>(rng());
        onto[i] = static_cast<std::uint8_t>(rng());
        ored[i] = from[i] | onto[i];
    }
    CheckEveryRun(ored, 1, [&](std::uint8_t* to, std::size_t count) {
        platform::streaming::OrBytes(from.data(), onto.data(), to, count, stream);
    });
    // The OR may also land on one of its own inputs.
    Bytes in_place = onto;
    platform::streaming::OrBytes(from.data(), in_place.data(), in_place.data(), 80, stream);
    EXPECT_EQ(in_place, ored);
}

TEST_P(StreamingTest, FillWordsRepeatsTheWordLittleEndian) {
    Bytes words;
    for (int i = 0; i < 40; ++i) words.insert(words.end(), {0xD2, 0xE1, 0xF0, 0x04});
    CheckEveryRun(words, 4, [&](std::uint8_t* to, std::size_t count) {
        platform::streaming::FillWords(to, count, 0x04F0E1D2u, GetParam());
    });
}

INSTANTIATE_TEST_SUITE_P(OrdinaryAndStreamingStores, StreamingTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Streaming" : "Ordinary";
                         });

}  // namespace
