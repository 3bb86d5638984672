#include "stereo/field_widths.h"

#include <algorithm>
#include <array>

namespace stereo {

namespace {

using Table = std::array<std::uint8_t, 256>;

Table MakeTable(int bits, bool widen) {
    Table t{};
    for (int v = 0; v < 256; ++v)
        t[static_cast<std::size_t>(v)] = widen ? WidenField(static_cast<std::uint8_t>(v), bits)
                                               : NarrowField(static_cast<std::uint8_t>(v), bits);
    return t;
}

// Blue, green and red field widths of a display depth; none for a byte depth.
struct Widths {
    int blue;
    int green;
    int red;
};
bool FieldWidths(int bits_per_pixel, Widths& widths) {
    if (bits_per_pixel == 15)
        widths = {5, 5, 5};
    else if (bits_per_pixel == 16)
        widths = {5, 6, 5};
    else
        return false;
    return true;
}

void Apply(core::PixelGrid& grid, int bits_per_pixel, bool widen) {
    Widths w{};
    if (!FieldWidths(bits_per_pixel, w)) return;
    static const Table widen5 = MakeTable(5, true), widen6 = MakeTable(6, true);
    static const Table narrow5 = MakeTable(5, false), narrow6 = MakeTable(6, false);
    const Table& five = widen ? widen5 : narrow5;
    const Table& green = w.green == 6 ? (widen ? widen6 : narrow6) : five;
    for (core::PixelTriple& p : grid.Pixels()) p = {five[p.Blue], green[p.Green], five[p.Red]};
}

}  // namespace

std::uint8_t WidenField(std::uint8_t field, int bits) {
    const int max = (1 << bits) - 1;
    const int v = std::min<int>(field, max);
    return static_cast<std::uint8_t>((v << (8 - bits)) | (v >> (2 * bits - 8)));
}

std::uint8_t NarrowField(std::uint8_t byte, int bits) {
    const int max = (1 << bits) - 1;
    return static_cast<std::uint8_t>((byte * max + 127) / 255);
}

void WidenFields(core::PixelGrid& grid, int bits_per_pixel) {
    Apply(grid, bits_per_pixel, true);
}

void NarrowFields(core::PixelGrid& grid, int bits_per_pixel) {
    Apply(grid, bits_per_pixel, false);
}

}  // namespace stereo
