#pragma once
// How a batch runs and how its files are written: jobs at once, and the compression
// of the lossy and the PNG outputs.
#include <QString>
#include <optional>

namespace convert_tool {

struct BatchChoices {
    int jobs = 0;             // pictures converted at once; 0: one per core
    int quality = 92;         // JPEG and WebP, 0..100
    int png_compression = 1;  // zlib level 0..9: fast by default, 9 for the smallest file
};

// Each reads one option's value into `choices`, or says in one line what is wrong.
std::optional<QString> SetJobs(BatchChoices& choices, const QString& text);
std::optional<QString> SetQuality(BatchChoices& choices, const QString& text);
std::optional<QString> SetPngCompression(BatchChoices& choices, const QString& text);

// The jobs to run: those asked for, else one per core.
int JobsToRun(const BatchChoices& choices);

}  // namespace convert_tool
