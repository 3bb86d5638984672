#pragma once
// 32-bit bitmap pixels (Blue, Green, Red, an unused fourth byte) to and from grid
// cells (Blue, Green, Red): the bridge's hot path on an ordinary desktop. A 32-bit
// bitmap has no row padding and grid rows follow each other without any, so a whole
// picture converts as one run of pixels.
//
// Long runs are best written with streaming stores (platform/streaming.h); both ways
// give the same bytes.
#include <cstddef>
#include <cstdint>

#include "core/pixel_grid.h"

namespace core::rows32 {

// Which instructions a run is converted with: the best the processor has (byte
// shuffles where there are any), or the x86-64 baseline only. The bytes are the same.
enum class Instructions { kBest, kBaseline };

// `count` pixels of `in` (4 bytes each) into `out` (3 bytes each).
void Decode(const std::uint8_t* in, PixelTriple* out, std::size_t count, bool streaming,
            Instructions instructions = Instructions::kBest);
// `count` cells of `in` into `out` (4 bytes each, the fourth 0).
void Encode(const PixelTriple* in, std::uint8_t* out, std::size_t count, bool streaming,
            Instructions instructions = Instructions::kBest);

}  // namespace core::rows32
