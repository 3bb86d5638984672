#pragma once
// The text forms of the settings store. Every value is kept as text: integers in
// decimal, the two flags as the words True and False. Reading is lenient in the
// way the old runtime's coercions were: any decimal number that rounds (half to
// even) into the 16-bit range is an integer, and a flag is the word True or False
// in any letter case, or a number (0 false, anything else true).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// A decimal number with optional sign, fraction and exponent, surrounded by
// optional blanks; nullopt for anything else (empty text, words, inf, nan).
std::optional<double> ParseStoredNumber(std::string_view text);

// nullopt when the text is no number or rounds outside -32768..32767.
std::optional<std::int16_t> ParseStoredInteger(std::string_view text);
std::optional<bool> ParseStoredTruth(std::string_view text);

std::string FormatStoredInteger(std::int16_t value);
std::string FormatStoredTruth(bool value);
std::string FormatStoredReal(double value);

// A colour as "#rrggbb" (six hexadecimal digits, either case, optional blanks around)
// to 0xRRGGBB; nullopt for anything else.
std::optional<std::uint32_t> ParseStoredColour(std::string_view text);
// 0xRRGGBB as "#rrggbb", lower case.
std::string FormatStoredColour(std::uint32_t colour);

}  // namespace core
