#pragma once
#include <cstddef>

namespace platform {

// Pictures of many megapixels are written into fresh memory once per conversion, and
// on a virtual machine each 4 KB page the kernel hands over costs microseconds: for a
// 12-megapixel picture the page faults took longer than the whole conversion. Asking
// for 2 MB pages over a large block cuts their number five hundredfold. Only a hint:
// where the system has no such pages, or declines, nothing changes.
void AdviseHugePages(void* data, std::size_t bytes) noexcept;

}  // namespace platform
