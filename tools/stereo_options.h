#pragma once
// The converter's options for joining or laying out the two views: --method,
// --glasses and --layout.
#include <QString>
#include <cstdint>
#include <optional>

#include "core/stereo_choices.h"

namespace convert_tool {

// Each field is set only when its option was given.
struct StereoOptionChoices {
    std::optional<std::int16_t> method;
    std::optional<std::int16_t> glasses;
    std::optional<std::int16_t> layout;
};

// Reads the value of --method, --glasses or --layout (option names the one given);
// what was wrong, in one line, when the value is not one of the choices.
std::optional<QString> SetStereoOption(StereoOptionChoices& choices, const char* option,
                                       const QString& value);

// Lays the given choices over the starting ones.
void ApplyStereoChoices(const StereoOptionChoices& given, core::StereoChoices& choices);

}  // namespace convert_tool
