// Whole pictures read and written without a full-size copy give the bytes the bridge
// gives, on every display format: the image's own rows at 24 and 32 bits, a grid
// through the bridge at the others.
#include "depth/pixel_rows.h"

#include <gtest/gtest.h>

#include <string>

#include "core/ddb_helper.h"
#include "tests/support/pictures.h"

namespace {

constexpr int kWidth = 37;  // odd, so that 24-bit rows carry a padding byte
constexpr int kHeight = 23;

platform::Rgb Noise(int x, int y) {
    return platform::RGB((x * 29 + y * 7) % 256, (x * x + y * 13) % 256, (x * 5 + y * y) % 256);
}

class PixelRowsTest : public testing::TestWithParam<int> {};

TEST_P(PixelRowsTest, RowsHoldTheBridgesCells) {
    const platform::Display display(GetParam());
    platform::PictureSurface surface(display);
    testing_support::LoadSurface(surface, kWidth, kHeight, Noise);
    const core::PixelGrid grid = testing_support::ReadGrid(surface);
    const depth::PixelRows rows(surface);
    ASSERT_EQ(rows.Width(), kWidth);
    ASSERT_EQ(rows.Height(), kHeight);
    const auto bytes = static_cast<std::size_t>(rows.PixelBytes());
    for (int y = 0; y < kHeight; ++y) {
        const auto row = rows.Row(y);
        for (int x = 0; x < kWidth; ++x) {
            const core::PixelTriple& cell = grid(x, y);
            const std::size_t at = static_cast<std::size_t>(x) * bytes;
            ASSERT_EQ(row[at], cell.Blue) << x << "," << y;
            ASSERT_EQ(row[at + 1], cell.Green) << x << "," << y;
            ASSERT_EQ(row[at + 2], cell.Red) << x << "," << y;
        }
    }
}

TEST_P(PixelRowsTest, GreyRowsAreWhatTheBridgeWrites) {
    const platform::Display display(GetParam());
    const auto grey = [](int x, int y) { return static_cast<std::uint8_t>((x * 3 + y * 17) % 32); };
    platform::PictureSurface written(display), bridged(display);
    testing_support::LoadSurface(written, kWidth, kHeight, Noise);
    testing_support::LoadSurface(bridged, kWidth, kHeight, Noise);

    std::int16_t bits = 0;
    core::PixelGrid grid;
    DDBHelper::GetBitmapPixels(bridged, grid, bits);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) grid(x, y) = {grey(x, y), grey(x, y), grey(x, y)};
    DDBHelper::SetBitmapPixels(bridged, bits, grid);

    const depth::PixelRows read(written);
    depth::WriteGreyRows(written, read.BitsPerPixel(), kWidth, kHeight,
                         [&](int y, std::span<std::uint8_t> greys) {
                             for (int x = 0; x < kWidth; ++x)
                                 greys[static_cast<std::size_t>(x)] = grey(x, y);
                         });
    const auto a = written.Image().Bits();
    const auto b = bridged.Image().Bits();
    EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end()));
    EXPECT_EQ(written.RefreshCount(), bridged.RefreshCount());
}

INSTANTIATE_TEST_SUITE_P(Displays, PixelRowsTest, testing::Values(8, 15, 16, 24, 32),
                         [](const testing::TestParamInfo<int>& info) {
                             return "Bits" + std::to_string(info.param);
                         });

}  // namespace
