#pragma once
// Runs of bytes larger than the caches, written with streaming stores. An ordinary
// store first reads the line it writes into; a picture of many megabytes is gone from
// the caches long before anything reads it back, so for long runs that read is pure
// cost, and a streaming store, which goes to memory directly, saves it. The bytes
// written are the same either way. Baseline x86-64 (SSE2) has streaming stores; other
// processors take the ordinary loop.
#include <cstddef>
#include <cstdint>

namespace platform::streaming {

// Whether a run that writes this many bytes is worth streaming: about half the
// last-level cache of a desktop processor. Shorter runs are likely still cached when
// the next loop reads them.
bool Worthwhile(std::size_t bytes_written);

// Whether p lies on a 16-byte boundary, where a vector is stored whole.
inline bool Aligned(const void* p) {
    return (reinterpret_cast<std::uintptr_t>(p) & 15) == 0;
}

// to[i] = onto[i] | from[i] for count bytes; the three may not overlap partly.
void OrBytes(const std::uint8_t* from, const std::uint8_t* onto, std::uint8_t* to,
             std::size_t count, bool stream);

// count copies of the 4-byte little-endian `word` from `to` on.
void FillWords(std::uint8_t* to, std::size_t count, std::uint32_t word, bool stream);

}  // namespace platform::streaming
