#pragma once
// Conversions between Qt's text and the core's: core strings are UTF-8, file names go through
// the platform's file-name encoding so that blanks and Cyrillic letters survive both ways.

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

namespace ui {

inline QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string toUtf8(const QString& text) {
    return text.toStdString();
}

std::filesystem::path toPath(const QString& fileName);
QString fromPath(const std::filesystem::path& path);

// The decimal separator of the system's regional settings as one character ("." when the
// system's is not a single ASCII character).
char systemDecimalSeparator();
// The toolkit's general number text: shortest text of up to 15 significant digits, with the
// system's decimal separator (6378245, 298,3 or 298.3).
QString generalText(double value);

}  // namespace ui
