#include "core/stage_context.h"

namespace core {

bool PollAfterRow(StageContext& context) {
    TavsMod::Values& g = context.globals;
    g.glbBandWidth = g.glbBandWidth + g.glbBandStep;
    context.host.SetBandWidth(g.glbBandWidth);
    if (g.glbBusy == 0) return false;
    context.host.Yield();
    return true;
}

}  // namespace core
