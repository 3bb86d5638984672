#include "core/large_allocations.h"

#include <malloc.h>

#include <limits>

namespace core {

void KeepLargeBlocksForReuse() {
    // No block is mapped on its own, and up to 2 GB of free space stays with the
    // heap rather than going back to the system after each stage.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
}

}  // namespace core
