// Renders every Datumer window into PNG files for the documentation:
//     QT_QPA_PLATFORM=offscreen datumer_screenshots OUTPUT_FOLDER
// The windows are driven as a user would: preset 1, the point 55° N 37° E transformed, a folder
// of MP, TXT and MIF files converted.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <cstdio>

#include "datumer/ui/extra_dialog.hpp"
#include "datumer/ui/height_precision_dialog.hpp"
#include "datumer/ui/point_screen.hpp"
#include "datumer/ui/program.hpp"
#include "datumer/ui/setup_screen.hpp"
#include "ui/batch_screen.hpp"
#include "ui/recording_dialog_service.hpp"
#include "ui/window_picture.hpp"

namespace {

bool save(QWidget& window, const QString& folder, const char* name) {
    return ui::saveWindowPicture(window, QDir(folder).filePath(QString::fromLatin1(name)));
}

template <class T>
T& child(QWidget& window, const char* name) {
    return *window.findChild<T*>(QString::fromLatin1(name));
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Three small files of each format in a fresh folder.
QStringList sampleFiles(const QString& folder, const char* extension) {
    const QByteArray mp =
        "[IMG ID]\r\nName=Sample\r\n[END-IMG ID]\r\n[POLYLINE]\r\nType=0x1\r\n"
        "Data0=(55.75,37.6166667),(55.8,37.5)\r\n[END]\r\n";
    const QByteArray txt = "1,55.75,37.6166667,150.0,first\r\n2,55.8,37.5,160.25\r\n";
    const QByteArray mif =
        "Version 300\r\nCharset \"WindowsCyrillic\"\r\n"
        "CoordSys Earth Projection 1, 1001\r\nColumns 1\r\n  Name Char(20)\r\n"
        "Data\r\n\r\nPoint 37.6166667 55.75\r\n    Symbol (35,0,12)\r\n";
    const QString ext = QString::fromLatin1(extension);
    const QByteArray& content = ext == "mp" ? mp : ext == "txt" ? txt : mif;
    QStringList paths;
    for (const char* stem : {"Москва", "Тверь", "Клин"}) {
        const QString path = QDir(folder).filePath(QString::fromUtf8(stem) + "." + ext);
        if (writeFile(path, content)) paths << path;
    }
    return paths;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: datumer_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    ui::RecordingDialogService dialogs;
    datumer::DatumerProgram program(dialogs, ',');
    bool ok = true;

    datumer::SetupScreen& setup = program.setupScreen();
    setup.show();
    ok &= save(setup, out, "datumer-setup.png");
    child<QComboBox>(setup, "ComboBox1").setCurrentIndex(12);
    ok &= save(setup, out, "datumer-setup-user.png");
    child<QComboBox>(setup, "ComboBox1").setCurrentIndex(0);

    child<QAbstractButton>(setup, "Button2").click();
    datumer::PointScreen& point = program.pointScreen();
    ok &= save(point, out, "datumer-point-input.png");
    child<QLineEdit>(point, "Edit1").setText(QStringLiteral("55"));
    child<QLineEdit>(point, "Edit4").setText(QStringLiteral("37"));
    child<QAbstractButton>(point, "Button1").click();
    ok &= save(point, out, "datumer-point-result.png");
    child<QComboBox>(point, "ComboBox4").setCurrentIndex(1);
    ok &= save(point, out, "datumer-point-decimal.png");

    datumer::ExtraParametersDialog& extra = program.extraDialog();
    extra.show();
    ok &= save(extra, out, "datumer-extra.png");
    extra.hide();

    datumer::HeightPrecisionDialog& heights = program.heightDialog();
    heights.show();
    ok &= save(heights, out, "datumer-heights.png");
    heights.hide();

    // The batch screen after a run over MP files.
    // A fixed folder, so that the picture shows the same paths every time.
    QDir work(QDir::temp().filePath(QStringLiteral("datumer-screenshots/Карты области")));
    work.removeRecursively();
    QDir().mkpath(work.path());
    ui::BatchScreen& batch = program.batchScreen();
    batch.show();
    dialogs.fileAnswers.push_back(sampleFiles(work.path(), "mp"));
    child<QAbstractButton>(batch, "ChooseButton").click();
    child<QAbstractButton>(batch, "RunButton").click();
    ok &= save(batch, out, "datumer-batch.png");
    batch.hide();
    work.removeRecursively();
    return ok ? 0 : 1;
}
