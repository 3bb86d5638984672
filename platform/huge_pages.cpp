#include "platform/huge_pages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace platform {

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
// Smaller blocks would gain a page or two at most, and lose memory to rounding.
constexpr std::size_t kWorthwhile = std::size_t{8} << 20;

}  // namespace

void AdviseHugePages(void* data, std::size_t bytes) noexcept {
#if defined(MADV_HUGEPAGE)
    if (!data || bytes < kWorthwhile) return;
    // Only whole huge pages inside the block: the advice must not reach memory that
    // belongs to another allocation.
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + bytes) & ~(kHugePage - 1);
    if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

}  // namespace platform
