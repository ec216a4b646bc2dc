// Datumer's batch screen with its three formats and the height and precision dialog, driven
// through the real widgets on temporary MP, TXT and MIF files.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "datumer/geodesy/presets.hpp"
#include "datumer/ui/height_precision_dialog.hpp"
#include "datumer/ui/point_screen.hpp"
#include "datumer/ui/program.hpp"
#include "datumer/ui/setup_screen.hpp"
#include "datumer_test_support.hpp"
#include "ui/batch_screen.hpp"

using namespace datumer_test;

namespace {

constexpr int kMp = 0;  // lines of the format list
constexpr int kTxt = 1;
constexpr int kMif = 2;

const QByteArray kMpMap =
    "[IMG ID]\r\nName=Test\r\n[END-IMG ID]\r\n[POLYLINE]\r\nType=0x1\r\n"
    "Data0=(55.75,37.6166667),(55.8,37.5)\r\n[END]\r\n";
const QByteArray kPointList = "1.,53.62,50.3478584,100.28,firstcode\r\n";
const QByteArray kBadPointList = "1.,53.62,50.3478584,code\r\n";
const QByteArray kMifMap =
    "Version 300\r\nCharset \"WindowsCyrillic\"\r\nCoordSys Earth Projection 1, 1001\r\n"
    "Columns 1\r\n  Name Char(20)\r\nData\r\n\r\nPoint 37.6166667 55.75\r\n"
    "    Symbol (35,0,12)\r\n";

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString writeFile(const QString& folder, const QString& name, const QByteArray& bytes) {
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

}  // namespace

class DatumerBatchTest : public QObject {
    Q_OBJECT

    ui::RecordingDialogService dialogs_;
    std::unique_ptr<datumer::DatumerProgram> program_;
    std::unique_ptr<QTemporaryDir> folder_;

    ui::BatchScreen& batch() { return program_->batchScreen(); }
    QString labelText(const char* name) { return control<QLabel>(batch(), name)->text(); }
    QString boxText(const char* name) {
        return control<QPlainTextEdit>(batch(), name)->toPlainText();
    }
    QPushButton* button(const char* name) { return control<QPushButton>(batch(), name); }
    QString target(const QString& name) { return QDir(folder_->path()).filePath("RECALC/" + name); }

    // Chooses the files of a format; `dialogAction` answers the height dialog if it opens.
    bool choose(int formatLine, const QStringList& paths,
                std::function<void(QWidget&)> dialogAction = {}) {
        chooseLine(control<QComboBox>(batch(), "FormatList"), formatLine);
        dialogs_.fileAnswers.push_back(paths);
        bool dialogOpened = false;
        whenModalOpens([&](QWidget& dialog) {
            if (&dialog == &batch()) return;  // shown modal itself, nothing above it
            dialogOpened = true;
            if (dialogAction) dialogAction(dialog);
        });
        click(batch(), "ChooseButton");
        QApplication::processEvents();  // the check for a dialog runs even when none opened
        return dialogOpened;
    }

  private slots:
    void init() {
        dialogs_ = {};
        program_ = std::make_unique<datumer::DatumerProgram>(dialogs_, ',');
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
        batch().show();
    }
    void cleanup() {
        program_.reset();
        folder_.reset();
    }

    void threeFormatsWithTheirFiltersAndHelp() {
        auto* list = control<QComboBox>(batch(), "FormatList");
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->itemText(kMp), QStringLiteral("MP"));
        QCOMPARE(list->itemText(kTxt), QStringLiteral("TXT"));
        QCOMPARE(list->itemText(kMif), QStringLiteral("MIF"));
        QCOMPARE(batch().objectName(), QStringLiteral("TForm4"));
        QCOMPARE(batch().size(), program_->setupScreen().size());
        QVERIFY(boxText("HelpBox").startsWith(
            QStringLiteral("Файл MP (*.mp) - текстовый файл векторной\n")));
        const QStringList filters{"Карты польского формата (*.mp)|*.mp",
                                  "Списки координат (*.txt, *.*)|*.*",
                                  "Карты MapInfo MIF (*.mif)|*.mif"};
        for (int line = 0; line < 3; ++line) {
            chooseLine(list, line);
            QVERIFY(button("ChooseButton")->isEnabled());
            QCOMPARE(batch().batchFormat(), line + 1);
            click(batch(), "ChooseButton");  // cancelled: the script has no answer
            QCOMPARE(dialogs_.fileDialogs.back().filter, filters[line]);
            QCOMPARE(dialogs_.fileDialogs.back().title, QStringLiteral("Открыть"));
        }
        QVERIFY(boxText("HelpBox").startsWith(
            QStringLiteral("Файл MIF (*.mif) - текстовый файл векторной\n")));
    }

    void mifRunNeedsNoDialog() {
        QStringList paths;
        for (const char* name : {"a.mif", "б в.mif", "c.mif"})
            paths << writeFile(folder_->path(), QString::fromUtf8(name), kMifMap);
        QVERIFY(!choose(kMif, paths));
        QCOMPARE(labelText("SelectedCountLabel"), QStringLiteral("3"));
        QVERIFY(button("RunButton")->isEnabled());
        click(batch(), "RunButton");
        QCOMPARE(labelText("CreatedCountLabel"), QStringLiteral("3"));
        const QByteArray converted = readFile(target(QString::fromUtf8("б в.mif")));
        QVERIFY(converted.contains("\r\nPoint 37.61479"));
        QVERIFY(converted.contains("\r\n    Symbol (35,0,12)\r\n"));
        QVERIFY(!converted.contains("CoordSys Earth Projection 1, 1001\r\n"));
        const QString log = boxText("LogBox");
        QVERIFY(
            log.contains(QStringLiteral("********** ПЕРЕСЧЁТ ЗАКОНЧЕН **********\n"
                                        " СК42 => WGS84  (ГОСТ P51794-2001 // Кредо "
                                        "Транскор 1.10.345.0)\n")));
        QVERIFY(log.contains(QStringLiteral("Создано           : 3 файлов")));
        QVERIFY(!button("RunButton")->isEnabled());
        QVERIFY(button("ResetButton")->isEnabled());
    }

    void mpRunWithTheUserPreset() {
        batch().hide();
        auto* presets = control<QComboBox>(program_->setupScreen(), "ComboBox1");
        program_->setupScreen().show();
        chooseLine(presets, datumer::kUserPreset - 1);
        click(program_->setupScreen(), "Button2");
        batch().show();
        const QString path = writeFile(folder_->path(), "map.mp", kMpMap);
        QVERIFY(!choose(kMp, {path}));
        click(batch(), "RunButton");
        // Right after start-up the user preset equals preset 1.
        QVERIFY(readFile(target("map.mp"))
                    .contains("\r\nData0=(55.75004,37.61479),(55.80004,37.49812)\r\n"));
        const QString log = boxText("LogBox");
        QVERIFY(log.contains(QStringLiteral("\nПользовательские параметры пересчёта\n")));
        // The user target has no MP label: the map is created, and its warning has a block.
        QVERIFY(log.startsWith(QStringLiteral("Предупреждение - файл 1: ")));
        QVERIFY(
            log.contains(QStringLiteral("map.mp\nДля целевой системы (пользовательские "
                                        "параметры) нет метки датума формата MP")));
        QCOMPARE(labelText("CreatedCountLabel"), QStringLiteral("1"));
    }

    // The dialog untouched, or 7 and 2 decimals with ellipsoidal heights.
    void txtRunTakesTheDialogChoices_data() {
        QTest::addColumn<bool>("ellipsoidal");
        QTest::addColumn<int>("angleLine");
        QTest::addColumn<int>("heightLine");
        QTest::addColumn<int>("angleDecimals");
        QTest::addColumn<int>("heightDecimals");
        QTest::newRow("defaults") << false << -1 << -1 << 10 << 3;
        QTest::newRow("7 and 2, ellipsoidal") << true << 3 << 2 << 7 << 2;
    }
    void txtRunTakesTheDialogChoices() {
        QFETCH(bool, ellipsoidal);
        QFETCH(int, angleLine);
        QFETCH(int, heightLine);
        QFETCH(int, angleDecimals);
        QFETCH(int, heightDecimals);
        const QStringList paths{writeFile(folder_->path(), "1.txt", kPointList),
                                writeFile(folder_->path(), "2.txt", kBadPointList),
                                writeFile(folder_->path(), "3.txt", kPointList)};
        QString caption;
        const bool opened = choose(kTxt, paths, [&](QWidget& dialog) {
            caption = dialog.windowTitle();
            if (ellipsoidal) chooseLine(control<QComboBox>(dialog, "ComboBox1"), 1);
            if (angleLine >= 0) chooseLine(control<QComboBox>(dialog, "ComboBox2"), angleLine);
            if (heightLine >= 0) chooseLine(control<QComboBox>(dialog, "ComboBox3"), heightLine);
            click(dialog, "Button1");
        });
        QVERIFY(opened);
        QCOMPARE(caption, QStringLiteral(" Параметры пересчёта B1, L1, H1 => B2, L2, H2"));
        const datumer::DatumerState& state = program_->state();
        QCOMPARE(state.HeightMode,
                 ellipsoidal ? datumer::kEllipsoidalHeights : datumer::kNormalHeights);
        QCOMPARE(int(state.AnglePrecision), angleDecimals);
        QCOMPARE(int(state.HeightPrecision), heightDecimals);
        QCOMPARE(labelText("SelectedCountLabel"), QStringLiteral("3"));

        click(batch(), "RunButton");
        QCOMPARE(labelText("CreatedCountLabel"), QStringLiteral("2"));
        QVERIFY(!QFile::exists(target("2.txt")));
        const QString log = boxText("LogBox");
        QVERIFY(
            log.contains(QStringLiteral("Ошибка обработки - файл 2: 2.txt\nОшибка в строке 1")));
        QVERIFY(log.contains(QStringLiteral("Файл не создан.")));
        QVERIFY(log.contains(QStringLiteral("Обработано     : 3 файлов")));
        QVERIFY(log.contains(QStringLiteral("Ошибок            : 1")));

        const QList<QByteArray> fields = readFile(target("1.txt")).trimmed().split(',');
        QCOMPARE(fields.size(), 5);
        QCOMPARE(fields[0], QByteArray("1."));
        QCOMPARE(fields[1].size() - fields[1].indexOf('.') - 1, angleDecimals);
        QCOMPARE(fields[2].size() - fields[2].indexOf('.') - 1, angleDecimals);
        QCOMPARE(fields[3].size() - fields[3].indexOf('.') - 1, heightDecimals);
        QCOMPARE(fields[3].toDouble() == 100.28, !ellipsoidal);
        QCOMPARE(fields[4], QByteArray("firstcode"));
    }

    void cancelledHeightDialogDropsTheChoice() {
        const QString path = writeFile(folder_->path(), "points.txt", kPointList);
        const QString listBefore = boxText("FileListBox");
        QVERIFY(choose(kTxt, {path}, [](QWidget& dialog) { dialog.close(); }));
        QVERIFY(!program_->state().OptionsConfirmed);
        QCOMPARE(labelText("SelectedCountLabel"), QStringLiteral("0"));
        QCOMPARE(boxText("FileListBox"), listBefore);
        QCOMPARE(listBefore, QStringLiteral("Выбор более 1000 файлов нежелателен!"));
        QVERIFY(!button("RunButton")->isEnabled());
        QVERIFY(button("ChooseButton")->isEnabled());
        QVERIFY(control<QComboBox>(batch(), "FormatList")->isEnabled());
    }

    void heightDialogForgetsEarlierChoices() {
        datumer::HeightPrecisionDialog& dialog = program_->heightDialog();
        whenModalOpens([](QWidget& shown) {
            chooseLine(control<QComboBox>(shown, "ComboBox1"), 1);
            chooseLine(control<QComboBox>(shown, "ComboBox2"), 2);
            click(shown, "Button1");
        });
        QVERIFY(dialog.confirm(&batch()));
        QCOMPARE(int(program_->state().AnglePrecision), 8);
        QString shownLines;
        whenModalOpens([&](QWidget& shown) {
            for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3"})
                shownLines += control<QComboBox>(shown, name)->currentText() + "|";
            shown.close();
        });
        QVERIFY(!dialog.confirm(&batch()));
        QCOMPARE(shownLines, QStringLiteral("Нормальные высоты|10|3|"));
        const datumer::DatumerState& state = program_->state();
        QCOMPARE(state.HeightMode, datumer::kNormalHeights);
        QCOMPARE(int(state.AnglePrecision), 10);
        QCOMPARE(int(state.HeightPrecision), 3);
    }

    void pointScreenOpensTheBatchScreenModally() {
        batch().hide();
        program_->setupScreen().show();
        click(program_->setupScreen(), "Button2");
        QString opened;
        whenModalOpens([&](QWidget& shown) {
            opened = shown.objectName();
            click(shown, "CloseButton");
        });
        click(program_->pointScreen(), "Button3");
        QCOMPARE(opened, QStringLiteral("TForm4"));
        QVERIFY(!batch().isVisible());
        QVERIFY(program_->pointScreen().isVisible());
    }
};

QTEST_MAIN(DatumerBatchTest)
#include "datumer_batch_test.moc"
