#include "tools/number_argument.h"

#include <charconv>

namespace convert_tool {

std::optional<std::int16_t> ParseInt16(std::string_view text) {
    // from_chars takes a minus but not a plus, and neither may stand before the other.
    const bool plus = text.starts_with('+');
    if (plus) text.remove_prefix(1);
    const std::string_view digits = text.starts_with('-') && !plus ? text.substr(1) : text;
    if (digits.empty() || digits.front() < '0' || digits.front() > '9') return std::nullopt;
    std::int16_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

std::optional<std::vector<std::int16_t>> ParseInt16List(std::string_view text, std::size_t count) {
    std::vector<std::int16_t> values;
    while (true) {
        const std::size_t comma = text.find(',');
        const auto value = ParseInt16(text.substr(0, comma));
        if (!value) return std::nullopt;
        values.push_back(*value);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (values.size() != count) return std::nullopt;
    return values;
}

}  // namespace convert_tool
