// The joins of a left and a right view, method by glasses, on pixels worked out by
// hand: a coloured pair, and white against black both ways round, which drives the
// least-squares join past both ends of the scale.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stereo/anaglyph_dubois.h"
#include "stereo/anaglyph_methods.h"

namespace {

using core::GlassesType;
using core::JoinMethod;
using core::PixelTriple;

struct Rgb8 {
    int red, green, blue;
    friend bool operator==(const Rgb8&, const Rgb8&) = default;
};

PixelTriple Pixel(Rgb8 c) {
    return {static_cast<std::uint8_t>(c.blue), static_cast<std::uint8_t>(c.green),
            static_cast<std::uint8_t>(c.red)};
}

std::ostream& operator<<(std::ostream& out, const Rgb8& c) {
    return out << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

// Left and right pixels of the three columns every case joins.
constexpr Rgb8 kLeft[] = {{200, 100, 50}, {255, 255, 255}, {0, 0, 0}};
constexpr Rgb8 kRight[] = {{10, 150, 250}, {0, 0, 0}, {255, 255, 255}};

struct JoinCase {
    const char* name;
    JoinMethod method;
    GlassesType glasses;
    std::vector<Rgb8> expected;  // one per column
};

// Luma (Rec. 601, halves up): left (200, 100, 50) is 59800 + 58700 + 5700 = 124200
// thousandths -> 124; right (10, 150, 250) is 2990 + 88050 + 28500 = 119540 -> 120.
// Colour dims by 99 % (halves up): 200 -> 198, 100 -> 99, 150 -> 149, 250 -> 248,
// 10 -> 10, 255 -> 252.
// Dubois: linear light by the sRGB curve, the published matrices, clamped, encoded;
// worked out to three decimals, e.g. red-cyan's red for the coloured pair is 148.507.
using enum JoinMethod;
using enum GlassesType;

const JoinCase kJoins[] = {
    {"ColourRedCyan", kColour, kRedCyan, {{198, 149, 248}, {252, 0, 0}, {0, 252, 252}}},
    {"ColourGreenMagenta", kColour, kGreenMagenta, {{10, 99, 248}, {0, 252, 0}, {252, 0, 252}}},
    {"ColourAmberBlue", kColour, kAmberBlue, {{198, 99, 248}, {252, 252, 0}, {0, 0, 252}}},
    {"HalfColourRedCyan", kHalfColour, kRedCyan, {{124, 150, 250}, {255, 0, 0}, {0, 255, 255}}},
    {"HalfColourGreenMagenta",
     kHalfColour,
     kGreenMagenta,
     {{10, 124, 250}, {0, 255, 0}, {255, 0, 255}}},
    {"HalfColourAmberBlue", kHalfColour, kAmberBlue, {{124, 124, 250}, {255, 255, 0}, {0, 0, 255}}},
    {"GreyRedCyan", kGrey, kRedCyan, {{124, 120, 120}, {255, 0, 0}, {0, 255, 255}}},
    {"GreyGreenMagenta", kGrey, kGreenMagenta, {{120, 124, 120}, {0, 255, 0}, {255, 0, 255}}},
    {"GreyAmberBlue", kGrey, kAmberBlue, {{124, 124, 120}, {255, 255, 0}, {0, 0, 255}}},
    {"DuboisRedCyan", kDubois, kRedCyan, {{149, 123, 255}, {255, 0, 0}, {0, 255, 255}}},
    {"DuboisGreenMagenta", kDubois, kGreenMagenta, {{118, 120, 244}, {0, 255, 0}, {255, 0, 255}}},
    {"DuboisAmberBlue", kDubois, kAmberBlue, {{195, 91, 242}, {255, 249, 0}, {0, 64, 255}}},
};

class JoinTable : public testing::TestWithParam<JoinCase> {};

TEST_P(JoinTable, GivesTheWorkedPixels) {
    const JoinCase& c = GetParam();
    std::vector<PixelTriple> left, right;
    for (const Rgb8& p : kLeft) left.push_back(Pixel(p));
    for (const Rgb8& p : kRight) right.push_back(Pixel(p));
    std::vector<PixelTriple> out(left.size(), PixelTriple{7, 7, 7});
    stereo::JoinRow(left, right, out, c.method, c.glasses);
    std::vector<Rgb8> got;
    for (const PixelTriple& p : out) got.push_back({p.Red, p.Green, p.Blue});
    EXPECT_EQ(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(MethodByGlasses, JoinTable, testing::ValuesIn(kJoins),
                         [](const testing::TestParamInfo<JoinCase>& info) {
                             return std::string(info.param.name);
                         });

// Every byte survives the trip to linear light and back, and the encoder rounds to
// the nearest byte in the encoded scale.
TEST(SrgbTransfer, EveryByteComesBack) {
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(stereo::LinearToSrgb(stereo::SrgbToLinear(static_cast<std::uint8_t>(c))), c);
    EXPECT_EQ(stereo::LinearToSrgb(-0.5f), 0);
    EXPECT_EQ(stereo::LinearToSrgb(2.0f), 255);
    EXPECT_NEAR(stereo::SrgbToLinear(128), 0.2158605, 1e-6);
}

}  // namespace
