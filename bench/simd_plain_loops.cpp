// Compiled once per namespace of simd_plain_loops.h; ZARVIK_PLAIN_NAMESPACE names it.
#include <cstring>

#include "bench/simd_plain_loops.h"
#include "core/vector_clones.h"
#include "depth/cue_frame.h"
#include "depth/rounded_quotients.h"

namespace ZARVIK_PLAIN_NAMESPACE {

using core::PixelTriple;

ZARVIK_VECTOR_CLONES void Decode(const std::uint8_t* in, PixelTriple* out, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) out[i] = {in[4 * i], in[4 * i + 1], in[4 * i + 2]};
}

// As whole words: GCC does better with these than with four byte stores per pixel.
ZARVIK_VECTOR_CLONES void Encode(const PixelTriple* in, std::uint8_t* out, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t word =
            in[i].Blue | (in[i].Green << 8) | (std::uint32_t{in[i].Red} << 16);
        std::memcpy(out + 4 * i, &word, 4);
    }
}

namespace {

std::uint8_t MeanOf(const PixelTriple& p) {
    return static_cast<std::uint8_t>(
        ::depth::RoundedThird(static_cast<std::uint16_t>(p.Red + p.Green + p.Blue)));
}

}  // namespace

ZARVIK_VECTOR_CLONES void MeanOfThreeRow(PixelTriple* cells, int count) {
    GrayScale::detail::GreyRow(cells, count, MeanOf);
}

}  // namespace ZARVIK_PLAIN_NAMESPACE
