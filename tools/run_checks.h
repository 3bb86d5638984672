#pragma once
// What stops a run before any picture is read or any file written: an output that
// would replace an input or another output, an output name the converter cannot
// write (its extension, its length, a folder in its place), an output folder that is
// a file. Each is a usage error: the command line itself cannot be carried out.
#include <QString>
#include <optional>

#include "tools/convert_options.h"

namespace convert_tool {

// The refusal in one line; nothing when the run may go ahead.
std::optional<QString> RefuseRun(const ConvertOptions& options);

}  // namespace convert_tool
