#include "tools/parallel_batch.h"

#include <QFuture>
#include <QHash>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

#include "core/row_blocks.h"
#include "io/plugin_messages.h"

#ifdef _OPENMP
#include <omp.h>
#endif

namespace convert_tool {

namespace {

// Inputs grouped by key, each group in input order: group g converts inputs[g] one
// after another.
std::vector<std::vector<int>> GroupsByKey(int count, const std::vector<QString>& keys) {
    std::vector<std::vector<int>> groups;
    QHash<QString, std::size_t> group_of;
    for (int i = 0; i < count; ++i) {
        const QString& key = keys[static_cast<std::size_t>(i)];
        auto found = group_of.constFind(key);
        if (found == group_of.cend()) {
            found = group_of.insert(key, groups.size());
            groups.emplace_back();
        }
        groups[*found].push_back(i);
    }
    return groups;
}

// The cores left to each job's own conversion: jobs and their threads together fill
// the cores, rather than waiting for each other at every block of rows.
int ThreadsPerJob(int jobs) {
    return std::max(1, core::ThreadCount() / std::max(jobs, 1));
}

}  // namespace

int DefaultJobCount() {
    return std::max(1, QThread::idealThreadCount());
}

void ConvertInOrder(int count, int jobs, const std::vector<QString>& keys,
                    const std::function<PictureReport(int)>& convert,
                    const std::function<void(int, const PictureReport&)>& report) {
    if (jobs <= 1 || count <= 1) {
        for (int i = 0; i < count; ++i) report(i, convert(i));
        return;
    }
    // Each thread's messages from the image libraries go to that thread's picture. What
    // a library writes to stderr by itself could not be told apart between threads, so
    // the files are read and written one at a time (see PluginMessages), while the
    // conversions run side by side.
    std::vector<PictureReport> reports(static_cast<std::size_t>(count));
    std::vector<QFuture<void>> done_by(static_cast<std::size_t>(count));
    QThreadPool pool;
    pool.setMaxThreadCount(jobs);
    const int threads = ThreadsPerJob(jobs);
    for (const std::vector<int>& group : GroupsByKey(count, keys)) {
        const QFuture<void> future = QtConcurrent::run(&pool, [&, group, threads] {
#ifdef _OPENMP
            omp_set_num_threads(threads);
#endif
            for (const int i : group) reports[static_cast<std::size_t>(i)] = convert(i);
        });
        for (const int i : group) done_by[static_cast<std::size_t>(i)] = future;
    }
    for (int i = 0; i < count; ++i) {
        done_by[static_cast<std::size_t>(i)].waitForFinished();
        const PluginMessages::StderrTurn turn;  // no other picture's collector takes these lines
        report(i, reports[static_cast<std::size_t>(i)]);
    }
}

}  // namespace convert_tool
