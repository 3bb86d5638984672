// The integer arithmetic the cues and filters build on, against its definitions.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "depth/blurs.h"
#include "depth/median_of_nine.h"
#include "depth/rounded_quotients.h"

namespace depth_tests {
namespace {

// Every sum a stage can form, against the rounding the program has always used.
TEST(RoundedQuotientTest, AgreesWithNearbyintForEverySum) {
    const struct {
        const char* name;
        std::uint16_t (*rounded)(std::uint16_t);
        int divisor;
        int largest_sum;
    } quotients[] = {{"half", depth::RoundedHalf, 2, 510},
                     {"third", depth::RoundedThird, 3, 765},
                     {"ninth", depth::RoundedNinth, 9, 2295},
                     {"sixteenth", depth::RoundedSixteenth, 16, 4080}};
    for (const auto& q : quotients)
        for (int s = 0; s <= q.largest_sum; ++s)
            ASSERT_EQ(q.rounded(static_cast<std::uint16_t>(s)),
                      std::nearbyint(static_cast<double>(s) / q.divisor))
                << q.name << " of " << s;
}

TEST(GetMedianTest, MiddleOfTheSortedValues) {
    const struct {
        std::vector<std::int16_t> values;
        std::int16_t median;
    } cases[] = {{{5}, 5},
                 {{3, 1, 2}, 2},
                 {{10, 0, 10, 0, 10, 0, 10, 0, 10}, 10},
                 {{8, 3, 5, 0, 7, 1, 6, 2, 4}, 4},
                 {{7, 7, 7, 7, 7, 7, 7, 7, 7}, 7},
                 {{-5, 300, -32768, 32767, 0, 1, 2, 3, 4}, 2},
                 {{4, 1, 3, 2}, 2},  // an even count: the lower middle
                 {{}, 0}};
    for (const auto& c : cases) {
        const std::vector<std::int16_t> before = c.values;
        EXPECT_EQ(Blurs::GetMedian(c.values), c.median);
        EXPECT_EQ(c.values, before);
    }
}

// The filter's median works from sorted columns with minima and maxima only, so the
// 0-1 principle holds: right on every window of 0s and 1s means right on every window.
TEST(MedianOfNineTest, AgreesWithGetMedian) {
    auto check = [](const std::array<std::uint8_t, 9>& cells) {
        using Blurs::detail::SortColumn;
        const auto median = Blurs::detail::MedianOfNine(SortColumn(cells[0], cells[3], cells[6]),
                                                        SortColumn(cells[1], cells[4], cells[7]),
                                                        SortColumn(cells[2], cells[5], cells[8]));
        return median == Blurs::GetMedian(std::vector<std::int16_t>(cells.begin(), cells.end()));
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
