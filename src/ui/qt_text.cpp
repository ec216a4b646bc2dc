#include "ui/qt_text.hpp"

#include <QFile>
#include <QLocale>

namespace ui {

std::filesystem::path toPath(const QString& fileName) {
    return std::filesystem::path(QFile::encodeName(fileName).toStdString());
}

QString fromPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

char systemDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    if (point.size() == 1 && point[0].unicode() < 0x80)
        return static_cast<char>(point[0].unicode());
    return '.';
}

QString generalText(double value) {
    QString text = QString::number(value, 'g', 15);
    const char separator = systemDecimalSeparator();
    if (separator != '.') text.replace(QLatin1Char('.'), QLatin1Char(separator));
    return text;
}

}  // namespace ui
