#include "core/settings_text.h"

#include <cstdio>
#include <cstdlib>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace core {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Checks the shape [sign] digits [. digits] [e [sign] digits] (at least one digit
// in the mantissa), which from_chars alone would widen to inf, nan and hex floats.
bool IsDecimalNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t mantissa_digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++mantissa_digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++mantissa_digits;
    }
    if (mantissa_digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t exponent_digits = 0;
        while (i < text.size() && IsDigit(text[i])) ++i, ++exponent_digits;
        if (exponent_digits == 0) return false;
    }
    return i == text.size();
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::optional<double> ParseStoredNumber(std::string_view text) {
    text = Trimmed(text);
    if (!IsDecimalNumber(text)) return std::nullopt;
    // from_chars takes no leading plus sign.
    if (text.front() == '+') text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::int16_t> ParseStoredInteger(std::string_view text) {
    const std::optional<double> number = ParseStoredNumber(text);
    if (!number) return std::nullopt;
    const double rounded = std::nearbyint(*number);
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(rounded);
}

std::optional<bool> ParseStoredTruth(std::string_view text) {
    const std::string_view word = Trimmed(text);
    if (EqualsIgnoringCase(word, "True")) return true;
    if (EqualsIgnoringCase(word, "False")) return false;
    const std::optional<double> number = ParseStoredNumber(word);
    if (!number) return std::nullopt;
    return *number != 0.0;
}

std::string FormatStoredInteger(std::int16_t value) {
    return std::to_string(value);
}

std::string FormatStoredTruth(bool value) {
    return value ? "True" : "False";
}

// The shortest text that reads back as the same number ("2.5", "0.1", "3").
std::string FormatStoredReal(double value) {
    char text[32];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value) break;
    }
    return text;
}

std::optional<std::uint32_t> ParseStoredColour(std::string_view text) {
    text = Trimmed(text);
    if (text.size() != 7 || text.front() != '#') return std::nullopt;
    std::uint32_t colour = 0;
    for (const char c : text.substr(1)) {
        const int digit = IsDigit(c)               ? c - '0'
                          : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                          : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                   : -1;
        if (digit < 0) return std::nullopt;
        colour = colour << 4 | static_cast<std::uint32_t>(digit);
    }
    return colour;
}

std::string FormatStoredColour(std::uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(colour & 0xFFFFFFu));
    return text;
}

}  // namespace core
