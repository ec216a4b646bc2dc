#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "common/text.hpp"

namespace {

using common::ParseSignedReal;
using common::ParseUnsignedInt;
using common::ParseUnsignedReal;

struct RealCase {
    const char* text;
    bool ok;
    double value;  // checked only when ok
};

class SignedRealTest : public ::testing::TestWithParam<RealCase> {};

TEST_P(SignedRealTest, ParsesOrRefuses) {
    const RealCase& c = GetParam();
    bool ok = true;
    const double value = ParseSignedReal(c.text, ok);
    EXPECT_EQ(ok, c.ok) << '"' << c.text << '"';
    if (c.ok) {
        EXPECT_DOUBLE_EQ(value, c.value) << '"' << c.text << '"';
    } else {
        EXPECT_EQ(value, 0.0) << '"' << c.text << '"';
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SignedRealTest,
    ::testing::Values(
        RealCase{"12,5", true, 12.5}, RealCase{"12.5", true, 12.5}, RealCase{"1.2.5", false, 0},
        RealCase{"1,2.5", false, 0}, RealCase{"", false, 0}, RealCase{" 12.5", false, 0},
        RealCase{"12.5 ", false, 0}, RealCase{"1e5", false, 0}, RealCase{"1E5", false, 0},
        RealCase{"-0.5", true, -0.5}, RealCase{"+0.5", true, 0.5}, RealCase{"-+1", false, 0},
        RealCase{"+-1", false, 0}, RealCase{"--1", false, 0}, RealCase{"-", false, 0},
        RealCase{"+", false, 0}, RealCase{".", true, 0}, RealCase{",", true, 0},
        RealCase{"-.", true, 0}, RealCase{"5.", true, 5}, RealCase{".5", true, 0.5},
        RealCase{"007", true, 7}, RealCase{"37.61", true, 37.61}, RealCase{"-180", true, -180},
        RealCase{"6099167.239", true, 6099167.239}, RealCase{"0x10", false, 0},
        RealCase{"nan", false, 0}, RealCase{"inf", false, 0}, RealCase{"1-", false, 0}));

TEST(ParseSignedReal, CountsOnlyTwelveFractionalDigits) {
    bool ok = true;
    EXPECT_DOUBLE_EQ(ParseSignedReal("0.1234567890123456", ok), 0.123456789012);
    EXPECT_DOUBLE_EQ(ParseSignedReal("0.123456789012999999", ok), 0.123456789012);
    EXPECT_TRUE(ok);
}

TEST(ParseSignedReal, OnlyClearsTheFlag) {
    bool ok = false;
    ParseSignedReal("12.5", ok);
    EXPECT_FALSE(ok);
}

TEST(ParseSignedReal, HugeDigitRunsNeverGiveNanOrInfinity) {
    // Hundreds and thousands of digits overflow the decimal weight: refused, never NaN or inf.
    for (std::size_t digits : {309u, 400u, 5000u, 100000u}) {
        std::string text(digits + 1, '0');
        text.front() = '1';
        bool ok = true;
        const double value = ParseSignedReal(text, ok);
        EXPECT_FALSE(ok) << digits;
        EXPECT_EQ(value, 0.0);
        ok = true;
        EXPECT_FALSE(std::isnan(ParseUnsignedReal(std::string(digits + 1, '9') + ".5", ok)));
        EXPECT_FALSE(ok);
    }
    // Leading zeros are harmless however many there are.
    bool ok = true;
    EXPECT_EQ(ParseSignedReal("-" + std::string(10000, '0') + "25.5", ok), -25.5);
    EXPECT_TRUE(ok);
    // The largest exponent range a double holds still parses.
    EXPECT_TRUE(std::isfinite(ParseSignedReal("1" + std::string(300, '0'), ok)));
    EXPECT_TRUE(ok);
}

TEST(ParseUnsignedReal, AnySignFails) {
    for (const char* text : {"-1", "+1", "-0.5", "+.5", "1-", "-", "+"}) {
        bool ok = true;
        EXPECT_EQ(ParseUnsignedReal(text, ok), 0.0) << text;
        EXPECT_FALSE(ok) << text;
    }
    bool ok = true;
    EXPECT_DOUBLE_EQ(ParseUnsignedReal("12,25", ok), 12.25);
    EXPECT_TRUE(ok);
}

struct IntCase {
    std::string text;
    bool ok;
    std::int32_t value;
};

TEST(ParseUnsignedInt, TableOfTexts) {
    const std::int32_t top = std::numeric_limits<std::int32_t>::max();
    const IntCase cases[] = {
        {"007", true, 7},
        {"0", true, 0},
        {"60", true, 60},
        {"", false, 0},
        {"1a", false, 0},
        {"a1", false, 0},
        {"1 ", false, 0},
        {"-1", false, 0},
        {"+1", false, 0},
        {"1.0", false, 0},
        {"2147483647", true, top},
        // Above the 32-bit range: saturates, so every later range check fails.
        {"2147483648", true, top},
        {"999999999999999999", true, top},
        {std::string(18, '0'), true, 0},
        {std::string(19, '1'), false, 0},
        {std::string(19, '0'), false, 0},
    };
    for (const IntCase& c : cases) {
        bool ok = true;
        const std::int32_t value = ParseUnsignedInt(c.text, ok);
        EXPECT_EQ(ok, c.ok) << '"' << c.text << '"';
        EXPECT_EQ(value, c.value) << '"' << c.text << '"';
    }
}

}  // namespace
