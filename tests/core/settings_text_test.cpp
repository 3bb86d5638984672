#include "core/settings_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// Plain forms, half to even, the 16-bit edges after rounding, words in any case, and
// texts that are no numbers; every value written reads back.
TEST(StoredText, ParsesAsTheStoreWasReadAndReadsBackWhatItWrites) {
    constexpr std::optional<std::int16_t> kNone;
    constexpr std::optional<bool> no;
    // clang-format off
    const std::pair<const char*, std::optional<std::int16_t>> integers[] = {
        {"0", 0}, {"6", 6}, {"-12", -12}, {"+7", 7}, {"  24 ", 24}, {"\t255\r\n", 255}, {"007", 7},
        {"0.5", 0}, {"1.5", 2}, {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"-3.5", -4}, {"2.4999", 2},
        {"2.5001", 3}, {".5", 0}, {"5.", 5}, {"1e2", 100}, {"2.5E1", 25}, {"-1e-9", 0},
        {"32767", 32767}, {"32767.4", 32767}, {"32767.5", kNone}, {"32768", kNone},
        {"-32768", -32768}, {"-32768.5", -32768}, {"-32769", kNone}, {"70000", kNone},
        {"1e400", kNone}, {"", kNone}, {"   ", kNone}, {"abc", kNone}, {"12abc", kNone},
        {"1 2", kNone}, {"-", kNone}, {".", kNone}, {"1e", kNone}, {"inf", kNone}, {"nan", kNone},
        {"0x10", kNone}, {"True", kNone}, {"1,5", kNone}, {"--1", kNone}};
    const std::pair<const char*, std::optional<bool>> flags[] = {
        {"True", true}, {"False", false}, {"true", true}, {"FALSE", false}, {"tRuE", true},
        {" False ", false}, {"1", true}, {"0", false}, {"-1", true}, {"0.0", false}, {"0.4", true},
        {"70000", true}, {"", no}, {"yes", no}, {"Truee", no}, {"T", no}, {"nan", no}};
    // clang-format on
    for (const auto& [text, expected] : integers)
        EXPECT_EQ(core::ParseStoredInteger(text), expected) << "text: '" << text << "'";
    for (const auto& [text, expected] : flags)
        EXPECT_EQ(core::ParseStoredTruth(text), expected) << "text: '" << text << "'";
    for (int v = -32768; v <= 32767; ++v)
        ASSERT_EQ(core::ParseStoredInteger(core::FormatStoredInteger(static_cast<std::int16_t>(v))),
                  v);
}

// Colours are "#rrggbb" in either case; anything else (short, long, no '#', a
// named colour, a number) is no colour, and what is written reads back.
TEST(StoredText, ColoursAreSixHexDigitsAfterAHash) {
    constexpr std::optional<std::uint32_t> kNone;
    const std::pair<const char*, std::optional<std::uint32_t>> colours[] = {
        {"#ffffff", 0xFFFFFF},      {"#000000", 0},     {"#FF8000", 0xFF8000},
        {" #0a0B0c\r\n", 0x0A0B0C}, {"#fff", kNone},    {"ffffff", kNone},
        {"#fffffff", kNone},        {"#ggffff", kNone}, {"white", kNone},
        {"16777215", kNone},        {"", kNone},        {"# ffffff", kNone}};
    for (const auto& [text, expected] : colours)
        EXPECT_EQ(core::ParseStoredColour(text), expected) << "text: '" << text << "'";
    for (const std::uint32_t colour : {0x000000u, 0x123456u, 0xABCDEFu, 0xFFFFFFu})
        EXPECT_EQ(core::ParseStoredColour(core::FormatStoredColour(colour)), colour);
    EXPECT_EQ(core::FormatStoredColour(0xFF8000), "#ff8000");
}

}  // namespace
