// Datumer: transforms geodetic coordinates between datums by seven parameters.

#include <QApplication>
#include <QScreen>

#include "datumer/ui/program.hpp"
#include "ui/dialog_service.hpp"
#include "ui/qt_text.hpp"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::QtDialogService dialogs;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize();
    const auto program = datumer::StartDatumer(dialogs, screenSize, ui::systemDecimalSeparator());
    if (!program) return 1;
    return app.exec();
}
