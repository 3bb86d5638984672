#pragma once
// Numbers on the command line: every setting is a 16-bit signed integer, so a
// number that does not fit, or text that is not a whole number, is refused rather
// than wrapped or cut short.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace convert_tool {

// A decimal integer with an optional sign and nothing else around it.
std::optional<std::int16_t> ParseInt16(std::string_view text);

// Comma-separated 16-bit integers, exactly `count` of them.
std::optional<std::vector<std::int16_t>> ParseInt16List(std::string_view text, std::size_t count);

}  // namespace convert_tool
