#include "ui/window_picture.hpp"

#include <QApplication>
#include <QPixmap>
#include <QWidget>
#include <cstdio>

namespace ui {

bool saveWindowPicture(QWidget& window, const QString& path) {
    QApplication::processEvents();
    if (!window.grab().save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace ui
