#include "core/large_allocations.h"

#include <malloc.h>

namespace core {

void KeepLargeBlocksForReuse() {
    // No block is mapped on its own, and up to 1 GB of free space stays with the
    // heap rather than going back to the system after each stage.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
}

}  // namespace core
