#include <gtest/gtest.h>

#include <random>

#include "depth/blurs.h"
#include "depth/median_of_nine.h"

namespace depth_tests {
namespace {

struct MedianCase {
    std::vector<std::int16_t> values;
    std::int16_t median;
};

class GetMedianTest : public testing::TestWithParam<MedianCase> {};

TEST_P(GetMedianTest, MiddleOfTheSortedValues) {
    const MedianCase& c = GetParam();
    const std::vector<std::int16_t> before = c.values;
    EXPECT_EQ(Blurs::GetMedian(c.values), c.median);
    EXPECT_EQ(c.values, before);
}

INSTANTIATE_TEST_SUITE_P(Lists, GetMedianTest,
                         testing::Values(MedianCase{{5}, 5}, MedianCase{{3, 1, 2}, 2},
                                         MedianCase{{10, 0, 10, 0, 10, 0, 10, 0, 10}, 10},
                                         MedianCase{{8, 3, 5, 0, 7, 1, 6, 2, 4}, 4},
                                         MedianCase{{7, 7, 7, 7, 7, 7, 7, 7, 7}, 7},
                                         MedianCase{{-5, 300, -32768, 32767, 0, 1, 2, 3, 4}, 2},
                                         MedianCase{{4, 1, 3, 2},
                                                    2},  // an even count: the lower middle
                                         MedianCase{{}, 0}));

// The filter's median works from sorted columns with minima and maxima only, so the
// 0-1 principle holds: right on every window of 0s and 1s means right on every window.
TEST(MedianOfNineTest, AgreesWithGetMedian) {
    auto check = [](const std::array<std::uint8_t, 9>& cells) {
        using Blurs::detail::SortColumn;
        const auto median = Blurs::detail::MedianOfNine(SortColumn(cells[0], cells[3], cells[6]),
                                                        SortColumn(cells[1], cells[4], cells[7]),
                                                        SortColumn(cells[2], cells[5], cells[8]));
        std::vector<std::int16_t> values(cells.begin(), cells.end());
        return median == Blurs::GetMedian(values);
    };
    for (int bits = 0; bits < 512; ++bits) {
        std::array<std::uint8_t, 9> cells{};
        for (std::size_t k = 0; k < 9; ++k) cells[k] = static_cast<std::uint8_t>((bits >> k) & 1);
        ASSERT_TRUE(check(cells)) << "pattern " << bits;
    }
    std::mt19937 random(1);
    for (int round = 0; round < 20000; ++round) {
        std::array<std::uint8_t, 9> cells{};
        for (auto& c : cells) c = static_cast<std::uint8_t>(random() % (round % 2 ? 4 : 256));
        ASSERT_TRUE(check(cells));
    }
}

}  // namespace
}  // namespace depth_tests
