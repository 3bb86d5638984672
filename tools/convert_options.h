#pragma once
// The converter's command line: which pictures go where, and the conversion
// choices, kept as given so that they can be laid over the starting settings in a
// fixed order whatever order they were typed in.
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

#include "tools/batch_options.h"
#include "tools/parallax_options.h"
#include "tools/stereo_options.h"

namespace convert_tool {

// Each field is set only when its option was given.
struct SettingChoices {
    std::optional<std::int16_t> cue;  // the Cues entry, 0..9
    std::optional<std::int16_t> depth_cue;
    std::optional<std::int16_t> cue_color;
    std::optional<std::int16_t> blur_choice;
    std::optional<bool> do_warp;
    std::optional<std::int16_t> warp;
    std::optional<bool> do_shift;
    std::optional<std::int16_t> shift;
    std::optional<std::array<std::int16_t, 5>> levels;
    std::optional<std::int16_t> lens;
    std::optional<std::int16_t> show_frame;
    std::optional<std::int16_t> frame_type;
    std::optional<std::int16_t> frame_color;
    StereoOptionChoices stereo;               // --method, --glasses, --layout
    std::optional<std::uint32_t> background;  // 0xRRGGBB
    std::optional<std::int16_t> scene;        // a core::Scene
};

struct ConvertOptions {
    QStringList inputs;
    QString output;                             // the INPUT OUTPUT form
    QString output_dir;                         // the --output-dir form
    QString extension = QStringLiteral("bmp");  // of the outputs in an output folder
    bool extension_given = false;
    QString depth_map;
    QString second_view;
    int display_bpp = 32;
    bool saved_settings = false;
    bool verbose = false;  // say which scene each picture's depth followed
    SettingChoices choices;
    ParallaxOptions parallax;
    BatchChoices batch;  // -j, --quality, --png-compression
};

enum class ParseStatus { kRun, kHelp, kVersion, kUsageError };

struct ParseResult {
    ParseStatus status = ParseStatus::kRun;
    ConvertOptions options;
    QString error;  // for kUsageError: what was wrong, in one line
};

// `arguments` without the program name.
ParseResult ParseCommandLine(const QStringList& arguments);

}  // namespace convert_tool
