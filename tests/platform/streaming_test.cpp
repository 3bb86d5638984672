// The streaming byte runs against byte-by-byte statements of what they write, for
// every length up to a few vectors and every alignment of the output.
#include "platform/streaming.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

using platform::streaming::FillWords;
using platform::streaming::OrBytes;

constexpr std::size_t kSlack = 32;
constexpr std::uint8_t kMarker = 0x5A;

std::vector<std::uint8_t> RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> bytes(count);
    for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(rng());
    return bytes;
}

class StreamingTest : public ::testing::TestWithParam<bool> {};

TEST_P(StreamingTest, OrBytesOrsEachByteAndNothingElse) {
    for (std::size_t count = 0; count <= 80; ++count) {
        for (std::size_t offset = 0; offset < 16; ++offset) {
            const auto from = RandomBytes(count, static_cast<unsigned>(count + 1000 * offset));
            const auto onto = RandomBytes(count, static_cast<unsigned>(count + 7 + 1000 * offset));
            std::vector<std::uint8_t> to(count + 2 * kSlack, kMarker);
            OrBytes(from.data(), onto.data(), to.data() + kSlack + offset, count, GetParam());
            for (std::size_t i = 0; i < to.size(); ++i) {
                const std::size_t at = i - kSlack - offset;
                const bool inside = i >= kSlack + offset && at < count;
                ASSERT_EQ(to[i], inside ? static_cast<std::uint8_t>(from[at] | onto[at]) : kMarker)
                    << count << " bytes, offset " << offset << ", byte " << i;
            }
        }
    }
}

// The OR may also land on one of its own inputs.
TEST_P(StreamingTest, OrBytesInPlace) {
    const auto from = RandomBytes(77, 1);
    auto onto = RandomBytes(77, 2);
    std::vector<std::uint8_t> expected(77);
    for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = from[i] | onto[i];
    OrBytes(from.data(), onto.data(), onto.data(), onto.size(), GetParam());
    EXPECT_EQ(onto, expected);
}

TEST_P(StreamingTest, FillWordsRepeatsTheWordLittleEndian) {
    for (std::size_t count = 0; count <= 40; ++count) {
        for (std::size_t offset = 0; offset < 16; ++offset) {
            std::vector<std::uint8_t> to(4 * count + 2 * kSlack, kMarker);
            FillWords(to.data() + kSlack + offset, count, 0x04F0E1D2u, GetParam());
            const std::uint8_t word[4] = {0xD2, 0xE1, 0xF0, 0x04};
            for (std::size_t i = 0; i < to.size(); ++i) {
                const std::size_t at = i - kSlack - offset;
                const bool inside = i >= kSlack + offset && at < 4 * count;
                ASSERT_EQ(to[i], inside ? word[at % 4] : kMarker)
                    << count << " words, offset " << offset << ", byte " << i;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(OrdinaryAndStreamingStores, StreamingTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Streaming" : "Ordinary";
                         });

TEST(Streaming, OnlyRunsLargerThanTheCachesStream) {
    EXPECT_FALSE(platform::streaming::Worthwhile(1000u * 750u * 4u));
    EXPECT_TRUE(platform::streaming::Worthwhile(4000u * 3000u * 3u));
}

}  // namespace
