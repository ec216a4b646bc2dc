#include "ui/startup.hpp"

#include <QGuiApplication>
#include <QScreen>

#include "ui/dialog_service.hpp"

namespace ui {

bool screenLargeEnough(QSize screen) {
    return screen.width() >= kMinScreenWidth && screen.height() >= kMinScreenHeight;
}

bool checkScreenAndGreet(DialogService& dialogs, QSize screen, const QString& information) {
    if (!screenLargeEnough(screen)) {
        dialogs.error(QString::fromUtf8(kScreenTooSmall));
        return false;
    }
    dialogs.information(information);
    return true;
}

QSize primaryScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    // In device pixels: with large fonts (120 dpi) Qt scales and reports a smaller logical
    // screen, 640×480 for 800×600, which would refuse a screen the programs fit.
    return screen ? (QSizeF(screen->size()) * screen->devicePixelRatio()).toSize() : QSize();
}

}  // namespace ui
