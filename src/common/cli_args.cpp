#include "common/cli_args.hpp"

#include <cmath>
#include <cstdio>

#include "common/text.hpp"

namespace common {

namespace {

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::optional<AngleArgument> ParseAngleArgument(std::string_view text, char positive,
                                                char negative) {
    AngleArgument angle;
    bool lettered = false;
    if (!text.empty()) {
        const char last = UpperAscii(text.back());
        if (last == positive || last == negative) {
            angle.Negative = last == negative;
            lettered = true;
            text.remove_suffix(1);
        }
    }
    bool ok = true;
    const std::size_t first = text.find(':');
    if (first == std::string_view::npos) {
        const double value = lettered ? ParseUnsignedReal(text, ok) : ParseSignedReal(text, ok);
        if (!lettered) angle.Negative = std::signbit(value);
        angle.Deg = std::fabs(value);
    } else {
        angle.DegMinSec = true;
        const std::size_t second = text.find(':', first + 1);
        angle.Deg = ParseUnsignedInt(text.substr(0, first), ok);
        angle.Min = ParseUnsignedInt(text.substr(first + 1, second - first - 1), ok);
        // A third colon leaves one in the seconds, which then do not parse.
        if (second != std::string_view::npos)
            angle.Sec = ParseUnsignedReal(text.substr(second + 1), ok);
    }
    if (!ok) return std::nullopt;
    return angle;
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value)) return "null";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

std::string JsonString(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
            quoted += buffer;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string_view CaptionLabel(std::string_view caption) {
    while (!caption.empty() && (caption.back() == ' ' || caption.back() == ':')) {
        caption.remove_suffix(1);
    }
    return caption;
}

}  // namespace common
