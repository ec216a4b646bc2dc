#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "common/cli_args.hpp"

namespace {

using common::ParseAngleArgument;

struct AngleCase {
    const char* text;
    bool ok;
    double deg, min, sec;
    bool dms, negative;
};

TEST(ParseAngleArgument, DecimalAndDegMinSecWithOrWithoutLetter) {
    const AngleCase cases[] = {
        {"55.75", true, 55.75, 0, 0, false, false},
        {"-37,5", true, 37.5, 0, 0, false, true},
        {"+37.5", true, 37.5, 0, 0, false, false},
        {"37.5S", true, 37.5, 0, 0, false, true},
        {"37.5n", true, 37.5, 0, 0, false, false},
        {"-37.5S", false, 0, 0, 0, false, false},  // a sign and a letter
        {"37:30:15.5s", true, 37, 30, 15.5, true, true},
        {"37:30N", true, 37, 30, 0, true, false},
        {"37:30", true, 37, 30, 0, true, false},
        {"37:30:", false, 0, 0, 0, true, false},
        {"37::5", false, 0, 0, 0, true, false},
        {"-37:30", false, 0, 0, 0, true, false},
        {"37:30.5", false, 0, 0, 0, true, false},  // whole minutes only
        {"37:30:15:1", false, 0, 0, 0, true, false},
        {"37:30:-1", false, 0, 0, 0, true, false},
        {"", false, 0, 0, 0, false, false},
        {"N", false, 0, 0, 0, false, false},
        {"37.5E", false, 0, 0, 0, false, false},  // a letter of the other axis
        {" 37.5", false, 0, 0, 0, false, false},
    };
    for (const AngleCase& c : cases) {
        const auto angle = ParseAngleArgument(c.text, 'N', 'S');
        ASSERT_EQ(angle.has_value(), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(angle->Deg, c.deg) << c.text;
        EXPECT_EQ(angle->Min, c.min) << c.text;
        EXPECT_EQ(angle->Sec, c.sec) << c.text;
        EXPECT_EQ(angle->DegMinSec, c.dms) << c.text;
        EXPECT_EQ(angle->Negative, c.negative) << c.text;
    }
    EXPECT_TRUE(ParseAngleArgument("37.5w", 'E', 'W')->Negative);
    EXPECT_TRUE(ParseAngleArgument("-0", 'E', 'W')->Negative);
}

TEST(Json, NumbersAtFullPrecisionAndEscapedStrings) {
    EXPECT_EQ(common::JsonNumber(0.1), "0.10000000000000001");
    EXPECT_EQ(common::JsonNumber(-6099167.2390000001), "-6099167.2390000001");
    EXPECT_EQ(common::JsonNumber(std::nan("")), "null");
    EXPECT_EQ(common::JsonNumber(std::numeric_limits<double>::infinity()), "null");
    EXPECT_EQ(common::JsonString("N-37-А"), "\"N-37-А\"");
    EXPECT_EQ(common::JsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\u000a\\u0001\"");
}

TEST(CaptionLabel, DropsTrailingBlanksAndColons) {
    EXPECT_EQ(common::CaptionLabel("1:500 000     :"), "1:500 000");
    EXPECT_EQ(common::CaptionLabel("Масштаб: "), "Масштаб");
    EXPECT_EQ(common::CaptionLabel(" : "), "");
    EXPECT_EQ(common::CaptionLabel(""), "");
}

}  // namespace
