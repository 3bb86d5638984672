#include <gtest/gtest.h>

#include <cmath>

#include "depth/rounded_quotients.h"

namespace depth_tests {
namespace {

struct Quotient {
    const char* name;
    unsigned (*rounded)(unsigned);
    int divisor;
    unsigned largest_sum;
};

class RoundedQuotientTest : public testing::TestWithParam<Quotient> {};

// Every sum a stage can form, against the rounding the program has always used.
TEST_P(RoundedQuotientTest, AgreesWithNearbyintForEverySum) {
    const Quotient& q = GetParam();
    for (unsigned s = 0; s <= q.largest_sum; ++s)
        ASSERT_EQ(q.rounded(s),
                  static_cast<unsigned>(std::nearbyint(static_cast<double>(s) / q.divisor)))
            << q.name << " of " << s;
}

INSTANTIATE_TEST_SUITE_P(
    Sums, RoundedQuotientTest,
    testing::Values(
        Quotient{
            "half",
            [](unsigned s) { return unsigned{depth::RoundedHalf(static_cast<std::uint16_t>(s))}; },
            2, 510},
        Quotient{
            "third",
            [](unsigned s) { return unsigned{depth::RoundedThird(static_cast<std::uint16_t>(s))}; },
            3, 765},
        Quotient{
            "ninth",
            [](unsigned s) { return unsigned{depth::RoundedNinth(static_cast<std::uint16_t>(s))}; },
            9, 2295},
        Quotient{"sixteenth",
                 [](unsigned s) {
                     return unsigned{depth::RoundedSixteenth(static_cast<std::uint16_t>(s))};
                 },
                 16, 4080}),
    [](const testing::TestParamInfo<Quotient>& info) { return info.param.name; });

}  // namespace
}  // namespace depth_tests
