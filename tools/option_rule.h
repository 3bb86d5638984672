#pragma once
// One command-line option: its name, whether it takes a value, and what it does to
// the options. The converter's options live in tables of these, one per feature.
#include <QString>
#include <optional>

namespace convert_tool {

struct ConvertOptions;

using Error = std::optional<QString>;

enum class Takes { kNothing, kValue, kOptionalValue };

// `value` is empty for an option that takes none, and for an optional value left out.
using Apply = Error (*)(ConvertOptions&, const std::optional<QString>& value);

struct OptionRule {
    const char* name;
    Takes takes;
    Apply apply;
};

}  // namespace convert_tool
