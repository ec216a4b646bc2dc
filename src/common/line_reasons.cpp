#include "common/line_reasons.hpp"

#include <cstdio>

#include "common/text.hpp"

namespace common {

namespace {

// Longest piece of a field quoted in a reason.
constexpr std::size_t kQuotedBytes = 40;

void AppendField(std::string& out, int number, std::string_view name) {
    out += "поле ";
    out += std::to_string(number);
    out += " (";
    out += name;
    out += ')';
}

// Explains a numeric field; false when it is fine.
bool NumberProblem(std::string_view text, int number, std::string_view name, std::string& out) {
    bool ok = true;
    ParseSignedReal(text, ok);
    if (ok) return false;
    AppendField(out, number, name);
    if (text.empty()) {
        out += " пусто";
    } else {
        out += " не число: \"";
        out += text.substr(0, kQuotedBytes);
        out += text.size() > kQuotedBytes ? "...\"" : "\"";
    }
    return true;
}

std::string ShortNumber(double value) {
    char number[32];
    std::snprintf(number, sizeof number, "%.12g", value);
    return number;
}

}  // namespace

void AppendPointLineReason(std::string_view line, std::string_view firstName,
                           std::string_view secondName, std::string& out) {
    if (line.empty()) {
        out += "пустая строка";
        return;
    }
    std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) {
        out += "нет запятой после имени точки";
        return;
    }
    const std::string_view names[] = {firstName, secondName};
    for (int field = 2; field <= 3; ++field) {
        const std::size_t start = comma + 1;
        comma = line.find(',', start);
        const std::string_view name = names[field - 2];
        if (NumberProblem(line.substr(start, comma - start), field, name, out)) return;
        if (comma == std::string_view::npos) {
            out += "нет запятой после ";
            out += field == 2 ? "поля 2 (" : "поля 3 (";
            out += name;
            out += ')';
            return;
        }
    }
    const std::size_t start = comma + 1;
    comma = line.find(',', start);
    if (NumberProblem(line.substr(start, comma - start), 4, "высота", out)) return;
    out += "строка не читается";
}

void AppendRangeReason(std::string& out, std::string_view name, double value,
                       std::string_view range) {
    out += name;
    out += ' ';
    out += ShortNumber(value);
    out += " вне диапазона ";
    out += range;
}

std::string RangeText(double low, double high) {
    return ShortNumber(low) + ".." + ShortNumber(high);
}

}  // namespace common
