#pragma once
// The hand-vectorised row loops of core/rows32.cpp and depth/mean_of_three_row.cpp
// written as plain loops, for simd_bench to weigh the hand-written code against what
// the compiler makes of them. simd_plain_loops.cpp is compiled three times, once per
// namespace below, each with the flags its name gives.
#include <cstddef>
#include <cstdint>

#include "core/pixel_grid.h"

#define ZARVIK_PLAIN_LOOPS(space)                                                   \
    namespace space {                                                               \
    void Decode(const std::uint8_t* in, core::PixelTriple* out, std::size_t count); \
    void Encode(const core::PixelTriple* in, std::uint8_t* out, std::size_t count); \
    void MeanOfThreeRow(core::PixelTriple* cells, int count);                       \
    }

// core's flags (-O2), one copy for every processor: rows32 as it would be.
ZARVIK_PLAIN_LOOPS(plain_o2)
// depth's flags (-O3) and a copy per vector unit (core/vector_clones.h): the mean row
// as it would be, and the most the compiler makes of the rows32 loops.
ZARVIK_PLAIN_LOOPS(plain_o3)
// -O3 for the baseline x86-64 instruction set only.
ZARVIK_PLAIN_LOOPS(plain_o3_baseline)

#undef ZARVIK_PLAIN_LOOPS
