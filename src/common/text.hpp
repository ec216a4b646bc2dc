#pragma once
// Numbers and angles as text, shared by both programs: locale-free parsing that takes "." and ","
// as the decimal point, fixed-point output, degrees split into minutes and seconds, and the
// all-flags test that enables a screen's main button.
//
// Failure is reported through `ok`: the caller sets it to true before the call, a parse only
// clears it. When a parse clears `ok` it returns 0; callers ignore the number then.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace common {

// The two angle formats of both programs' point screens, in the order of their lists.
enum class AngleFormat : int {
    DegMinSec = 0,  // "Формат координат: ггг/мм/сс.сссссс"
    Decimal = 1,    // "Формат координат: ггг.гггггггггг"
};
inline constexpr std::string_view kAngleFormatItems[] = {"Формат координат: ггг/мм/сс.сссссс",
                                                         "Формат координат: ггг.гггггггггг"};

// An angle split for display. The sign of `Value` is not carried into the three parts.
struct TDegMinSec {
    double Deg = 0.0;    // whole degrees of |Value|
    double Min = 0.0;    // whole minutes, 0..59
    double Sec = 0.0;    // seconds with fraction, 0 <= Sec < 60
    double Value = 0.0;  // the angle in decimal degrees
};

bool IsDigitChar(char c);
bool IsDecimalSeparator(char c);
// The value 0..9 of a digit character (IsDigitChar must hold).
int DigitValue(char c);
// Keywords of map files, ASCII letters compared without case.
bool StartsWithIgnoringCase(std::string_view text, std::string_view head);
bool EqualsIgnoringCase(std::string_view text, std::string_view word);

// Decimal text with an optional leading "-" or "+", no blanks, no exponent. Of the fractional
// digits only the first 12 count. Never returns NaN or infinity with `ok` left true.
double ParseSignedReal(std::string_view text, bool& ok);
// As ParseSignedReal, but any sign character is an error.
double ParseUnsignedReal(std::string_view text, bool& ok);
// 1 to 18 decimal digits. A digit string above 2 147 483 647 gives INT32_MAX with `ok` left
// true, so that every later range check fails.
std::int32_t ParseUnsignedInt(std::string_view text, bool& ok);

// Fixed-point text: at least minIntDigits integer positions (filled with "0" when padZeros),
// the separator (always, even for 0 decimals) and `decimals` fractional digits, the last one
// rounded half-up when roundLast, else truncated. A negative value gets "-" in front, even
// when it prints as zero.
std::string FormatFixed(bool padZeros, std::uint8_t minIntDigits, bool roundLast, double value,
                        std::uint8_t decimals, char separator);
// FormatFixed appended to `out`, for writers that build a line without temporary strings.
void AppendFixed(std::string& out, bool padZeros, std::uint8_t minIntDigits, bool roundLast,
                 double value, std::uint8_t decimals, char separator);

// The two layouts the programs write numbers in.
// A value, its last decimal rounded half-up, no zero fill ("-0.5", "6099167.2394").
inline std::string RoundedText(double value, std::uint8_t decimals, char separator) {
    return FormatFixed(false, 1, true, value, decimals, separator);
}
// Seconds of an angle: two integer digits with zero fill, the decimals truncated ("05.123456").
inline std::string SecondsText(double seconds, std::uint8_t decimals, char separator) {
    return FormatFixed(true, 2, false, seconds, decimals, separator);
}
// A number written into a file: rounded, always with ".", whatever the system's separator.
inline void AppendFileNumber(std::string& out, double value, std::uint8_t decimals) {
    AppendFixed(out, false, 1, true, value, decimals, '.');
}

// True when every value within `bound` of `value` is written by AppendFixed with roundLast and
// `decimals` as the same text: the same sign and the same rounded last digit. A fast evaluation
// with a bound on its distance from the plain one keeps its result only then. False for a value
// or bound that is not finite, and (on the safe side) within a few units of 2^-58 of a rounding
// edge.
bool SameFixedTextWithin(double value, double bound, std::uint8_t decimals);

// Fills Deg, Min and Sec from Value.
void SplitDegrees(TDegMinSec& angle);

// True when every flag is true (8 flags in Gridwise, 11 in Datumer).
bool AllInputsValid(std::span<const bool> flags);

}  // namespace common
