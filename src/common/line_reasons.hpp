#pragma once
// Why a point-list line is bad, in the program's words, for the message after
// "Ошибка в строке N: ". A converter that gives reasons leaves one in its output text when it
// refuses a line (pointfile.hpp, LineOptions::ReasonInOutput). Only the command-line tools show
// them; the batch screen's log keeps its own text.

#include <string>
#include <string_view>

namespace common {

// Why ReadPointLine refused `line`, with the names of its two coordinate fields ("широта",
// "долгота" or "x", "y"): "пустая строка", "нет запятой после имени точки",
// "поле 2 (широта) не число: \"5a\"", "нет запятой после поля 3 (долгота)", "поле 4 (высота)
// пусто". Appends to `out`.
void AppendPointLineReason(std::string_view line, std::string_view firstName,
                           std::string_view secondName, std::string& out);

// "<name> <value> вне диапазона <range>", e.g. "широта 95 вне диапазона -90..90".
void AppendRangeReason(std::string& out, std::string_view name, double value,
                       std::string_view range);

// "low..high" with the numbers as short as they are exact, e.g. "0..1000000".
std::string RangeText(double low, double high);

// Field names of the two kinds of point list.
inline constexpr std::string_view kLatitudeName = "широта";
inline constexpr std::string_view kLongitudeName = "долгота";
inline constexpr std::string_view kNorthingName = "x";
inline constexpr std::string_view kEastingName = "y";

}  // namespace common
