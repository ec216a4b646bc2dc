#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "common/text.hpp"

namespace {

using common::FormatFixed;

struct FormatCase {
    bool padZeros;
    int minIntDigits;
    bool roundLast;
    double value;
    int decimals;
    const char* text;
};

TEST(FormatFixed, TableOfValues) {
    const FormatCase cases[] = {
        // Coordinates and auxiliary values: no fill, rounded last digit.
        {false, 2, true, 3.14159, 3, "3.142"},
        {false, 2, true, 2.5, 0, "3."},
        {false, 2, true, 99.9996, 3, "100.000"},
        {false, 2, true, 9.96, 1, "10.0"},
        {false, 2, true, -0.0004, 3, "-0.000"},
        {false, 1, true, 0.5, 2, "0.50"},
        {false, 1, true, 6099167.23851, 3, "6099167.239"},
        // The decision digit is that of the binary value: 2.675 is 2.67499999...
        {false, 1, true, 2.675, 2, "2.67"},
        {false, 1, true, -37.99999999, 6, "-38.000000"},
        {false, 3, true, 999.99999, 2, "1000.00"},
        {false, 1, true, 0.0, 0, "0."},
        {false, 1, true, 0.04, 1, "0.0"},
        {false, 1, true, 0.05, 1, "0.1"},
        // Minutes and seconds: two-digit, zero-filled, truncated.
        {true, 2, false, 5.9, 2, "05.90"},
        {true, 2, false, 7.999, 2, "07.99"},
        {true, 2, false, 59.9999999, 6, "59.999999"},
        {true, 2, false, 0.0, 0, "00."},
        {true, 3, false, 123.456, 1, "123.4"},
        // A rounding carry with zero fill takes one fill position.
        {true, 3, true, 9.96, 1, "010.0"},
        {true, 2, true, 99.96, 1, "100.0"},
        // Large values keep every integer digit.
        {false, 1, true, 1e9, 2, "1000000000.00"},
        {false, 1, true, 4294967296.5, 0, "4294967297."},
        {false, 1, true, -12345678901.25, 1, "-12345678901.3"},
        {false, 1, false, 1e20, 1, "100000000000000000000.0"},
        {false, 1, false, 9007199254740993.0, 0, "9007199254740992."},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(FormatFixed(c.padZeros, static_cast<std::uint8_t>(c.minIntDigits), c.roundLast,
                              c.value, static_cast<std::uint8_t>(c.decimals), '.'),
                  c.text)
            << c.value << " with " << c.decimals << " decimals";
    }
}

TEST(FormatFixed, WritesTheGivenSeparator) {
    EXPECT_EQ(FormatFixed(false, 1, true, 12.25, 2, ','), "12,25");
    EXPECT_EQ(FormatFixed(false, 1, true, 12.0, 0, ','), "12,");
}

TEST(FormatFixed, LargestDoubleAndManyDecimalsStayDefined) {
    const double largest = std::numeric_limits<double>::max();
    const std::string text = FormatFixed(false, 1, true, largest, 255, '.');
    EXPECT_EQ(text.size(), 309u + 1u + 255u);
    EXPECT_EQ(text.substr(0, 6), "179769");
    const std::string tiny = FormatFixed(false, 1, false, 5e-324, 255, '.');
    EXPECT_EQ(tiny, "0." + std::string(255, '0'));
}

TEST(FormatFixed, NotANumberAndInfinityHaveTheirOwnText) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(FormatFixed(false, 1, true, std::nan(""), 3, '.'), "nan");
    EXPECT_EQ(FormatFixed(true, 2, false, inf, 3, '.'), "inf");
    EXPECT_EQ(FormatFixed(false, 1, true, -inf, 3, '.'), "-inf");
}

TEST(FormatFixed, ParsedTextComesBackUnchanged) {
    // A text with up to twelve decimals survives parse and rounded format.
    const char* texts[] = {"0.1",
                           "37.617635",
                           "-33.9",
                           "6099167.239",
                           "7372018.491",
                           "0.123456789012",
                           "179.999999999999",
                           "-0.000000000001",
                           "12345.5"};
    for (const char* text : texts) {
        bool ok = true;
        const double value = common::ParseSignedReal(text, ok);
        ASSERT_TRUE(ok);
        const std::string s(text);
        const auto point = s.find('.');
        const auto decimals = static_cast<std::uint8_t>(s.size() - point - 1);
        EXPECT_EQ(FormatFixed(false, 1, true, value, decimals, '.'), s);
    }
}

struct SplitCase {
    double value;
    double deg;
    double min;
    double sec;
};

TEST(SplitDegrees, TableOfAngles) {
    const SplitCase cases[] = {
        {-37.5, 37, 30, 0},   {55.75, 55, 45, 0},
        {0.0, 0, 0, 0},       {180.0, 180, 0, 0},
        {-0.25, 0, 15, 0},    {37.50833333333333, 37, 30, 30},
        {1e300, 1e300, 0, 0}, {89.99999999999999, 89, 59, 59.99999999997},
    };
    for (const SplitCase& c : cases) {
        common::TDegMinSec angle;
        angle.Value = c.value;
        common::SplitDegrees(angle);
        EXPECT_EQ(angle.Deg, c.deg) << c.value;
        EXPECT_EQ(angle.Min, c.min) << c.value;
        EXPECT_NEAR(angle.Sec, c.sec, 1e-9) << c.value;
        EXPECT_GE(angle.Sec, 0.0);
        EXPECT_LT(angle.Sec, 60.0);
        EXPECT_EQ(angle.Value, c.value);
    }
}

TEST(SplitDegrees, NonFiniteAnglesEndAtOnce) {
    common::TDegMinSec angle;
    angle.Value = -std::numeric_limits<double>::infinity();
    common::SplitDegrees(angle);
    EXPECT_TRUE(std::isinf(angle.Deg));
    EXPECT_EQ(angle.Min, 0.0);
    angle.Value = std::nan("");
    common::SplitDegrees(angle);
    EXPECT_TRUE(std::isnan(angle.Deg));
    EXPECT_EQ(angle.Sec, 0.0);
}

TEST(AllInputsValid, EveryFlagCounts) {
    std::array<bool, 11> flags{};
    flags.fill(true);
    EXPECT_TRUE(common::AllInputsValid(flags));
    for (std::size_t i = 0; i < flags.size(); ++i) {
        flags[i] = false;
        EXPECT_FALSE(common::AllInputsValid(flags)) << i;
        flags[i] = true;
    }
    bool eight[8] = {true, true, true, true, true, true, true, false};
    EXPECT_FALSE(common::AllInputsValid(eight));
}

// The digits read off the bits against an independent oracle: the exact decimal expansion of the
// double (60 places hold every fraction of a value from 2^-7 up), cut after one more digit and
// rounded half up by hand.
std::string RoundedByHand(double value, int decimals) {
    char buffer[512];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::fixed, 60)
                         .ptr;
    std::string exact(buffer, end);
    const std::size_t point = exact.find('.');
    std::string digits = exact.substr(0, point);
    digits.append(exact, point + 1, decimals);
    const bool up = exact[point + 1 + decimals] >= '5';
    std::size_t i = digits.size();
    while (up && i > 0) {
        --i;
        if (digits[i] != '9') {
            ++digits[i];
            break;
        }
        digits[i] = '0';
        if (i == 0) digits.insert(digits.begin(), '1');
    }
    const std::size_t whole = digits.size() - decimals;
    std::string text(value < 0 ? "-" : "");
    text.append(digits, 0, whole);
    text.push_back('.');
    text.append(digits, whole);
    return text;
}

TEST(FormatFixed, RandomValuesAgreeWithTheExactExpansion) {
    std::mt19937_64 random(7);
    for (int exponent = -7; exponent <= 52; ++exponent) {
        std::uniform_real_distribution<double> mantissa(1.0, 2.0);
        for (int i = 0; i < 300; ++i) {
            const double magnitude = std::ldexp(mantissa(random), exponent);
            const double value = (random() & 1) != 0 ? -magnitude : magnitude;
            const int decimals = static_cast<int>(random() % 13);
            EXPECT_EQ(FormatFixed(false, 1, true, value, static_cast<std::uint8_t>(decimals), '.'),
                      RoundedByHand(value, decimals))
                << value << " with " << decimals << " decimals";
        }
    }
}

// The interval test against the texts themselves: where it says "same", the ends and points
// between them must print alike; the rows near a rounding edge or zero must say "different".
TEST(SameFixedTextWithin, AgreesWithTheTexts) {
    struct Case {
        double value;
        double bound;
        int decimals;
        bool same;
    };
    const Case cases[] = {
        {55.00001361234, 1e-12, 10, true},
        {55.00000000005, 1e-12, 10, false},  // 55.00000000005 +- 1e-12 straddles a half
        {55.000000000049, 1e-15, 10, true},
        {-37.25, 0.0, 0, true},
        {2.5, 0.0, 0, false},  // on the edge itself the answer errs on the safe side
        {2.5, 1e-15, 0, false},
        {0.0, 0.0, 3, true},
        {0.0, 1e-20, 3, false},  // -1e-20 prints "-0.000", +1e-20 "0.000"
        {1e-9, 1e-10, 3, true},
        {-1e-9, 1e-10, 3, true},
        {-1e-9, 2e-9, 3, false},
        {6099167.23851, 1e-8, 3, true},
        {6099167.2385, 1e-8, 3, false},
        {179.99999999996, 1e-12, 10, true},
        {179.99999999995, 1e-12, 10, false},
        {1.0, std::numeric_limits<double>::infinity(), 3, false},
        {std::numeric_limits<double>::quiet_NaN(), 0.0, 3, false},
        {1.0, -1.0, 3, false},
        {1e20, 0.0, 5, false},  // beyond what extended precision resolves
    };
    for (const Case& c : cases) {
        const auto decimals = static_cast<std::uint8_t>(c.decimals);
        EXPECT_EQ(common::SameFixedTextWithin(c.value, c.bound, decimals), c.same)
            << c.value << " +- " << c.bound;
        if (!c.same) continue;
        const std::string text = FormatFixed(false, 1, true, c.value, decimals, '.');
        for (int step = -4; step <= 4; ++step) {
            const double inside = c.value + c.bound * step / 4.0;
            EXPECT_EQ(FormatFixed(false, 1, true, inside, decimals, '.'), text) << inside;
        }
    }
}

}  // namespace
