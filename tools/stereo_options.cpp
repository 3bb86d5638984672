#include "tools/stereo_options.h"

#include <QStringList>
#include <algorithm>
#include <cstring>
#include <span>

namespace convert_tool {

namespace {

struct Named {
    const char* name;
    std::int16_t value;
};

// Named in the order of core/stereo_choices.h.
constexpr Named kMethods[] = {{"colour", 0}, {"half-colour", 1}, {"grey", 2}, {"dubois", 3}};
constexpr Named kGlasses[] = {{"red-cyan", 0}, {"green-magenta", 1}, {"amber-blue", 2}};
constexpr Named kLayouts[] = {{"anaglyph", 0},   {"side-by-side", 1},
                              {"cross-eye", 2},  {"half-side-by-side", 3},
                              {"top-bottom", 4}, {"half-top-bottom", 5}};

QString Names(std::span<const Named> table) {
    QStringList names;
    for (const Named& n : table) names << QLatin1String(n.name);
    return names.join(QLatin1Char('|'));
}

std::optional<QString> SetNamed(std::optional<std::int16_t>& field, std::span<const Named> table,
                                const char* option, const QString& text) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&](const Named& n) { return text == QLatin1String(n.name); });
    if (found != table.end()) {
        field = found->value;
        return std::nullopt;
    }
    return QStringLiteral("%1: '%2' is not one of %3")
        .arg(QLatin1String(option), text, Names(table));
}

}  // namespace

std::optional<QString> SetStereoOption(StereoOptionChoices& choices, const char* option,
                                       const QString& value) {
    if (std::strcmp(option, "--method") == 0)
        return SetNamed(choices.method, kMethods, option, value);
    if (std::strcmp(option, "--glasses") == 0)
        return SetNamed(choices.glasses, kGlasses, option, value);
    return SetNamed(choices.layout, kLayouts, option, value);
}

void ApplyStereoChoices(const StereoOptionChoices& given, core::StereoChoices& choices) {
    if (given.method) choices.method = *given.method;
    if (given.glasses) choices.glasses = *given.glasses;
    if (given.layout) choices.layout = *given.layout;
}

}  // namespace convert_tool
