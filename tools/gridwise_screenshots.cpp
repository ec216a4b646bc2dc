// Renders Gridwise's windows into PNG files for the documentation:
//     gridwise_screenshots OUTPUT_FOLDER
// Run on the offscreen platform (QT_QPA_PLATFORM=offscreen). The batch screen is shown after a
// real run over three small point lists in a temporary folder, the second with a bad line.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "gridwise/state.hpp"
#include "gridwise/ui/gridwise_windows.hpp"
#include "gridwise/ui/option_dialogs.hpp"
#include "gridwise/ui/point_screen.hpp"
#include "gridwise/ui/setup_screen.hpp"
#include "ui/recording_dialog_service.hpp"
#include "ui/window_picture.hpp"

namespace {

bool save(QWidget& window, const QString& folder, const char* name) {
    return ui::saveWindowPicture(window, folder + QStringLiteral("/gridwise-") +
                                             QString::fromLatin1(name) + QStringLiteral(".png"));
}

template <class T>
T& child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found) {
        std::fprintf(stderr, "no control %s\n", name);
        std::exit(1);
    }
    return *found;
}

void typeInto(QWidget& window, const char* name, const char* text) {
    child<QLineEdit>(window, name).setText(QString::fromUtf8(text));
}

bool writeFile(const QString& path, const char* content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) >= 0;
}

// A modal dialog shown by the batch screen: saved, then confirmed with its OK button.
void saveAndConfirm(QWidget& dialog, const QString& folder, const char* name, bool& ok) {
    QTimer::singleShot(0, &dialog, [&dialog, folder, name, &ok] {
        ok = save(dialog, folder, name) && ok;
        child<QPushButton>(dialog, "OkButton").click();
    });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: gridwise_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    QApplication::setApplicationName(QStringLiteral("Gridwise"));

    gridwise::GridwiseState state = gridwise::MakeGridwiseState();
    ui::RecordingDialogService dialogs;
    gridwise::GridwiseWindows windows(state, dialogs);
    bool ok = true;

    windows.setup().show();
    ok = save(windows.setup(), folder, "setup") && ok;

    child<QPushButton>(windows.setup(), "NextButton").click();
    gridwise::PointScreen& point = windows.point();
    typeInto(point, "Edit1", "55");
    typeInto(point, "Edit2", "45");
    typeInto(point, "Edit3", "20.5");
    typeInto(point, "Edit4", "37");
    typeInto(point, "Edit5", "37");
    typeInto(point, "Edit6", "6");
    child<QPushButton>(point, "Button4").click();
    ok = save(point, folder, "point") && ok;

    // A batch run over three point lists, the second with a bad line.
    // A fixed folder, so that the picture does not change from run to run.
    QDir work(QDir::temp().filePath(QStringLiteral("gridwise-screenshots/Точки полевые")));
    work.removeRecursively();
    QDir().mkpath(work.path());
    const QString source = work.path() + QStringLiteral("/");
    ok = writeFile(source + QStringLiteral("пункты 1.txt"),
                   "1,55.5,37.5,150.2\r\n2,55.6,37.6,151\r\n") &&
         ok;
    ok = writeFile(source + QStringLiteral("пункты 2.txt"),
                   "1,55.5,37.5,150.2\r\nплохая строка\r\n") &&
         ok;
    ok = writeFile(source + QStringLiteral("пункты 3.txt"), "7,56.1,38.2,120\r\n") && ok;
    dialogs.fileAnswers.push_back({source + QStringLiteral("пункты 1.txt"),
                                   source + QStringLiteral("пункты 2.txt"),
                                   source + QStringLiteral("пункты 3.txt")});
    QTimer::singleShot(0, [&] {
        ui::BatchScreen& batch = windows.batch();
        saveAndConfirm(windows.fullPrecision(), folder, "precision-bl-xy-h", ok);
        child<QPushButton>(batch, "ChooseButton").click();
        child<QPushButton>(batch, "RunButton").click();
        ok = save(batch, folder, "batch") && ok;
        batch.accept();
    });
    child<QPushButton>(point, "Button5").click();

    // The other option dialogs as each is shown.
    const std::pair<QWidget*, const char*> dialogsToShow[] = {
        {&windows.extraParams(), "extra-parameters"},
        {&windows.nomenclature(), "nomenclature"},
        {&windows.mapShift(), "map-shift"},
        {&windows.planePrecision(), "precision-xy-h"}};
    for (auto [dialog, name] : dialogsToShow) {
        dialog->show();
        ok = save(*dialog, folder, name) && ok;
        dialog->hide();
    }
    work.removeRecursively();
    return ok ? 0 : 1;
}
