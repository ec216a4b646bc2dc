// Datumer: transforms geodetic coordinates between datums by seven parameters.

#include <QApplication>
#include <QIcon>

#include "datumer/ui/program.hpp"
#include "ui/dialog_service.hpp"
#include "ui/qt_text.hpp"
#include "ui/startup.hpp"
#include "ui/toolkit_translation.hpp"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The menu entry and the icon of the installed package (hicolor theme).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.gridwise.Datumer"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.gridwise.Datumer")));
    ui::installToolkitTranslation(app);  // the file dialog and standard buttons in Russian
    ui::QtDialogService dialogs;
    const auto program =
        datumer::StartDatumer(dialogs, ui::primaryScreenSize(), ui::systemDecimalSeparator());
    if (!program) return 1;
    return app.exec();
}
