#include "common/cli_args.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

#include "common/text.hpp"

namespace common {

namespace {

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Marks of degrees, minutes and seconds as people type them, UTF-8 and the single-byte page.
constexpr std::string_view kPrimeMark = "\u2032";
struct AngleMark {
    std::string_view text;
    int place;  // 1 degrees, 2 minutes, 3 seconds
};
// Longer marks first: two apostrophes are seconds, one is minutes.
constexpr std::array<AngleMark, 12> kAngleMarks = {{
    {"\u00B0", 1},
    {"\u00BA", 1},
    {"\xB0", 1},
    {"d", 1},
    {"D", 1},
    {"''", 3},
    {"'", 2},
    {kPrimeMark, 2},
    {"m", 2},
    {"\"", 3},
    {"\u2033", 3},
    {"s", 3},
}};

// One number of an angle and the place its mark gives it (0: none).
struct AnglePart {
    std::string_view number;
    int place = 0;
};

void SkipBlanks(std::string_view text, std::size_t& at) {
    while (at < text.size() && text[at] == ' ') ++at;
}

// Cuts "55°45'20.5\"", "55 45 20.5", "55d45m20.5s" or "55:45:20.5" into its numbers: up to three,
// each followed by the mark of its own place or by none, separated by one colon or by blanks.
// A leading blank, an unknown character or a mark out of place is refused.
bool SplitAngleParts(std::string_view text, std::vector<AnglePart>& parts) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = at;
        if (text[at] == '-' || text[at] == '+') ++at;
        while (at < text.size() &&
               ((text[at] >= '0' && text[at] <= '9') || text[at] == '.' || text[at] == ','))
            ++at;
        if (at == start || parts.size() == 3) return false;
        AnglePart part{text.substr(start, at - start)};
        const std::size_t afterNumber = at;
        SkipBlanks(text, at);
        for (const AngleMark& mark : kAngleMarks) {
            if (text.substr(at).starts_with(mark.text)) {
                part.place = mark.place;
                at += mark.text.size();
                break;
            }
        }
        if (part.place != 0 && part.place != static_cast<int>(parts.size()) + 1) return false;
        parts.push_back(part);
        const std::size_t afterMark = at;
        SkipBlanks(text, at);
        if (at == text.size()) break;
        if (part.place == 0 && text[at] == ':') {
            ++at;
            SkipBlanks(text, at);
            if (at == text.size()) return false;  // "37:30:"
        } else if (part.place == 0 && at == afterNumber) {
            return false;  // a number runs into something that is neither mark nor separator
        } else if (part.place != 0 && at == afterMark && text[at] != '-' && text[at] != '+' &&
                   !(text[at] >= '0' && text[at] <= '9')) {
            return false;
        }
    }
    return !parts.empty();
}

}  // namespace

std::optional<AngleArgument> ParseAngleArgument(std::string_view text, char positive,
                                                char negative) {
    AngleArgument angle;
    // "s" is the seconds mark where minutes were marked ("55d45m20.5s"), else a hemisphere.
    const bool minutesMarked = text.find_first_of("'m") != std::string_view::npos ||
                               text.find(kPrimeMark) != std::string_view::npos;
    bool lettered = false;
    if (!text.empty() && !(minutesMarked && text.back() == 's')) {
        const char last = UpperAscii(text.back());
        if (last == positive || last == negative) {
            angle.Negative = last == negative;
            lettered = true;
            text.remove_suffix(1);
            while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
        }
    }
    std::vector<AnglePart> parts;
    if (!SplitAngleParts(text, parts)) return std::nullopt;
    bool ok = true;
    if (parts.size() == 1) {
        const double value = lettered ? ParseUnsignedReal(parts[0].number, ok)
                                      : ParseSignedReal(parts[0].number, ok);
        if (!lettered) angle.Negative = std::signbit(value);
        angle.Deg = std::fabs(value);
    } else {
        angle.DegMinSec = true;
        angle.Deg = ParseUnsignedInt(parts[0].number, ok);
        angle.Min = ParseUnsignedInt(parts[1].number, ok);
        if (parts.size() == 3) angle.Sec = ParseUnsignedReal(parts[2].number, ok);
    }
    if (!ok) return std::nullopt;
    return angle;
}

bool LooksLikeNegativeNumber(std::string_view arg) {
    return arg.size() > 1 && arg[0] == '-' &&
           ((arg[1] >= '0' && arg[1] <= '9') || arg[1] == '.' || arg[1] == ',');
}

std::string RepeatedOption(std::string_view name) {
    return "Параметр " + std::string(name) + " указан дважды";
}

namespace {

bool Contains(std::span<const std::string_view> names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

TakenFlags TakeFlags(std::span<const std::string> args,
                     std::span<const std::string_view> valueFlags,
                     std::span<const std::string_view> switches,
                     std::span<const std::string_view> passOnValues) {
    TakenFlags taken;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            taken.Rest.insert(taken.Rest.end(), args.begin() + static_cast<std::ptrdiff_t>(i),
                              args.end());
            break;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (equals == std::string::npos && Contains(switches, name)) {
            taken.Values.emplace_back(name, std::string());
            continue;
        }
        if (!Contains(valueFlags, name)) {
            taken.Rest.push_back(arg);
            if (equals == std::string::npos && Contains(passOnValues, name) && i + 1 < args.size())
                taken.Rest.push_back(args[++i]);
            continue;
        }
        for (const auto& earlier : taken.Values) {
            if (earlier.first == name) {
                taken.Problem = RepeatedOption(name);
                return taken;
            }
        }
        if (equals != std::string::npos) {
            taken.Values.emplace_back(name, arg.substr(equals + 1));
        } else if (i + 1 < args.size()) {
            taken.Values.emplace_back(name, args[++i]);
        } else {
            taken.Problem = "Флаг " + name + " требует значения";
            return taken;
        }
    }
    return taken;
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

std::string JsonSheetObject(const TNom2& sheets, bool known) {
    static constexpr std::array<std::string_view, kNomenclatureScaleCount> kScales = {
        "1:1000000", "1:500000", "1:200000", "1:100000", "1:50000", "1:25000", "1:10000"};
    std::string object = "{";
    for (std::size_t i = 0; known && i < sheets.Field.size(); ++i)
        object +=
            (i == 0 ? "" : ", ") + JsonString(kScales[i]) + ": " + JsonString(sheets.Field[i]);
    return object + "}";
}

std::string_view CaptionLabel(std::string_view caption) {
    while (!caption.empty() && (caption.back() == ' ' || caption.back() == ':')) {
        caption.remove_suffix(1);
    }
    return caption;
}

}  // namespace common
