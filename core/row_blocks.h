#pragma once
// Rows of a stage spread over the processor's cores. Each row is worked on by one
// thread, so every byte is written as a one-thread run writes it. The calling thread
// alone polls, once per finished row, as a stage that works row by row polls; so the
// progress, the yields to the window and a cancel stay on the calling thread, and a
// cancel stops the stage within one block of rows on each thread. The surfaces and
// grids the rows read belong to the one conversion, which nothing else touches
// while the calling thread yields.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <thread>
#include <vector>

#ifdef _OPENMP
#include <omp.h>
#endif

#include "core/stage_context.h"

namespace core {

// Rows per block: enough that taking a block costs nothing next to working on it, few
// enough that a cancel or a repaint is not kept waiting and the threads end together.
inline constexpr int kRowsPerBlock = 16;

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

// Starts the threads the rows will run on, at once. The OpenMP runtime keeps its
// threads for the next parallel loop, but it ends the program when it cannot start
// one; so a program calls this first, and when the threads cannot be started (a
// tight memory limit) its rows run on the calling thread alone instead.
inline void StartRowThreads() {
#ifdef _OPENMP
    std::vector<std::thread> probes;
    try {
        for (int i = 1; i < ThreadCount(); ++i) probes.emplace_back([] {});
    } catch (const std::exception&) {
        omp_set_num_threads(1);
    }
    for (std::thread& probe : probes) probe.join();
#pragma omp parallel
    {}
#endif
}

// Calls row(y) for every row y of [begin, end), spread over the cores. `row` must not
// throw and must touch nothing that another row writes.
template <class Row>
void ParallelRows(int begin, int end, const Row& row) {
#pragma omp parallel for schedule(static) if (end - begin > 1)
    for (int y = begin; y < end; ++y) row(y);
}

// As ParallelRows over [0, rows), in blocks that the threads take one at a time as
// they come free, so that a thread the system holds back delays only its own block.
// The calling thread, between its blocks, polls once for every row finished so far
// (by any thread) and not yet polled; the rows finished after its last block are
// polled at the end. False: the run was cancelled, the other threads take no further
// block, and the stage must return without writing.
template <class Row>
bool PolledRows(StageContext& context, int rows, const Row& row) {
    const int blocks = rows <= 0 ? 0 : (rows + kRowsPerBlock - 1) / kRowsPerBlock;
    std::atomic<int> next_block{0};
    std::atomic<int> rows_done{0};
    std::atomic<bool> stop{false};
    int polled = 0;  // the calling thread's alone
    bool cancelled = false;
    const auto poll_done = [&] {
        for (const int done = rows_done.load(std::memory_order_acquire); polled < done; ++polled)
            if (!PollAfterRow(context)) return false;
        return true;
    };
#pragma omp parallel if (blocks > 1)
    {
        const bool caller = ThreadIndex() == 0;
        for (int block = 0;
             !stop.load(std::memory_order_relaxed) &&
             (block = next_block.fetch_add(1, std::memory_order_relaxed)) < blocks;) {
            const int begin = block * kRowsPerBlock;
            const int end = std::min(rows, begin + kRowsPerBlock);
            for (int y = begin; y < end; ++y) row(y);
            rows_done.fetch_add(end - begin, std::memory_order_release);
            if (caller && !poll_done()) {
                cancelled = true;
                stop.store(true, std::memory_order_relaxed);
            }
        }
    }
    return !cancelled && poll_done();
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
