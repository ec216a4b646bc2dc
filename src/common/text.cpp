#include "common/text.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace common {

namespace {

// Digits after this many fractional places are accepted but do not count.
constexpr std::size_t kMaxFractionDigits = 12;
// ParseUnsignedInt takes at most this many characters.
constexpr std::size_t kMaxIntegerChars = 18;

// The digits of a real in text: integer digits, then fractional digits once a separator was seen.
struct RealDigits {
    std::string_view integer;
    std::string_view fraction;
};

// Splits `text` into its digit runs; false for an empty text, a second separator or any other
// character (a blank, a sign, an exponent letter).
bool SplitRealDigits(std::string_view text, RealDigits& digits) {
    if (text.empty()) return false;
    std::size_t separator = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsDigitChar(text[i])) continue;
        if (!IsDecimalSeparator(text[i]) || separator != std::string_view::npos) return false;
        separator = i;
    }
    if (separator == std::string_view::npos) {
        digits = {text, {}};
    } else {
        digits = {text.substr(0, separator), text.substr(separator + 1)};
    }
    return true;
}

// Sums the digits with decimal weights in extended precision. A zero digit adds nothing, so long
// runs of leading zeros cannot turn an overflowed weight into NaN; a number too large for a double
// gives infinity, which the caller refuses.
long double DigitsValue(const RealDigits& digits) {
    long double value = 0.0L;
    long double weight = 1.0L;
    for (auto it = digits.integer.rbegin(); it != digits.integer.rend(); ++it) {
        if (*it != '0') value += DigitValue(*it) * weight;
        weight *= 10.0L;
    }
    weight = 0.1L;
    const std::size_t counted = std::min(digits.fraction.size(), kMaxFractionDigits);
    for (std::size_t i = 0; i < counted; ++i) {
        value += DigitValue(digits.fraction[i]) * weight;
        weight *= 0.1L;
    }
    return value;
}

double ParseReal(std::string_view text, bool negative, bool& ok) {
    RealDigits digits;
    if (!SplitRealDigits(text, digits)) {
        ok = false;
        return 0.0;
    }
    const double value = static_cast<double>(DigitsValue(digits));
    if (!std::isfinite(value)) {
        ok = false;
        return 0.0;
    }
    return negative ? -value : value;
}

// Digits a formatted number can have: 309 integer digits of the largest double and the carried
// "1", 255 decimals and the one that decides the rounding.
constexpr std::size_t kMaxFormattedIntegerDigits = std::numeric_limits<double>::max_exponent10 + 2;
constexpr std::size_t kMaxFormattedFractionDigits = 256;

// Writes the decimal digits of a whole, non-negative double at `out`; returns their count.
std::size_t WriteWholeDigits(double whole, char* out) {
    constexpr double kUint64Range = 18446744073709551616.0;  // 2^64
    const auto result = whole < kUint64Range ? std::to_chars(out, out + kMaxFormattedIntegerDigits,
                                                             static_cast<std::uint64_t>(whole))
                                             : std::to_chars(out, out + kMaxFormattedIntegerDigits,
                                                             whole, std::chars_format::fixed, 0);
    return static_cast<std::size_t>(result.ptr - out);
}

// Writes `count` fractional digits of a non-negative finite value at `out`, truncated, exactly
// as its binary value has them. While the fraction's lowest bit is at least 2^-60 (values from
// 2^-8 up) it is a whole number of 2^-60 units held in 64 bits, and each digit is one exact
// multiplication; smaller values take the exact digits of the library's fixed-point conversion.
void WriteFractionDigits(double value, double whole, char* out, std::size_t count) {
    int exponent = 0;
    std::frexp(value, &exponent);
    const int fractionBits = std::max(53 - exponent, 0);
    constexpr int kUnitBits = 60;
    if (value == 0.0 || fractionBits <= kUnitBits) {
        const std::uint64_t mask = (std::uint64_t{1} << fractionBits) - 1;
        std::uint64_t units = static_cast<std::uint64_t>(std::ldexp(value - whole, fractionBits));
        for (std::size_t i = 0; i < count; ++i) {
            units *= 10;
            out[i] = static_cast<char>('0' + (units >> fractionBits));
            units &= mask;
        }
        return;
    }
    // A value below 2^-8 has exactly fractionBits decimals, all of them within the buffer.
    char buffer[1200];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, fractionBits);
    const std::string_view exact(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::string_view fraction = exact.substr(exact.find('.') + 1);
    std::fill(out, out + count, '0');
    fraction.substr(0, count).copy(out, count);
}

// The digits of the common case, a value from 2^-7 up to 2^53, read off its bits: the value is
// m / 2^F with a 53-bit m and 0 <= F <= 60, so its whole part is m >> F and its fraction a whole
// number of 2^-F units, each decimal one exact multiplication. The same digits as
// WriteWholeDigits and WriteFractionDigits, without their library calls. False for other values.
bool WriteDigitsOfBinaryFraction(double value, char* integer, std::size_t count, char*& fraction) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    const int biased = static_cast<int>(bits >> 52);
    const int fractionBits = 1075 - biased;
    if (biased == 0 || fractionBits < 0 || fractionBits > 60) return false;
    const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const std::uint64_t whole = fractionBits >= 53 ? 0 : m >> fractionBits;
    const std::uint64_t mask = (std::uint64_t{1} << fractionBits) - 1;
    std::uint64_t units = m & mask;
    fraction = std::to_chars(integer, integer + kMaxFormattedIntegerDigits, whole).ptr;
    for (std::size_t i = 0; i < count; ++i) {
        units *= 10;
        fraction[i] = static_cast<char>('0' + (units >> fractionBits));
        units &= mask;
    }
    return true;
}

// Adds one to the last of the digits [begin, end); returns true when the carry passed the first.
bool CarryIntoLastDigit(char* begin, char* end) {
    while (end != begin) {
        --end;
        if (*end != '9') {
            ++*end;
            return false;
        }
        *end = '0';
    }
    return true;
}

std::string NonFiniteText(double value) {
    if (std::isnan(value)) return "nan";
    return value < 0 ? "-inf" : "inf";
}

// 10^0 .. 10^27, each exact in extended precision (5^27 has 63 bits).
constexpr std::array<long double, 28> kExactPowers = [] {
    std::array<long double, 28> powers{};
    long double power = 1.0L;
    for (long double& p : powers) {
        p = power;
        power *= 10.0L;
    }
    return powers;
}();

// 10^0 .. 10^22, each exact in double.
constexpr std::array<double, 23> kExactDoublePowers = [] {
    std::array<double, 23> powers{};
    double power = 1.0;
    for (double& p : powers) {
        p = power;
        power *= 10.0;
    }
    return powers;
}();

}  // namespace

bool IsDigitChar(char c) {
    return c >= '0' && c <= '9';
}

bool IsDecimalSeparator(char c) {
    return c == '.' || c == ',';
}

int DigitValue(char c) {
    return c - '0';
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view head) {
    if (text.size() < head.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < head.size(); ++i)
        if (lower(text[i]) != lower(head[i])) return false;
    return true;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view word) {
    return text.size() == word.size() && StartsWithIgnoringCase(text, word);
}

double ParseSignedReal(std::string_view text, bool& ok) {
    bool negative = false;
    // A sign alone is left in place, so that it fails as a non-digit.
    if (text.size() > 1) {
        if (text.front() == '-') {
            negative = true;
            text.remove_prefix(1);
        }
        if (!negative && !text.empty() && text.front() == '+') text.remove_prefix(1);
    }
    return ParseReal(text, negative, ok);
}

double ParseUnsignedReal(std::string_view text, bool& ok) {
    return ParseReal(text, false, ok);
}

std::int32_t ParseUnsignedInt(std::string_view text, bool& ok) {
    if (text.empty() || text.size() > kMaxIntegerChars) {
        ok = false;
        return 0;
    }
    // 18 digits always fit in 64 bits; the result saturates at the 32-bit limit.
    std::int64_t sum = 0;
    for (char c : text) {
        if (!IsDigitChar(c)) {
            ok = false;
            return 0;
        }
        sum = sum * 10 + DigitValue(c);
    }
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(sum, std::numeric_limits<std::int32_t>::max()));
}

void AppendFixed(std::string& out, bool padZeros, std::uint8_t minIntDigits, bool roundLast,
                 double value, std::uint8_t decimals, char separator) {
    if (!std::isfinite(value)) {
        out += NonFiniteText(value);
        return;
    }
    const bool negative = value < 0;
    if (negative) value = -value;

    // Integer and fractional digits side by side, one free place in front for a carried "1".
    char digits[1 + kMaxFormattedIntegerDigits + kMaxFormattedFractionDigits];
    char* integer = digits + 1;
    char* fraction = nullptr;
    // One digit more than asked for decides the rounding.
    if (!WriteDigitsOfBinaryFraction(value, integer, decimals + 1u, fraction)) {
        const double whole = std::floor(value);
        fraction = integer + WriteWholeDigits(whole, integer);
        WriteFractionDigits(value, whole, fraction, decimals + 1u);
    }
    if (roundLast && fraction[decimals] >= '5' &&
        CarryIntoLastDigit(integer, fraction + decimals)) {
        *--integer = '1';
    }

    // The whole text composed here and appended once: a converter writes millions of numbers.
    char text[2 + 255 + kMaxFormattedIntegerDigits + kMaxFormattedFractionDigits];
    char* end = text;
    const auto integerCount = static_cast<std::size_t>(fraction - integer);
    if (negative) *end++ = '-';
    if (padZeros && integerCount < minIntDigits) {
        std::fill(end, end + (minIntDigits - integerCount), '0');
        end += minIntDigits - integerCount;
    }
    end = std::copy(integer, fraction, end);
    *end++ = separator;
    end = std::copy(fraction, fraction + decimals, end);
    out.append(text, static_cast<std::size_t>(end - text));
}

std::string FormatFixed(bool padZeros, std::uint8_t minIntDigits, bool roundLast, double value,
                        std::uint8_t decimals, char separator) {
    std::string text;
    AppendFixed(text, padZeros, minIntDigits, roundLast, value, decimals, separator);
    return text;
}

bool SameFixedTextWithin(double value, double bound, std::uint8_t decimals) {
    if (!std::isfinite(value) || !std::isfinite(bound) || bound < 0.0) return false;
    // The ends keep the sign of the exact ends (a difference that rounds lies far from 0): a "-"
    // is written for every value below 0 and for none from 0 up.
    if (!(value - bound >= 0.0) && !(value + bound < 0.0)) return false;
    // The text of |v| is fixed by the whole number nearest to |v| 10^d, halves rounded up. First in
    // double, where the ends and their products err by a unit or two of 2^-53 and the slack of 8
    // units covers them; what that leaves open, extended precision decides with a slack of 2^-60.
    if (decimals < kExactDoublePowers.size()) {
        const double scale = kExactDoublePowers[decimals];
        const double least = std::fmin(std::fabs(value - bound), std::fabs(value + bound)) * scale;
        const double most = std::fmax(std::fabs(value - bound), std::fabs(value + bound)) * scale;
        const double slack = most * 0x1p-50 + 0x1p-60;
        if (most < 0x1p40 && static_cast<std::int64_t>(least - slack + 0.5) ==
                                 static_cast<std::int64_t>(most + slack + 0.5))
            return true;
    }
    const long double low = static_cast<long double>(value) - bound;
    const long double high = static_cast<long double>(value) + bound;
    // The ends and their products err by a unit or two of 2^-64 (10^d itself only beyond 10^27);
    // the slack covers that many times over. Below 2^56 it stays far below a half.
    const long double scale = decimals < kExactPowers.size()
                                  ? kExactPowers[decimals]
                                  : std::pow(10.0L, static_cast<long double>(decimals));
    const long double least = std::fmin(std::fabs(low), std::fabs(high)) * scale;
    const long double most = std::fmax(std::fabs(low), std::fabs(high)) * scale;
    if (!(most < 0x1p56L)) return false;
    const long double slack = most * 0x1p-60L + 0x1p-62L;
    return static_cast<std::int64_t>(least - slack + 0.5L) ==
           static_cast<std::int64_t>(most + slack + 0.5L);
}

void SplitDegrees(TDegMinSec& angle) {
    const long double degrees = std::fabs(static_cast<long double>(angle.Value));
    if (!std::isfinite(degrees)) {
        angle.Deg = static_cast<double>(degrees);
        angle.Min = 0.0;
        angle.Sec = 0.0;
        return;
    }
    const long double wholeDegrees = std::floor(degrees);
    const long double minutes = (degrees - wholeDegrees) * 60.0L;
    const long double wholeMinutes = std::floor(minutes);
    angle.Deg = static_cast<double>(wholeDegrees);
    angle.Min = static_cast<double>(wholeMinutes);
    // Rounding to double must not lift the seconds to a full minute.
    const double seconds = static_cast<double>((minutes - wholeMinutes) * 60.0L);
    angle.Sec = std::min(seconds, std::nextafter(60.0, 0.0));
}

bool AllInputsValid(std::span<const bool> flags) {
    return std::all_of(flags.begin(), flags.end(), [](bool flag) { return flag; });
}

}  // namespace common
