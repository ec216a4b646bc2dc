// Inputs the fuzz targets found, each with the property it broke.

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>

#include "common/text.hpp"

namespace {

// The first `decimals` fractional digits of the exact decimal expansion of |value|.
std::string ExactTruncatedFraction(double value, int decimals) {
    static char buffer[1500];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::fixed, 1080);
    const std::string exact(buffer, result.ptr);
    return exact.substr(exact.find('.') + 1, static_cast<std::size_t>(decimals));
}

// Deep decimals of small values were computed in extended precision, which holds only about 19
// digits of them: the digits after those differed from the value's own.
TEST(FuzzRegression, TruncatedDigitsOfSmallValuesAreExact) {
    const double values[] = {1.763968715287396e-114, 0.0004, 1.0 / 3.0 * 1e-3, 5e-324,
                             0.001953125 - 1e-18,    2.5e-10};
    for (double value : values) {
        for (int decimals : {12, 40, 148, 254}) {
            const std::string text = common::FormatFixed(true, 80, false, value, decimals, '.');
            EXPECT_EQ(text, std::string(80, '0') + "." + ExactTruncatedFraction(value, decimals))
                << value << " with " << decimals;
        }
    }
}

}  // namespace
