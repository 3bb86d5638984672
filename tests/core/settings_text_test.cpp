#include "core/settings_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct IntegerCase {
    const char* text;
    std::optional<std::int16_t> expected;
};

class StoredIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(StoredIntegerTest, ParsesAsTheStoreWasRead) {
    EXPECT_EQ(core::ParseStoredInteger(GetParam().text), GetParam().expected)
        << "text: '" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Table, StoredIntegerTest,
    ::testing::Values(IntegerCase{"0", 0}, IntegerCase{"6", 6}, IntegerCase{"-12", -12},
                      IntegerCase{"+7", 7}, IntegerCase{"  24 ", 24}, IntegerCase{"\t255\r\n", 255},
                      IntegerCase{"007", 7},
                      // half to even
                      IntegerCase{"0.5", 0}, IntegerCase{"1.5", 2}, IntegerCase{"2.5", 2},
                      IntegerCase{"3.5", 4}, IntegerCase{"-2.5", -2}, IntegerCase{"-3.5", -4},
                      IntegerCase{"2.4999", 2}, IntegerCase{"2.5001", 3}, IntegerCase{".5", 0},
                      IntegerCase{"5.", 5}, IntegerCase{"1e2", 100}, IntegerCase{"2.5E1", 25},
                      IntegerCase{"-1e-9", 0},
                      // the 16-bit edges, after rounding
                      IntegerCase{"32767", 32767}, IntegerCase{"32767.4", 32767},
                      IntegerCase{"32767.5", std::nullopt}, IntegerCase{"32768", std::nullopt},
                      IntegerCase{"-32768", -32768}, IntegerCase{"-32768.5", -32768},
                      IntegerCase{"-32769", std::nullopt}, IntegerCase{"70000", std::nullopt},
                      IntegerCase{"1e400", std::nullopt},
                      // not numbers
                      IntegerCase{"", std::nullopt}, IntegerCase{"   ", std::nullopt},
                      IntegerCase{"abc", std::nullopt}, IntegerCase{"12abc", std::nullopt},
                      IntegerCase{"1 2", std::nullopt}, IntegerCase{"-", std::nullopt},
                      IntegerCase{".", std::nullopt}, IntegerCase{"1e", std::nullopt},
                      IntegerCase{"inf", std::nullopt}, IntegerCase{"nan", std::nullopt},
                      IntegerCase{"0x10", std::nullopt}, IntegerCase{"True", std::nullopt},
                      IntegerCase{"1,5", std::nullopt}, IntegerCase{"--1", std::nullopt}));

struct TruthCase {
    const char* text;
    std::optional<bool> expected;
};

class StoredTruthTest : public ::testing::TestWithParam<TruthCase> {};

TEST_P(StoredTruthTest, ParsesAsTheStoreWasRead) {
    EXPECT_EQ(core::ParseStoredTruth(GetParam().text), GetParam().expected)
        << "text: '" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Table, StoredTruthTest,
    ::testing::Values(TruthCase{"True", true}, TruthCase{"False", false}, TruthCase{"true", true},
                      TruthCase{"FALSE", false}, TruthCase{"tRuE", true},
                      TruthCase{" False ", false}, TruthCase{"1", true}, TruthCase{"0", false},
                      TruthCase{"-1", true}, TruthCase{"0.0", false}, TruthCase{"0.4", true},
                      TruthCase{"70000", true}, TruthCase{"", std::nullopt},
                      TruthCase{"yes", std::nullopt}, TruthCase{"Truee", std::nullopt},
                      TruthCase{"T", std::nullopt}, TruthCase{"nan", std::nullopt}));

TEST(StoredTextFormTest, IntegersAreWrittenInPlainDecimal) {
    EXPECT_EQ(core::FormatStoredInteger(0), "0");
    EXPECT_EQ(core::FormatStoredInteger(255), "255");
    EXPECT_EQ(core::FormatStoredInteger(-12), "-12");
    EXPECT_EQ(core::FormatStoredInteger(-32768), "-32768");
    EXPECT_EQ(core::FormatStoredInteger(32767), "32767");
}

TEST(StoredTextFormTest, FlagsAreWrittenAsWords) {
    EXPECT_EQ(core::FormatStoredTruth(true), "True");
    EXPECT_EQ(core::FormatStoredTruth(false), "False");
}

TEST(StoredTextFormTest, EveryIntegerSurvivesAWriteAndARead) {
    for (int v = -32768; v <= 32767; ++v) {
        const auto value = static_cast<std::int16_t>(v);
        ASSERT_EQ(core::ParseStoredInteger(core::FormatStoredInteger(value)), value);
    }
}

TEST(StoredTextFormTest, FlagsSurviveAWriteAndARead) {
    EXPECT_EQ(core::ParseStoredTruth(core::FormatStoredTruth(true)), true);
    EXPECT_EQ(core::ParseStoredTruth(core::FormatStoredTruth(false)), false);
}

}  // namespace
