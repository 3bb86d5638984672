#pragma once
// The stages a conversion can run, one function each, in the table the conversion
// call walks in its fixed order. Tests hand the call tables of their own.
#include <array>

#include "core/stage_context.h"

namespace conversion {

using Stage = void (*)(core::StageContext&);

// An empty entry is skipped.
struct StageTable {
    std::array<Stage, 6> cues{};  // by DepthCue
    Stage invert = nullptr;
    Stage centre = nullptr;
    Stage warp = nullptr;
    std::array<Stage, 6> blurs{};  // by BlurChoice; entry 0 ("None") stays empty
    Stage anaglyph = nullptr;
    Stage scaled_anaglyph = nullptr;  // in place of anaglyph for the scaled strength
    Stage frame = nullptr;
};

}  // namespace conversion
