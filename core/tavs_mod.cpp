#include "core/tavs_mod.h"

namespace TavsMod {

Values& Globals() {
    static Values values;
    return values;
}

}  // namespace TavsMod
