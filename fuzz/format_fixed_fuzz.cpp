// FormatFixed against a reference built from the exact decimal expansion of the double (the C++
// library's to_chars with enough digits): truncated, or rounded half up on the first dropped
// digit, filled with zeros to the minimum width, and always finite-length text.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "common/text.hpp"
#include "fuzz_check.hpp"

namespace {

// Every double has at most 1074 fractional decimal digits.
constexpr int kAllFractionDigits = 1080;

std::string ExactDigits(double magnitude) {
    static char buffer[400 + kAllFractionDigits];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                      std::chars_format::fixed, kAllFractionDigits);
    FUZZ_CHECK(result.ec == std::errc(), "reference digits fit");
    return std::string(buffer, result.ptr);
}

// Adds one in the last place of a digit string; a carry past the first digit lengthens it.
void Increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

std::string Reference(bool padZeros, int minIntDigits, bool roundLast, double value, int decimals,
                      char separator) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    const std::string exact = ExactDigits(std::fabs(value));
    const auto point = exact.find('.');
    std::string integer = exact.substr(0, point);
    const std::string fraction = exact.substr(point + 1);
    std::string digits = integer + fraction.substr(0, static_cast<std::size_t>(decimals));
    if (roundLast && fraction[static_cast<std::size_t>(decimals)] >= '5') {
        const std::size_t before = digits.size();
        Increment(digits);
        if (digits.size() > before) integer.insert(integer.begin(), '1');
    }
    std::string integerText = digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
    if (padZeros && integerText.size() < static_cast<std::size_t>(minIntDigits)) {
        integerText.insert(0, static_cast<std::size_t>(minIntDigits) - integerText.size(), '0');
    }
    return (value < 0 ? "-" : "") + integerText + separator +
           digits.substr(digits.size() - static_cast<std::size_t>(decimals));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size < sizeof(double) + 3) return 0;
    double value;
    std::memcpy(&value, data, sizeof value);
    const unsigned char flags = data[8];
    const bool padZeros = flags & 1;
    const bool roundLast = flags & 2;
    const char separator = flags & 4 ? ',' : '.';
    const std::uint8_t minIntDigits = data[9];
    const std::uint8_t decimals = data[10];

    const std::string text =
        common::FormatFixed(padZeros, minIntDigits, roundLast, value, decimals, separator);
    const std::string expected =
        Reference(padZeros, minIntDigits, roundLast, value, decimals, separator);
    if (text != expected) {
        std::fprintf(stderr, "value %.17g pad %d min %d round %d decimals %d\n got %s\nwant %s\n",
                     value, padZeros, minIntDigits, roundLast, decimals, text.c_str(),
                     expected.c_str());
    }
    FUZZ_CHECK(text == expected, "digits of the exact value");
    return 0;
}
