#pragma once
// The sample picture converted with chosen options, and the checks the conversion
// tests make on what comes back.
#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tools_test {

// What one conversion of the sample wrote, next to the sample itself, all RGB32.
struct Views {
    QImage picture;
    QImage anaglyph;
    QImage second;
    QImage depth;
};

// Converts the sample with these options (and these "NAME=value" environment
// changes), writing the second view and the depth map too, and reads it all back.
Views ConvertSample(const std::vector<std::string>& options,
                    const std::vector<std::string>& environment = {});

// A kept channel of a mask: c x 0.99 with the gain held in single precision and the
// product rounded whole. The gain is a hair above 0.99, so a product that would
// end in exactly .5 (c = 50, 150, 250) goes up: 99 c / 100 with halves rounded up.
inline int Masked(int channel) {
    return (99 * channel + 50) / 100;
}

// The anaglyph's red comes from `red_view` and its green and blue from `cyan_view`,
// each through its mask, at every pixel.
bool JoinsViews(const QRgb anaglyph, const QRgb red_view, const QRgb cyan_view);

// Checks `holds` at every pixel and reports the first pixel where it does not.
testing::AssertionResult EveryPixel(const QImage& image,
                                    const std::function<bool(int x, int y)>& holds);

bool SameSize(const Views& v);

}  // namespace tools_test
