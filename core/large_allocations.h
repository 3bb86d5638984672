#pragma once

namespace core {

// A conversion makes and drops grids and bitmaps of tens of megabytes, many times
// over. Left to itself, the C library maps each one fresh from the system and
// hands it back on release, so every stage pays for the kernel clearing new pages.
// Called once at program start, this keeps released blocks in the process for the
// next one instead. Results do not change, only where the memory comes from.
void KeepLargeBlocksForReuse();

}  // namespace core
