#include "ui/window_picture.hpp"

#include <QApplication>
#include <QEventLoop>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace ui {

bool saveWindowPicture(QWidget& window, const QString& path) {
    QPixmap picture;
    if (QGuiApplication::platformName() == QStringLiteral("xcb") && window.screen()) {
        // On a real display: the whole screen with the window manager's frames, once the
        // window is mapped, placed and painted.
        QEventLoop settle;
        QTimer::singleShot(500, &settle, &QEventLoop::quit);
        settle.exec();
        picture = window.screen()->grabWindow(0);
    } else {
        QApplication::processEvents();
        picture = window.grab();
    }
    if (!picture.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace ui
