#include "core/stage_context.h"

#include <algorithm>

namespace core {

bool PollAfterRow(StageContext& context) {
    RunState& run = context.run;
    ++run.polls;
    if (run.expected_polls > 0)
        context.progress.Advance(std::min(
            1.0, static_cast<double>(run.polls) / static_cast<double>(run.expected_polls)));
    if (context.progress.Cancelled()) return false;
    context.progress.Yield();
    return true;
}

void LetGoUnlessKept(StageContext& context, platform::PictureSurface& surface) {
    if (!context.run.keep_stage_views) surface.ClearPicture();
}

}  // namespace core
