#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <span>
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

// Each text read as a latitude (N, S) gives its row's parts, or nothing when the row is not ok.
void ExpectLatitudes(std::span<const AngleCase> cases) {
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
}

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
    ExpectLatitudes(cases);
    EXPECT_TRUE(ParseAngleArgument("37.5w", 'E', 'W')->Negative);
    EXPECT_TRUE(ParseAngleArgument("-0", 'E', 'W')->Negative);
}

TEST(ParseAngleArgument, NotationsPeopleWrite) {
    const AngleCase cases[] = {
        {"55°45'20.5\"N", true, 55, 45, 20.5, true, false},
        {"55° 45' 20,5\" S", true, 55, 45, 20.5, true, true},
        {"55 45 20.5 N", true, 55, 45, 20.5, true, false},
        {"55 45 20.5", true, 55, 45, 20.5, true, false},
        {"55d45m20.5s", true, 55, 45, 20.5, true, false},
        {"55d45m20.5sS", true, 55, 45, 20.5, true, true},
        {"55D45m20.5s", true, 55, 45, 20.5, true, false},
        {"55\u00BA45\u203220.5\u2033", true, 55, 45, 20.5, true, false},
        {"55\xB0"
         "45'20.5''",
         true, 55, 45, 20.5, true, false},  // the single-byte degree sign
        {"55:45:20.5N", true, 55, 45, 20.5, true, false},
        {"55°45'", true, 55, 45, 0, true, false},
        {"55.5°", true, 55.5, 0, 0, false, false},
        {"-33.5", true, 33.5, 0, 0, false, true},
        {"33,5s", true, 33.5, 0, 0, false, true},     // no minutes marked: "s" is south
        {"55°20.5\"", false, 0, 0, 0, false, false},  // seconds in the place of minutes
        {"55'45°", false, 0, 0, 0, false, false},
        {"55°45'20.5\"1", false, 0, 0, 0, false, false},
        {"55 45 20 5", false, 0, 0, 0, false, false},
        {"55x45", false, 0, 0, 0, false, false},
        {"55°°", false, 0, 0, 0, false, false},
        {"55 : 45", true, 55, 45, 0, true, false},
        {"55 45.5", false, 0, 0, 0, false, false},  // whole minutes before seconds only
        {"-55 45", false, 0, 0, 0, false, false},
        {"55°45'20.5\"E", false, 0, 0, 0, false, false},
    };
    ExpectLatitudes(cases);
}

TEST(LooksLikeNegativeNumber, NumbersAreNotOptions) {
    for (const char* number : {"-33.5", "-0", "-.5", "-,5", "-33:30:00"})
        EXPECT_TRUE(common::LooksLikeNegativeNumber(number)) << number;
    for (const char* option : {"-", "--", "-h", "-x5", "--5", "33", ""})
        EXPECT_FALSE(common::LooksLikeNegativeNumber(option)) << option;
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

TEST(TakeFlags, TakesOneGroupAndPassesTheRestOn) {
    const std::vector<std::string_view> values = {"--series", "--system"}, switches = {"--flag"},
                                        passOn = {"--format"};
    const std::vector<std::string> args = {"--series=4", "--format", "--system", "a.txt",
                                           "--flag",     "--system", "sk42",     "--",
                                           "--series",   "5"};
    const common::TakenFlags taken = common::TakeFlags(args, values, switches, passOn);
    EXPECT_EQ(taken.Problem, "");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"--series", "4"}, {"--flag", ""}, {"--system", "sk42"}};
    EXPECT_EQ(taken.Values, expected);
    // The value of the command's own --format stays with it; after "--" nothing is read.
    const std::vector<std::string> rest = {"--format", "--system", "a.txt", "--", "--series", "5"};
    EXPECT_EQ(taken.Rest, rest);

    const std::vector<std::string> twice = {"--series", "3", "--series=4"};
    EXPECT_EQ(common::TakeFlags(twice, values, switches, passOn).Problem,
              common::RepeatedOption("--series"));
    const std::vector<std::string> missing = {"--system"};
    EXPECT_EQ(common::TakeFlags(missing, values, switches, passOn).Problem,
              "Флаг --system требует значения");
}

}  // namespace
