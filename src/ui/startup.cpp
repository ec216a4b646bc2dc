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
    return screen ? screen->size() : QSize();
}

}  // namespace ui
