// The nearest-entry map, both ways, against the plain search of the palette: for the system
// palette of an 8-bit display every one of the 2^24 colours, for other palettes
// (random ones, ties, very few entries) a spread of colours that crosses every cell.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/display.h"
#include "platform/nearest_entries.h"
#include "tests/support/sanitized.h"

namespace {

using platform::NearestEntries;
using platform::NearestEntry;
using platform::PaletteEntry;

// Every colour whose channels step by `step`, the last value of each channel included.
int CountDisagreements(const std::vector<PaletteEntry>& entries, int step) {
    const NearestEntries map(entries);
    int wrong = 0;
    auto values = [step] {
        std::vector<int> v;
        for (int c = 0; c < 256; c += step) v.push_back(c);
        if (v.back() != 255) v.push_back(255);
        return v;
    }();
    for (const int b : values)
        for (const int g : values)
            for (const int r : values) {
                const auto color = static_cast<std::uint32_t>(platform::RGB(r, g, b));
                const std::uint32_t nearest = NearestEntry(entries, color);
                // Eight candidates at a time where the processor can, and one at a time.
                if (map.Of(color) != nearest) ++wrong;
                if (map.OfOneAtATime(color) != nearest) ++wrong;
            }
    return wrong;
}

TEST(NearestEntriesTest, SystemPaletteAgreesWithTheSearchForEveryColour) {
    const platform::Display display(8);
    const auto& table = display.SystemPalette();
    const std::vector<PaletteEntry> entries(table.begin(), table.end());
    constexpr int kStep = ZARVIK_ADDRESS_SANITIZED ? 3 : 1;
    EXPECT_EQ(CountDisagreements(entries, kStep), 0);
}

struct PaletteCase {
    std::string name;
    std::vector<PaletteEntry> entries;
};

std::vector<PaletteEntry> RandomEntries(int count, unsigned seed, int spread) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> channel(0, spread);
    std::vector<PaletteEntry> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back({static_cast<std::uint8_t>(channel(random)),
                           static_cast<std::uint8_t>(channel(random)),
                           static_cast<std::uint8_t>(channel(random)), 0});
    return entries;
}

class OtherPalettesTest : public testing::TestWithParam<PaletteCase> {};

TEST_P(OtherPalettesTest, AgreesWithTheSearch) {
    EXPECT_EQ(CountDisagreements(GetParam().entries, 5), 0);
}

// Few values per channel make many entries equally near: ties go to the first.
std::vector<PaletteEntry> TiedEntries() {
    std::vector<PaletteEntry> entries = RandomEntries(200, 3, 3);
    for (auto& e : entries) {
        e.peRed = static_cast<std::uint8_t>(e.peRed * 85);
        e.peGreen = static_cast<std::uint8_t>(e.peGreen * 85);
        e.peBlue = static_cast<std::uint8_t>(e.peBlue * 85);
    }
    return entries;
}

INSTANTIATE_TEST_SUITE_P(Palettes, OtherPalettesTest,
                         testing::Values(PaletteCase{"Random256", RandomEntries(256, 1, 255)},
                                         PaletteCase{"RandomDark", RandomEntries(256, 2, 40)},
                                         PaletteCase{"Ties", TiedEntries()},
                                         PaletteCase{"SevenEntries", RandomEntries(7, 4, 255)},
                                         PaletteCase{"OneEntry", {{10, 200, 30, 0}}},
                                         PaletteCase{"AllBlack", std::vector<PaletteEntry>(256)}),
                         [](const testing::TestParamInfo<PaletteCase>& info) {
                             return info.param.name;
                         });

TEST(NearestEntriesTest, NoEntriesGiveNoIndex) {
    const NearestEntries map(std::vector<PaletteEntry>{});
    EXPECT_EQ(map.Of(0x00808080u), platform::CLR_INVALID);
}

TEST(NearestEntriesTest, SharedMapsFollowThePaletteColours) {
    const std::vector<PaletteEntry> first = RandomEntries(16, 5, 255);
    std::vector<PaletteEntry> second = first;
    second[3].peRed = static_cast<std::uint8_t>(second[3].peRed ^ 0x80);
    EXPECT_EQ(NearestEntries::For(first), NearestEntries::For(first));
    EXPECT_NE(NearestEntries::For(first), NearestEntries::For(second));
    EXPECT_EQ(NearestEntries::For(second)->Entries(), second);
}

}  // namespace
