// Telling grey rows from the others, whichever cell and channel breaks the pattern,
// at every width up to a few vector blocks.
#include "core/grey_rows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using core::PixelTriple;

std::vector<PixelTriple> GreyRow(int width) {
    std::vector<PixelTriple> row;
    for (int x = 0; x < width; ++x) {
        const auto v = static_cast<std::uint8_t>(x * 37 + 5);
        row.push_back({v, v, v});
    }
    return row;
}

TEST(RowIsGrey, OneChannelOfOneCellOffIsSeenAnywhere) {
    for (int width = 0; width <= 70; ++width) {
        EXPECT_TRUE(core::RowIsGrey(GreyRow(width).data(), width)) << width;
        for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x)
            for (int channel = 0; channel < 3; ++channel) {
                auto row = GreyRow(width);
                std::uint8_t& byte = channel == 0   ? row[x].Blue
                                     : channel == 1 ? row[x].Green
                                                    : row[x].Red;
                byte = static_cast<std::uint8_t>(byte ^ 1);
                ASSERT_FALSE(core::RowIsGrey(row.data(), width))
                    << "width " << width << ", cell " << x << ", channel " << channel;
            }
    }
}

// Only the cells of the run count: the bytes after it are never compared.
TEST(RowIsGrey, BytesAfterTheRunDoNotCount) {
    auto row = GreyRow(40);
    row[20] = {1, 2, 3};
    EXPECT_TRUE(core::RowIsGrey(row.data(), 20));
    EXPECT_FALSE(core::RowIsGrey(row.data(), 21));
}

}  // namespace
