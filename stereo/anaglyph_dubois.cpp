#include "stereo/anaglyph_dubois.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace stereo {

namespace {

using core::GlassesType;
using core::PixelTriple;

// Rows give the output's red, green and blue; columns weigh the view's linear red,
// green and blue.
using Matrix = std::array<std::array<float, 3>, 3>;

struct MatrixPair {
    Matrix left;
    Matrix right;
};

// The matrices Eric Dubois published for each kind of glasses with his method
// (E. Dubois, "A projection method to generate anaglyph stereo images", Proc. IEEE
// ICASSP 2001, vol. 3, pp. 1661-1664), as listed on his anaglyph web page at the
// University of Ottawa (www.site.uottawa.ca/~edubois/anaglyph/) for red-cyan,
// green-magenta and amber-blue glasses. They act on linear, not gamma-encoded, RGB.
constexpr MatrixPair kRedCyan{
    {{{0.437f, 0.449f, 0.164f}, {-0.062f, -0.062f, -0.024f}, {-0.048f, -0.050f, -0.017f}}},
    {{{-0.011f, -0.032f, -0.007f}, {0.377f, 0.761f, 0.009f}, {-0.026f, -0.093f, 1.234f}}},
};
constexpr MatrixPair kGreenMagenta{
    {{{-0.062f, -0.158f, -0.039f}, {0.284f, 0.668f, 0.143f}, {-0.015f, -0.027f, 0.021f}}},
    {{{0.529f, 0.705f, 0.024f}, {-0.016f, -0.015f, -0.065f}, {0.009f, 0.075f, 0.937f}}},
};
constexpr MatrixPair kAmberBlue{
    {{{1.062f, -0.205f, 0.299f}, {-0.026f, 0.908f, 0.068f}, {-0.038f, -0.173f, 0.022f}}},
    {{{-0.016f, -0.123f, -0.017f}, {0.006f, 0.062f, -0.017f}, {0.094f, 0.185f, 0.911f}}},
};

const MatrixPair& MatricesFor(GlassesType glasses) {
    switch (glasses) {
        case GlassesType::kGreenMagenta:
            return kGreenMagenta;
        case GlassesType::kAmberBlue:
            return kAmberBlue;
        case GlassesType::kRedCyan:
            break;
    }
    return kRedCyan;
}

double DecodeSrgb(double encoded) {
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

struct SrgbTables {
    std::array<float, 256> linear{};
    // thresholds[k]: the linear value halfway (in the encoded scale) between bytes k
    // and k + 1; a value's byte is the count of thresholds at or below it.
    std::array<float, 255> thresholds{};
};

const SrgbTables& Tables() {
    static const SrgbTables tables = [] {
        SrgbTables t;
        for (int i = 0; i < 256; ++i)
            t.linear[static_cast<std::size_t>(i)] = static_cast<float>(DecodeSrgb(i / 255.0));
        for (int k = 0; k < 255; ++k)
            t.thresholds[static_cast<std::size_t>(k)] =
                static_cast<float>(DecodeSrgb((k + 0.5) / 255.0));
        return t;
    }();
    return tables;
}

std::uint8_t Encode(const SrgbTables& t, float linear) {
    const auto above = std::upper_bound(t.thresholds.begin(), t.thresholds.end(), linear);
    return static_cast<std::uint8_t>(above - t.thresholds.begin());
}

struct Linear {
    float red;
    float green;
    float blue;
};

Linear Decode(const SrgbTables& t, PixelTriple p) {
    return {t.linear[p.Red], t.linear[p.Green], t.linear[p.Blue]};
}

float Project(const std::array<float, 3>& row, Linear v) {
    return row[0] * v.red + row[1] * v.green + row[2] * v.blue;
}

std::uint8_t Channel(const SrgbTables& t, const MatrixPair& m, std::size_t c, Linear l, Linear r) {
    const float value = Project(m.left[c], l) + Project(m.right[c], r);
    return Encode(t, std::clamp(value, 0.0f, 1.0f));
}

}  // namespace

float SrgbToLinear(std::uint8_t byte) {
    return Tables().linear[byte];
}

std::uint8_t LinearToSrgb(float linear) {
    return Encode(Tables(), linear);
}

void DuboisRow(std::span<const PixelTriple> left, std::span<const PixelTriple> right,
               std::span<PixelTriple> out, GlassesType glasses) {
    const SrgbTables& t = Tables();
    const MatrixPair& m = MatricesFor(glasses);
    for (std::size_t x = 0; x < out.size(); ++x) {
        const Linear l = Decode(t, left[x]);
        const Linear r = Decode(t, right[x]);
        out[x] = {Channel(t, m, 2, l, r), Channel(t, m, 1, l, r), Channel(t, m, 0, l, r)};
    }
}

}  // namespace stereo
