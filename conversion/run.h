#pragma once
// The one conversion call: a picture and the choices in, the anaglyph, the depth map
// and the second view out, or why there are none. The desktop program, the
// command-line converter, the benchmarks and the fuzzers all convert through it.
//
// A call owns every surface it writes, so it may run on a worker thread, and two
// calls on two pictures may run at once. The caller's Progress is the only thing it
// shares, and Cancel is the only thing another thread may do to it meanwhile.
#include <string>

#include "conversion/stage_table.h"
#include "core/choices.h"
#include "core/depth_levels.h"
#include "core/progress.h"
#include "platform/bitmap.h"
#include "platform/display.h"
#include "platform/picture_surface.h"

namespace conversion {

using Choices = core::Choices;

// Each in the display's own pixel format.
struct Views {
    platform::Picture anaglyph;  // the picture of picOriginal, which "Save Result As" writes
    // The rest only when the request asked for the stage views.
    platform::Bitmap depth_map;    // picDepth after the run
    platform::Bitmap second_view;  // picResult after the run
    platform::Bitmap left_view;    // the first eye's: the picture itself, classically
    platform::Bitmap right_view;   // the second eye's: the second view
};

enum class Outcome { kConverted, kCancelled, kFailed };

struct Result {
    Outcome outcome = Outcome::kFailed;
    Views views;              // only when converted
    std::string failed_step;  // only when failed: the step, in the user's words
    std::string reason;       // only when failed: "out of memory", or what went wrong
    // The layout the scene depth followed ("classic": it changed nothing); empty when
    // no scene was chosen.
    std::string scene_picked;

    // "the anaglyph step failed: out of memory"
    std::string Failure() const;
};

// What a caller asks of one run beyond the choices.
struct Request {
    // A depth map of the picture's size from elsewhere: it takes the place of the
    // depth cue, the inversion and the centring; the warp and smoothing still run.
    const core::DepthLevels* depth_from = nullptr;
    // The depth map and the eyes' views back as well as the anaglyph. Without them
    // each surface is let go as soon as the stages are done with it, and the run
    // needs two fewer whole pictures of memory at its peak.
    bool stage_views = true;
};

// Runs the stages the choices pick, in their fixed order, checking for a cancel
// between every two. The first step that throws (std::bad_alloc included) ends the
// conversion as failed; a cancel ends it as cancelled. Neither leaves views.
Result Run(const platform::Picture& picture, const platform::Display& display,
           const Choices& choices, core::Progress& progress, const Request& request = {});
// The same with a stage table of the caller's.
Result Run(const platform::Picture& picture, const platform::Display& display,
           const Choices& choices, core::Progress& progress, const StageTable& stages,
           const Request& request = {});

}  // namespace conversion
