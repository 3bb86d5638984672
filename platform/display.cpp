#include "platform/display.h"

#include <stdexcept>
#include <string>

namespace platform {

namespace {

// The twenty static colours that an 8-bit display reserves, ten at each end.
constexpr PaletteEntry kLowStatic[10] = {
    {0, 0, 0, 0},     {128, 0, 0, 0},   {0, 128, 0, 0},     {128, 128, 0, 0},   {0, 0, 128, 0},
    {128, 0, 128, 0}, {0, 128, 128, 0}, {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0}};
constexpr PaletteEntry kHighStatic[10] = {
    {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},
    {0, 255, 0, 0},     {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},
    {0, 255, 255, 0},   {255, 255, 255, 0}};

// Between the static colours the system palette holds what a halftone palette
// realizes: a 6 x 6 x 6 colour cube and twenty greys.
PaletteTable MakeSystemPalette() {
    PaletteTable table{};
    for (int i = 0; i < 10; ++i) {
        table[static_cast<std::size_t>(i)] = kLowStatic[i];
        table[static_cast<std::size_t>(246 + i)] = kHighStatic[i];
    }
    std::size_t next = 10;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                table[next++] = {static_cast<std::uint8_t>(r * 51),
                                 static_cast<std::uint8_t>(g * 51),
                                 static_cast<std::uint8_t>(b * 51), 0};
    for (int i = 1; i <= 20; ++i) {
        const auto v = static_cast<std::uint8_t>(i * 255 / 21);
        table[next++] = {v, v, v, 0};
    }
    return table;
}

PixelLayout LayoutFor(int depth) {
    switch (depth) {
        case 8:
            return PixelLayout::Indexed8;
        case 15:
            return PixelLayout::Rgb555;
        case 16:
            return PixelLayout::Rgb565;
        case 24:
            return PixelLayout::Bgr24;
        default:
            return PixelLayout::Bgrx32;
    }
}

int Widen5(std::uint32_t v) {
    return static_cast<int>((v << 3) | (v >> 2));
}
int Widen6(std::uint32_t v) {
    return static_cast<int>((v << 2) | (v >> 4));
}

}  // namespace

bool Display::IsSupportedDepth(int bits_per_pixel) {
    switch (bits_per_pixel) {
        case 8:
        case 15:
        case 16:
        case 24:
        case 32:
            return true;
        default:
            return false;
    }
}

Display::Display(int bits_per_pixel) : depth_(bits_per_pixel), layout_(LayoutFor(bits_per_pixel)) {
    if (!IsSupportedDepth(bits_per_pixel)) {
        throw std::invalid_argument("unsupported display depth " + std::to_string(bits_per_pixel) +
                                    " (8, 15, 16, 24 or 32 bits per pixel)");
    }
    if (depth_ == 8) {
        system_palette_ = MakeSystemPalette();
        nearest_ = NearestEntries::For(system_palette_);
    }
}

int Display::GetDeviceCaps(int index) const {
    if (depth_ != 8) return 0;
    if (index == SIZEPALETTE) return kMaxPaletteEntries;
    if (index == NUMRESERVED) return 20;
    return 0;
}

int Display::GetSystemPaletteEntries(int start, int count, std::span<PaletteEntry> out) const {
    if (depth_ != 8 || start < 0 || count <= 0) return 0;
    int copied = 0;
    for (int i = start; i < start + count && i < kMaxPaletteEntries &&
                        static_cast<std::size_t>(copied) < out.size();
         ++i) {
        out[static_cast<std::size_t>(copied++)] = system_palette_[static_cast<std::size_t>(i)];
    }
    return copied;
}

std::uint32_t Display::ColorToPixel(Rgb color) const {
    const auto r = static_cast<std::uint32_t>(RedOf(color));
    const auto g = static_cast<std::uint32_t>(GreenOf(color));
    const auto b = static_cast<std::uint32_t>(BlueOf(color));
    switch (layout_) {
        case PixelLayout::Indexed8:
            return nearest_->Of(static_cast<std::uint32_t>(color));
        case PixelLayout::Rgb555:
            return (b >> 3) | ((g >> 3) << 5) | ((r >> 3) << 10);
        case PixelLayout::Rgb565:
            return (b >> 3) | ((g >> 2) << 5) | ((r >> 3) << 11);
        case PixelLayout::Bgr24:
        case PixelLayout::Bgrx32:
            return b | (g << 8) | (r << 16);
    }
    return 0;
}

Rgb Display::PixelToColor(std::uint32_t pixel) const {
    switch (layout_) {
        case PixelLayout::Indexed8: {
            const auto& e = system_palette_[pixel & 0xFF];
            return RGB(e.peRed, e.peGreen, e.peBlue);
        }
        case PixelLayout::Rgb555:
            return RGB(Widen5((pixel >> 10) & 31), Widen5((pixel >> 5) & 31), Widen5(pixel & 31));
        case PixelLayout::Rgb565:
            return RGB(Widen5((pixel >> 11) & 31), Widen6((pixel >> 5) & 63), Widen5(pixel & 31));
        case PixelLayout::Bgr24:
        case PixelLayout::Bgrx32:
            return RGB(static_cast<int>((pixel >> 16) & 0xFF),
                       static_cast<int>((pixel >> 8) & 0xFF), static_cast<int>(pixel & 0xFF));
    }
    return 0;
}

std::uint32_t Display::LoadPixel(const std::uint8_t* p, int bytes_per_pixel) {
    std::uint32_t v = 0;
    for (int i = bytes_per_pixel - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

void Display::StorePixel(std::uint8_t* p, int bytes_per_pixel, std::uint32_t pixel) {
    for (int i = 0; i < bytes_per_pixel; ++i) p[i] = static_cast<std::uint8_t>(pixel >> (8 * i));
}

}  // namespace platform
