#pragma once
// One picture through the whole conversion, as the desktop program's "Anaglyph"
// command runs it, with the files it is to write.
#include <QString>
#include <QStringList>

#include "io/picture_io.h"
#include "platform/display.h"
#include "tools/parallax_options.h"
#include "tools/run_settings.h"

namespace convert_tool {

struct PictureJob {
    QString input;
    QString output;                  // the anaglyph
    QString depth_map;               // picDepth after the run; empty: not written
    QString second_view;             // picResult after the run; empty: not written
    pictureio::WriteSettings write;  // for every file the job writes
    ParallaxOptions parallax{};      // the depth map it reads, both eyes' views it writes
};

struct PictureOutcome {
    QStringList failures;  // one line each; none when every file was written
    QStringList warnings;  // what the picture's decoder noticed but read through
    QStringList notes;     // what --verbose shows: the scene the depth map followed
};

// Loads, converts and writes. A failed load writes nothing; a failed write leaves
// any file already at that path as it was.
PictureOutcome ConvertPicture(const PictureJob& job, const RunSettings& run,
                              const platform::Display& display);

}  // namespace convert_tool
