#pragma once
// Helpers the two command-line tools share: angle arguments, JSON values and labels made from
// screen captions.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/nomenclature.hpp"

namespace common {

// An angle argument as people write it: signed decimal degrees ("-37.5", "37,5", "37.5°"), or
// degrees, minutes and seconds with whole degrees and minutes and unsigned seconds, marked or
// separated by colons or blanks ("55°45'20.5\"", "55 45 20.5", "55d45m20.5s", "55:45:20.5",
// "55°45'"); any of them may end in a hemisphere letter (upper or lower case, after blanks too),
// which then gives the sign, and a number before a letter carries no sign. A lower-case "s" after
// marked minutes is the seconds mark, else a hemisphere.
struct AngleArgument {
    double Deg = 0.0;  // decimal: |value|; D:M:S: whole degrees
    double Min = 0.0;
    double Sec = 0.0;
    bool DegMinSec = false;
    bool Negative = false;  // south or west, or a minus sign
};

// `positive` and `negative` are the upper-case letters (N and S, or E and W). Empty when the text
// is not such an angle; ranges are left to the caller.
std::optional<AngleArgument> ParseAngleArgument(std::string_view text, char positive,
                                                char negative);

// "-" followed by a digit or a decimal separator: a negative number given as an argument, not
// an option.
bool LooksLikeNegativeNumber(std::string_view arg);

// The message of an option that takes one value and was given twice.
std::string RepeatedOption(std::string_view name);

// One group of flags taken out of a command's arguments (the set-up screen's settings, the
// preset): each flag of `valueFlags` with its value, as the next argument or after "="
// ("--series=4"), each of `switches` with an empty value, in the order given; a value flag given
// twice or without its value is refused with the message in `Problem`. Every other argument goes
// to `Rest` in order, and so does the value after one of the command's own `passOnValues`
// options, so that it is never read as a flag; "--" and all after it are not read.
struct TakenFlags {
    std::vector<std::pair<std::string, std::string>> Values;
    std::vector<std::string> Rest;
    std::string Problem;
};
TakenFlags TakeFlags(std::span<const std::string> args,
                     std::span<const std::string_view> valueFlags,
                     std::span<const std::string_view> switches,
                     std::span<const std::string_view> passOnValues);

// A number at full precision (17 significant digits); "null" for NaN and infinity.
std::string JsonNumber(double value);
// A quoted JSON string: " and \ escaped, control characters as \u00XX; other bytes unchanged.
std::string JsonString(std::string_view text);

// The sheet names of a point at all seven scales as the "sheets" object keyed by scale
// ("1:1000000" .. "1:10000"); `known` false gives an empty object (a point whose zone is
// unknown).
std::string JsonSheetObject(const TNom2& sheets, bool known = true);

// A screen caption without its trailing blanks and colons ("1:500 000     :" gives "1:500 000").
std::string_view CaptionLabel(std::string_view caption);

}  // namespace common
