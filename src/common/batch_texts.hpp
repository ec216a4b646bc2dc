#pragma once
// Texts of the batch screens that both programs show: the open-dialog filters, the help of the
// point-list format, and the first lines of the Polish-format map help.

#include <span>
#include <string_view>

namespace common {

inline constexpr std::string_view kPointListFilter = "Списки координат (*.txt, *.*)|*.*";
inline constexpr std::string_view kPolishMapFilter = "Карты польского формата (*.mp)|*.mp";

// The 26 help lines of the point-list format ("TXT").
std::span<const std::string_view> PointListHelp();

// The two lines that open the help of every Polish-format map format.
std::span<const std::string_view> PolishMapHelpHead();

}  // namespace common
