#include "tools/parallax_options.h"

#include <cmath>

#include "core/parallax_choices.h"
#include "tools/convert_options.h"

namespace convert_tool {

namespace {

QString Quoted(const QString& text) {
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

// A decimal number in [minimum, maximum], or 0 when `zero_allowed`.
std::optional<double> ParseReal(const QString& text, double minimum, double maximum,
                                bool zero_allowed) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    if (zero_allowed && value == 0.0) return value;
    if (value < minimum || value > maximum) return std::nullopt;
    return value;
}

Error SetFile(QString& field, const char* option, const QString& value) {
    if (value.isEmpty()) return QStringLiteral("%1: the file name is empty").arg(option);
    field = value;
    return std::nullopt;
}

const OptionRule kParallaxOptions[] = {
    {"--parallax", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) -> Error {
         o.parallax.percent =
             ParseReal(*v, core::kMinParallaxPercent, core::kMaxParallaxPercent, true);
         if (o.parallax.percent) return std::nullopt;
         return QStringLiteral("--parallax: %1 is not a number from 0.1 to 10 (or 0 for classic)")
             .arg(Quoted(*v));
     }},
    {"--screen-plane", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) -> Error {
         o.parallax.plane = ParseReal(*v, 0, 100, false);
         if (o.parallax.plane) return std::nullopt;
         return QStringLiteral("--screen-plane: %1 is not a number from 0 to 100").arg(Quoted(*v));
     }},
    {"--depth-from", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) {
         return SetFile(o.parallax.depth_from, "--depth-from", *v);
     }},
    {"--depth-from-invert", Takes::kNothing,
     [](ConvertOptions& o, const std::optional<QString>&) -> Error {
         o.parallax.depth_from_black_near = true;
         return std::nullopt;
     }},
    {"--left-view", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) {
         return SetFile(o.parallax.left_view, "--left-view", *v);
     }},
    {"--right-view", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) {
         return SetFile(o.parallax.right_view, "--right-view", *v);
     }},
};

}  // namespace

const OptionRule* FindParallaxOption(const QString& name) {
    for (const OptionRule& rule : kParallaxOptions)
        if (name == QLatin1String(rule.name)) return &rule;
    return nullptr;
}

Error CheckParallaxLayout(const ConvertOptions& options) {
    const ParallaxOptions& p = options.parallax;
    if (p.depth_from_black_near && p.depth_from.isEmpty())
        return QStringLiteral("--depth-from-invert needs --depth-from FILE");
    if (options.inputs.size() > 1 &&
        (!p.depth_from.isEmpty() || !p.left_view.isEmpty() || !p.right_view.isEmpty()))
        return QStringLiteral(
            "--depth-from, --left-view and --right-view need a single input "
            "picture");
    return std::nullopt;
}

void ApplyParallaxChoices(const ParallaxOptions& options, core::Choices& choices) {
    if (options.percent) choices.parallax.parallax_percent = *options.percent;
    if (options.plane) choices.parallax.screen_plane = *options.plane;
}

}  // namespace convert_tool
