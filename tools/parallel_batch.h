#pragma once
// Pictures of one batch converted side by side: `-j N` jobs at once, every message
// still reported in input order.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace convert_tool {

// What converting one picture has to say, kept until its turn to be reported.
struct PictureReport {
    QStringList lines;
    bool converted = false;
};

// The jobs a batch runs at once when none are asked for: one per core.
int DefaultJobCount();

// Calls convert(i) for every i in [0, count) on up to `jobs` threads, and report(i,
// its report) on the calling thread in input order, each as soon as it and every
// picture before it are done. Pictures with equal keys (those writing one output
// file) are converted one after another in input order, so that convert(i) sees the
// outcome of every earlier picture with its key.
void ConvertInOrder(int count, int jobs, const std::vector<QString>& keys,
                    const std::function<PictureReport(int)>& convert,
                    const std::function<void(int, const PictureReport&)>& report);

}  // namespace convert_tool
