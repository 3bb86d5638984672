#include "tools/convert_options.h"

#include <algorithm>
#include <span>

#include "core/settings_text.h"
#include "platform/display.h"
#include "tools/number_argument.h"
#include "tools/output_format.h"

namespace convert_tool {

namespace {

using Error = std::optional<QString>;

struct Named {
    const char* name;
    std::int16_t value;
};

// The Cues menu, entry by entry.
constexpr Named kCues[] = {{"rgb", 0},       {"uti", 1},       {"red", 2},     {"green", 3},
                           {"blue", 4},      {"yellow", 5},    {"magenta", 6}, {"cyan", 7},
                           {"luminance", 8}, {"saturation", 9}};
constexpr Named kBlurs[] = {{"none", 0}, {"smere", 1},  {"blur", 2},
                            {"mean", 3}, {"median", 4}, {"max", 5}};
constexpr Named kLenses[] = {{"red-blue", 0}, {"blue-red", 1}};
constexpr Named kFrameTypes[] = {{"sides", 0}, {"full", 1}};
constexpr Named kFrameColors[] = {{"black", 0}, {"white", 1}};

QString Quoted(const QString& text) {
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

std::optional<std::int16_t> Lookup(std::span<const Named> table, const QString& text) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&](const Named& n) { return text == QLatin1String(n.name); });
    if (found == table.end()) return std::nullopt;
    return found->value;
}

QString Choices(std::span<const Named> table) {
    QStringList names;
    for (const Named& n : table) names << QLatin1String(n.name);
    return names.join(QLatin1Char('|'));
}

// Reads a named choice into `field`, or says what the choices are.
Error SetNamed(std::optional<std::int16_t>& field, std::span<const Named> table, const char* option,
               const QString& text) {
    field = Lookup(table, text);
    if (field) return std::nullopt;
    return QStringLiteral("%1: %2 is not one of %3")
        .arg(QLatin1String(option), Quoted(text), Choices(table));
}

QString NotANumber(const char* option, const QString& text) {
    return QStringLiteral("%1: %2 is not a whole number from -32768 to 32767")
        .arg(QLatin1String(option), Quoted(text));
}

Error SetNumber(std::optional<std::int16_t>& field, const char* option, const QString& text) {
    field = ParseInt16(text.toStdString());
    if (field) return std::nullopt;
    return NotANumber(option, text);
}

std::optional<std::uint32_t> ParseBackground(const QString& text) {
    if (text == QLatin1String("white")) return 0xFFFFFF;
    if (text == QLatin1String("black")) return 0x000000;
    return core::ParseStoredColour(text.toStdString());
}

enum class Takes { kNothing, kValue, kOptionalValue };

// `value` is empty for an option that takes none, and for an optional value left out.
using Apply = Error (*)(ConvertOptions&, const std::optional<QString>& value);

struct OptionRule {
    const char* name;
    Takes takes;
    Apply apply;
};

const OptionRule kOptions[] = {
    {"--cue", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) {
         return SetNamed(o.choices.cue, kCues, "--cue", *v);
     }},
    {"--depth-cue", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) {
         return SetNumber(o.choices.depth_cue, "--depth-cue", *v);
     }},
    {"--cue-color", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) {
         return SetNumber(o.choices.cue_color, "--cue-color", *v);
     }},
    {"--blur", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) {
         return SetNamed(o.choices.blur_choice, kBlurs, "--blur", *v);
     }},
    {"--warp", Takes::kOptionalValue,
     [](ConvertOptions& o, const std::optional<QString>& v) -> Error {
         o.choices.do_warp = true;
         return v ? SetNumber(o.choices.warp, "--warp", *v) : std::nullopt;
     }},
    {"--no-warp", Takes::kNothing,
     [](ConvertOptions& o, const std::optional<QString>&) -> Error {
         o.choices.do_warp = false;
         return std::nullopt;
     }},
    {"--added-depth", Takes::kOptionalValue,
     [](ConvertOptions& o, const std::optional<QString>& v) -> Error {
         o.choices.do_shift = true;
         return v ? SetNumber(o.choices.shift, "--added-depth", *v) : std::nullopt;
     }},
    {"--no-added-depth", Takes::kNothing,
     [](ConvertOptions& o, const std::optional<QString>&) -> Error {
         o.choices.do_shift = false;
         return std::nullopt;
     }},
    {"--levels", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) -> Error {
         const auto values = ParseInt16List(v->toStdString(), 5);
         if (!values)
             return QStringLiteral(
                        "--levels: %1 is not five whole numbers from -32768 to 32767, "
                        "separated by commas")
                 .arg(Quoted(*v));
         std::array<std::int16_t, 5> levels{};
         std::copy(values->begin(), values->end(), levels.begin());
         o.choices.levels = levels;
         return std::nullopt;
     }},
    {"--lens", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) {
         return SetNamed(o.choices.lens, kLenses, "--lens", *v);
     }},
    {"--frame", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) -> Error {
         o.choices.show_frame = 1;
         return SetNamed(o.choices.frame_type, kFrameTypes, "--frame", *v);
     }},
    {"--no-frame", Takes::kNothing,
     [](ConvertOptions& o, const std::optional<QString>&) -> Error {
         o.choices.show_frame = 0;
         return std::nullopt;
     }},
    {"--frame-color", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) {
         return SetNamed(o.choices.frame_color, kFrameColors, "--frame-color", *v);
     }},
    {"--display-bpp", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) -> Error {
         const auto bpp = ParseInt16(v->toStdString());
         if (!bpp || !platform::Display::IsSupportedDepth(*bpp))
             return QStringLiteral("--display-bpp: %1 is not one of 8|15|16|24|32").arg(Quoted(*v));
         o.display_bpp = *bpp;
         return std::nullopt;
     }},
    {"--saved-settings", Takes::kNothing,
     [](ConvertOptions& o, const std::optional<QString>&) -> Error {
         o.saved_settings = true;
         return std::nullopt;
     }},
    {"--output-dir", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) -> Error {
         if (v->isEmpty()) return QStringLiteral("--output-dir: the folder name is empty");
         o.output_dir = *v;
         return std::nullopt;
     }},
    {"--format", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) -> Error {
         if (!FormatForExtension(*v))
             return QStringLiteral("--format: %1 is not one of %2")
                 .arg(Quoted(*v), WritableExtensions());
         o.extension = v->toLower();
         o.extension_given = true;
         return std::nullopt;
     }},
    {"--background", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) -> Error {
         o.choices.background = ParseBackground(*v);
         if (o.choices.background) return std::nullopt;
         return QStringLiteral("--background: %1 is not white, black or #rrggbb").arg(Quoted(*v));
     }},
    {"--depth-map", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) -> Error {
         if (v->isEmpty()) return QStringLiteral("--depth-map: the file name is empty");
         o.depth_map = *v;
         return std::nullopt;
     }},
    {"--second-view", Takes::kValue,
     [](ConvertOptions& o, const std::optional<QString>& v) -> Error {
         if (v->isEmpty()) return QStringLiteral("--second-view: the file name is empty");
         o.second_view = *v;
         return std::nullopt;
     }},
};

const OptionRule* FindOption(const QString& name) {
    for (const OptionRule& rule : kOptions)
        if (name == QLatin1String(rule.name)) return &rule;
    return nullptr;
}

ParseResult UsageError(QString error) {
    ParseResult result;
    result.status = ParseStatus::kUsageError;
    result.error = std::move(error);
    return result;
}

// Splits the positional arguments into inputs and output, and refuses combinations
// that cannot be carried out.
Error CheckLayout(ConvertOptions& o, const QStringList& positional) {
    if (positional.isEmpty()) return QStringLiteral("no input picture given");
    if (o.output_dir.isEmpty()) {
        if (positional.size() == 1)
            return QStringLiteral(
                       "no output file given for %1 (give INPUT OUTPUT, or --output-dir DIR)")
                .arg(Quoted(positional.front()));
        if (positional.size() > 2)
            return QStringLiteral("%1 pictures given; several inputs need --output-dir DIR")
                .arg(positional.size() - 1);
        if (o.extension_given) return QStringLiteral("--format applies only with --output-dir");
        o.inputs = {positional.front()};
        o.output = positional.back();
        return std::nullopt;
    }
    o.inputs = positional;
    if (o.inputs.size() > 1 && (!o.depth_map.isEmpty() || !o.second_view.isEmpty()))
        return QStringLiteral("--depth-map and --second-view need a single input picture");
    return std::nullopt;
}

// --help and --version answer whatever else the line holds, mistakes included.
std::optional<ParseStatus> AskedForInformation(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--")) break;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return ParseStatus::kHelp;
        if (argument == QLatin1String("--version")) return ParseStatus::kVersion;
    }
    return std::nullopt;
}

// Applies the option at arguments[i], moving i past a value given as the next word.
Error ApplyOption(const QStringList& arguments, qsizetype& i, ConvertOptions& options) {
    const QString& argument = arguments[i];
    const qsizetype equals = argument.indexOf('=');
    const QString name = equals < 0 ? argument : argument.left(equals);
    const OptionRule* rule = FindOption(name);
    if (!rule) return QStringLiteral("unknown option %1").arg(Quoted(name));
    std::optional<QString> value;
    if (equals >= 0) value = argument.mid(equals + 1);
    if (rule->takes == Takes::kNothing && value)
        return QStringLiteral("%1 takes no value").arg(name);
    if (rule->takes == Takes::kValue && !value) {
        // "--output-dir --format png" is a forgotten folder, not a folder named "--format".
        if (i + 1 >= arguments.size() || arguments[i + 1].startsWith(QLatin1String("--")))
            return QStringLiteral("%1 needs a value").arg(name);
        value = arguments[++i];
    }
    return rule->apply(options, value);
}

}  // namespace

ParseResult ParseCommandLine(const QStringList& arguments) {
    ParseResult result;
    if (const auto information = AskedForInformation(arguments)) {
        result.status = *information;
        return result;
    }
    QStringList positional;
    bool options_ended = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (options_ended || argument == QLatin1String("-") || !argument.startsWith('-')) {
            positional << argument;
        } else if (argument == QLatin1String("--")) {
            options_ended = true;
        } else if (Error error = ApplyOption(arguments, i, result.options)) {
            return UsageError(*error);
        }
    }
    if (Error error = CheckLayout(result.options, positional)) return UsageError(*error);
    return result;
}

}  // namespace convert_tool
