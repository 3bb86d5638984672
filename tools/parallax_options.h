#pragma once
// The scaled strength's options: --parallax, --screen-plane, --depth-from,
// --depth-from-invert, --left-view and --right-view.
#include <QString>
#include <optional>

#include "core/choices.h"
#include "tools/option_rule.h"

namespace convert_tool {

struct ParallaxOptions {
    std::optional<double> percent;  // 0: classic
    std::optional<double> plane;
    QString depth_from;  // a depth map from elsewhere, in place of the colour cue
    bool depth_from_black_near = false;
    QString left_view;
    QString right_view;
};

// The rule of one of these options; nullptr for any other name.
const OptionRule* FindParallaxOption(const QString& name);

// What cannot be carried out: files for one picture given with several inputs, an
// inversion without a map.
Error CheckParallaxLayout(const ConvertOptions& options);

// Lays the options over the starting choices.
void ApplyParallaxChoices(const ParallaxOptions& options, core::Choices& choices);

}  // namespace convert_tool
