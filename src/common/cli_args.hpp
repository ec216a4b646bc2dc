#pragma once
// Helpers the two command-line tools share: angle arguments, JSON values and labels made from
// screen captions.

#include <optional>
#include <string>
#include <string_view>

namespace common {

// An angle argument: signed decimal degrees ("-37.5", "37,5"), or D:M[:S] ("37:30:15.5") with
// whole degrees and minutes and unsigned seconds; either may end in a hemisphere letter (upper
// or lower case), which then gives the sign, and a number before a letter carries no sign.
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

// A number at full precision (17 significant digits); "null" for NaN and infinity.
std::string JsonNumber(double value);
// A quoted JSON string: " and \ escaped, control characters as \u00XX; other bytes unchanged.
std::string JsonString(std::string_view text);

// A screen caption without its trailing blanks and colons ("1:500 000     :" gives "1:500 000").
std::string_view CaptionLabel(std::string_view caption);

}  // namespace common
