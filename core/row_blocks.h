#pragma once
// Rows of a stage spread over the processor's cores. The rows of one block run in
// parallel (each row on one thread, so every byte is written as a one-thread run
// writes it); only then does the calling thread poll, once per row of the block, as a
// stage that works row by row polls. So the progress, the yields to the window and a
// cancel stay on the calling thread, and a cancel stops the stage within one block.
#include <algorithm>
#include <cstddef>

#ifdef _OPENMP
#include <omp.h>
#endif

#include "core/stage_context.h"

namespace core {

// Rows per block: enough to keep every core busy for longer than starting them takes,
// few enough that a cancel or a repaint is not kept waiting.
inline constexpr int kRowsPerBlock = 64;

// The most threads a parallel loop here runs on, and the number of the calling one
// inside such a loop (0 outside): for scratch space of each thread's own, made before
// the loop so that nothing inside it allocates.
inline int ThreadCount() {
#ifdef _OPENMP
    return std::max(omp_get_max_threads(), 1);
#else
    return 1;
#endif
}
inline int ThreadIndex() {
#ifdef _OPENMP
    return omp_get_thread_num();
#else
    return 0;
#endif
}

// Calls row(y) for every row y of [begin, end), spread over the cores. `row` must not
// throw and must touch nothing that another row writes.
template <class Row>
void ParallelRows(int begin, int end, const Row& row) {
#pragma omp parallel for schedule(static) if (end - begin > 1)
    for (int y = begin; y < end; ++y) row(y);
}

// As ParallelRows over [0, rows), block by block, with a poll after each row of a
// finished block. False: the run was cancelled, and the stage must return without
// writing.
template <class Row>
bool PolledRows(StageContext& context, int rows, const Row& row) {
    for (int begin = 0; begin < rows; begin += kRowsPerBlock) {
        const int end = std::min(rows, begin + kRowsPerBlock);
        ParallelRows(begin, end, row);
        for (int y = begin; y < end; ++y)
            if (!PollAfterRow(context)) return false;
    }
    return true;
}

// Calls part(first, count) for pieces of [0, size) in parallel: for loops over the
// bytes of a whole picture, whose result does not depend on where it is cut.
template <class Part>
void ParallelParts(std::size_t size, std::size_t piece, const Part& part) {
    const std::size_t pieces = piece == 0 ? 0 : (size + piece - 1) / piece;
#pragma omp parallel for schedule(static) if (pieces > 1)
    for (std::size_t i = 0; i < pieces; ++i) {
        const std::size_t first = i * piece;
        part(first, std::min(piece, size - first));
    }
}

}  // namespace core
