// Gridwise: plane rectangular coordinates from geodetic ones and back, for one point or whole
// files, in Gauss-Krueger and UTM.

#include <QApplication>
#include <QIcon>

#include "gridwise/state.hpp"
#include "gridwise/ui/gridwise_windows.hpp"
#include "ui/dialog_service.hpp"
#include "ui/startup.hpp"
#include "ui/toolkit_translation.hpp"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The menu entry and the icon of the installed package (hicolor theme).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.gridwise.Gridwise"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.gridwise.Gridwise")));
    ui::installToolkitTranslation(app);
    gridwise::GridwiseState state = gridwise::MakeGridwiseState();
    ui::QtDialogService dialogs;
    const auto windows = gridwise::StartGridwise(state, dialogs, ui::primaryScreenSize());
    if (!windows) return 1;
    return QApplication::exec();
}
