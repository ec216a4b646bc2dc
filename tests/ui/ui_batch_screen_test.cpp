// The batch screen's state machine through real runs on temporary files: file choice, options
// confirmed or cancelled, a bad file in the middle, an existing RECALC, abort between files, a
// window that refuses to close while running, and names with blanks and Cyrillic letters.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <functional>

#include "ui/batch_screen.hpp"
#include "ui/field_look.hpp"
#include "ui/qt_text.hpp"
#include "ui/recording_dialog_service.hpp"

namespace {

constexpr std::string_view kHelpA[] = {"help of A", "", "second line"};
constexpr std::string_view kHelpB[] = {"help of B"};

// Copies every line, refuses a line "bad".
common::ConvertResult copyLines(const common::ConvertJob& job) {
    return common::ConvertFileLines(job, [](std::string_view line, std::string& out) {
        if (line == "bad") return false;
        out.assign(line);
        return true;
    });
}

}  // namespace

class BatchScreenTest : public QObject {
    Q_OBJECT

    // What the test formats do; changed by the tests before they act.
    bool choosableB_ = true;
    bool confirmB_ = true;
    int optionsShown_ = 0;
    std::function<void(const common::ConvertJob&)> beforeConvert_;

    ui::RecordingDialogService dialogs_;
    std::unique_ptr<ui::BatchScreen> screen_;
    std::unique_ptr<QTemporaryDir> dir_;

    template <class T>
    T* control(const char* name) {
        T* found = screen_->findChild<T*>(QString::fromLatin1(name));
        if (!found) qFatal("no control %s", name);
        return found;
    }
    QString log() { return control<QPlainTextEdit>("LogBox")->toPlainText(); }
    QString folder() { return dir_->path() + QLatin1Char('/'); }
    QString writeFile(const QString& name, const QByteArray& content) {
        QFile file(folder() + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write test file");
        return file.fileName();
    }
    void click(const char* name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }

    std::vector<ui::BatchFormat> formats() {
        ui::BatchFormat a;
        a.info = {
            "A", "Списки координат (*.txt, *.*)|*.*", {std::begin(kHelpA), std::end(kHelpA)}, "a"};
        a.makeConverter = [this] {
            return [this](const common::ConvertJob& job) {
                if (beforeConvert_) beforeConvert_(job);
                return copyLines(job);
            };
        };
        a.summaryLine = [] { return std::string("Сводка A"); };
        ui::BatchFormat b;
        b.info = {"B",
                  "Карты польского формата (*.mp)|*.mp",
                  {std::begin(kHelpB), std::end(kHelpB)},
                  "b"};
        b.refusal = [this] { return choosableB_ ? std::string() : std::string("нет выбора"); };
        b.confirmOptions = [this](QWidget*) {
            ++optionsShown_;
            return confirmB_;
        };
        b.makeConverter = [] { return common::FileConverter(copyLines); };
        b.summaryLine = [] { return std::string("Сводка B"); };
        return {a, b};
    }

    // Chooses `paths` on the current format.
    void choose(const QStringList& paths) {
        dialogs_.fileAnswers.push_back(paths);
        click("ChooseButton");
    }

  private slots:
    void init() {
        choosableB_ = true;
        confirmB_ = true;
        optionsShown_ = 0;
        beforeConvert_ = nullptr;
        dialogs_ = {};
        dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                               QStringLiteral("/полевые данные XXXXXX"));
        QVERIFY(dir_->isValid());
        screen_ = std::make_unique<ui::BatchScreen>(formats(), dialogs_);
        screen_->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen_.get()));
    }

    void cleanup() { screen_.reset(); }

    void startsIdle() {
        QCOMPARE(screen_->windowTitle(), QStringLiteral("Конвертирование файлов"));
        QCOMPARE(control<QPlainTextEdit>("FileListBox")->toPlainText(),
                 QStringLiteral("Выбор более 1000 файлов нежелателен!"));
        QCOMPARE(control<QPlainTextEdit>("HelpBox")->toPlainText(),
                 QStringLiteral("help of A\n\nsecond line"));
        QVERIFY(!control<QPushButton>("RunButton")->isEnabled());
        QVERIFY(control<QPushButton>("ChooseButton")->isEnabled());
        QCOMPARE(ui::backgroundColour(*control<QComboBox>("FormatList")), ui::editableColour());
        QCOMPARE(control<QLabel>("SelectedCountLabel")->text(), QStringLiteral("0"));
    }

    void formatChangeShowsHelpAndChooseRule() {
        choosableB_ = false;
        QTest::keyClick(control<QComboBox>("FormatList"), Qt::Key_Down);
        QCOMPARE(screen_->batchFormat(), 2);
        // The reason stands above the help.
        QCOMPARE(control<QPlainTextEdit>("HelpBox")->toPlainText(),
                 QStringLiteral("нет выбора\n\nhelp of B"));
        QVERIFY(!control<QPushButton>("ChooseButton")->isEnabled());
        QTest::keyClick(control<QComboBox>("FormatList"), Qt::Key_Up);
        QVERIFY(control<QPushButton>("ChooseButton")->isEnabled());
    }

    void fileDialogGetsTitleAndFilterAndCancelChangesNothing() {
        click("ChooseButton");  // no scripted answer: the user cancels
        QCOMPARE(dialogs_.fileDialogs.size(), std::size_t{1});
        QCOMPARE(dialogs_.fileDialogs[0].title, QStringLiteral("Открыть"));
        QCOMPARE(dialogs_.fileDialogs[0].filter,
                 QStringLiteral("Списки координат (*.txt, *.*)|*.*"));
        QCOMPARE(screen_->selectedCount(), std::size_t{0});
        QVERIFY(control<QPushButton>("ChooseButton")->isEnabled());
    }

    void cancelledOptionsLeaveTheScreenAsBefore() {
        const QString file = writeFile(QStringLiteral("a.mp"), "x\n");
        QTest::keyClick(control<QComboBox>("FormatList"), Qt::Key_Down);
        const QString helpBefore = control<QPlainTextEdit>("HelpBox")->toPlainText();
        confirmB_ = false;
        choose({file});
        QCOMPARE(optionsShown_, 1);
        QCOMPARE(screen_->selectedCount(), std::size_t{0});
        QCOMPARE(control<QPlainTextEdit>("FileListBox")->toPlainText(),
                 QStringLiteral("Выбор более 1000 файлов нежелателен!"));
        QVERIFY(control<QComboBox>("FormatList")->isEnabled());
        QCOMPARE(ui::backgroundColour(*control<QComboBox>("FormatList")), ui::editableColour());
        QVERIFY(control<QPushButton>("ChooseButton")->isEnabled());
        QVERIFY(!control<QPushButton>("RunButton")->isEnabled());
        QCOMPARE(control<QPlainTextEdit>("HelpBox")->toPlainText(), helpBefore);
        // Confirmed the second time, the choice stands.
        confirmB_ = true;
        choose({file});
        QCOMPARE(screen_->selectedCount(), std::size_t{1});
        QVERIFY(!control<QComboBox>("FormatList")->isEnabled());
        QCOMPARE(ui::backgroundColour(*control<QComboBox>("FormatList")), ui::readOnlyColour());
    }

    void threeFilesWithABadSecondOne() {
        const QStringList files{writeFile(QStringLiteral("точки 1.txt"), "p1,1\r\np2,2\r\n"),
                                writeFile(QStringLiteral("точки 2.txt"), "p1,1\nbad\nlast"),
                                writeFile(QStringLiteral("точки 3.txt"), "q")};
        choose(files);
        QCOMPARE(control<QLabel>("SelectedCountLabel")->text(), QStringLiteral("3"));
        QCOMPARE(control<QPlainTextEdit>("FileListBox")->toPlainText(),
                 QStringLiteral("1. %1\n2. %2\n3. %3").arg(files[0], files[1], files[2]));
        QVERIFY(!control<QPushButton>("ChooseButton")->isEnabled());
        QVERIFY(control<QPushButton>("RunButton")->isEnabled());

        click("RunButton");
        QCOMPARE(log(), QStringLiteral("Ошибка обработки - файл 2: точки 2.txt\n"
                                       "Ошибка в строке 2\n"
                                       "Файл не создан.\n"
                                       "\n"
                                       "********** ПЕРЕСЧЁТ ЗАКОНЧЕН **********\n"
                                       "Сводка A\n"
                                       "\n"
                                       "Обработано     : 3 файлов\n"
                                       "Создано           : 2 файлов\n"
                                       "Ошибок            : 1"));
        QCOMPARE(control<QLabel>("CreatedCountLabel")->text(), QStringLiteral("2"));
        QVERIFY(QFile::exists(folder() + QStringLiteral("RECALC/точки 1.txt")));
        QVERIFY(!QFile::exists(folder() + QStringLiteral("RECALC/точки 2.txt")));
        QFile third(folder() + QStringLiteral("RECALC/точки 3.txt"));
        QVERIFY(third.open(QIODevice::ReadOnly));
        QCOMPARE(third.readAll(), QByteArray("q\r\n"));

        // Finished: only reset and close remain.
        auto* run = control<QPushButton>("RunButton");
        QCOMPARE(run->text(), QStringLiteral("Запуск"));
        QVERIFY(!run->isEnabled());
        QVERIFY(!control<QPushButton>("ChooseButton")->isEnabled());
        QVERIFY(!control<QComboBox>("FormatList")->isEnabled());
        QVERIFY(control<QPushButton>("ResetButton")->isEnabled());
        QVERIFY(control<QPushButton>("CloseButton")->isEnabled());

        click("ResetButton");
        QCOMPARE(log(), QString());
        QCOMPARE(control<QLabel>("CreatedCountLabel")->text(), QStringLiteral("0"));
        QVERIFY(control<QComboBox>("FormatList")->isEnabled());
        QVERIFY(control<QPushButton>("ChooseButton")->isEnabled());
    }

    // After a run the log box opens at the first failed file's block; a long message wraps.
    void logShowsTheFirstFailureWrapped() {
        QStringList files;
        for (int i = 1; i <= 12; ++i)
            files << writeFile(QStringLiteral("файл с длинным именем точек съёмки %1.txt").arg(i),
                               i == 9 || i == 11 ? "bad\n" : "x\n");
        choose(files);
        auto* box = control<QPlainTextEdit>("LogBox");
        box->setFixedHeight(box->fontMetrics().height() * 4);
        click("RunButton");
        QCOMPARE(box->cursorForPosition(QPoint(4, 4)).block().text(),
                 QStringLiteral("Ошибка обработки - файл 9: ") + QFileInfo(files[8]).fileName());
        QCOMPARE(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(box->verticalScrollBar()->maximum() > box->verticalScrollBar()->value());
    }

    void existingRecalcCancelsTheRun() {
        QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("RECALC")));
        choose({writeFile(QStringLiteral("a.txt"), "x\n")});
        click("RunButton");
        QCOMPARE(log(),
                 QStringLiteral("Невозможно создать подкаталог \\RECALC !\nПересчёт отменён."));
        QVERIFY(!QFile::exists(folder() + QStringLiteral("RECALC/a.txt")));
        QVERIFY(!screen_->runActive());
        QVERIFY(control<QPushButton>("CloseButton")->isEnabled());
    }

    void vanishedSourceStopsTheRunWithFinishedBanner() {
        const QStringList files{writeFile(QStringLiteral("1.txt"), "a\n"),
                                writeFile(QStringLiteral("2.txt"), "b\n"),
                                writeFile(QStringLiteral("3.txt"), "c\n")};
        choose(files);
        QVERIFY(QFile::remove(files[1]));
        click("RunButton");
        const QString text = log();
        QVERIFY2(text.startsWith(QStringLiteral("Ошибка обработки - файл 2: 2.txt\n"
                                                "Невозможно открыть исходный файл!\n"
                                                "Пересчёт остановлен.\n\n"
                                                "********** ПЕРЕСЧЁТ ЗАКОНЧЕН **********")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Обработано     : 2 файлов")));
        QVERIFY(!QFile::exists(folder() + QStringLiteral("RECALC/3.txt")));
    }

    // "Прервать" while a file is converted: until that file is finished the screen stays running,
    // and neither "Всё заново", "Выбрать" nor "Запуск" can start a second run inside the first.
    void abortTakesEffectAfterTheCurrentFile() {
        QStringList files;
        for (int i = 1; i <= 4; ++i) files << writeFile(QStringLiteral("f%1.txt").arg(i), "x\n");
        choose(files);
        const std::size_t dialogsBefore = dialogs_.fileDialogs.size();
        int converted = 0;
        bool closedDuringRun = true;
        beforeConvert_ = [&](const common::ConvertJob&) {
            ++converted;
            if (converted != 1) return;
            QTest::keyClick(screen_.get(), Qt::Key_Escape);
            screen_->close();
            closedDuringRun = !screen_->isVisible();
            QVERIFY(!control<QPushButton>("ResetButton")->isEnabled());
            QCOMPARE(control<QPushButton>("RunButton")->text(), QStringLiteral("Прервать"));
            QTest::mouseClick(control<QPushButton>("RunButton"), Qt::LeftButton);

            auto* run = control<QPushButton>("RunButton");
            QCOMPARE(run->text(), QStringLiteral("Прервать"));
            QVERIFY(!run->isEnabled());
            QVERIFY(!control<QLabel>("RunStatusLabel")->text().isEmpty());
            QVERIFY(!control<QPushButton>("ResetButton")->isEnabled());
            QVERIFY(!control<QPushButton>("CloseButton")->isEnabled());
            QVERIFY(!control<QPushButton>("ChooseButton")->isEnabled());
            // Clicks on the disabled buttons and a reset from the program start nothing.
            dialogs_.fileAnswers.push_back({files[0]});
            for (const char* name : {"ResetButton", "ChooseButton", "RunButton"})
                QMetaObject::invokeMethod(control<QPushButton>(name), "click");
            screen_->resetScreen();
            QVERIFY(screen_->running());
            QCOMPARE(dialogs_.fileDialogs.size(), dialogsBefore);
            QCOMPARE(screen_->selectedCount(), std::size_t{4});
            QCOMPARE(log(), QString());
        };
        click("RunButton");
        QVERIFY(!closedDuringRun);
        QVERIFY(!screen_->running());
        QCOMPARE(converted, 1);
        QCOMPARE(log(), QStringLiteral("********* ПЕРЕСЧЁТ ОСТАНОВЛЕН *********\n"
                                       "Сводка A\n"
                                       "\n"
                                       "Обработано     : 1 файлов\n"
                                       "Создано           : 1 файлов\n"
                                       "Ошибок            : 0"));
        QCOMPARE(control<QLabel>("CreatedCountLabel")->text(), QStringLiteral("1"));
        QVERIFY(QFile::exists(folder() + QStringLiteral("RECALC/f1.txt")));
        QVERIFY(!QFile::exists(folder() + QStringLiteral("RECALC/f2.txt")));
        auto* run = control<QPushButton>("RunButton");
        QCOMPARE(run->text(), QStringLiteral("Запуск"));
        QVERIFY(!run->isEnabled());
        QVERIFY(control<QLabel>("RunStatusLabel")->text().isEmpty());
        QVERIFY(control<QPushButton>("ResetButton")->isEnabled());
        QVERIFY(control<QPushButton>("CloseButton")->isEnabled());
        click("CloseButton");
        QVERIFY(!screen_->isVisible());
    }

    void progressOfABigFileReachesTheBar() {
        QByteArray big;
        for (int i = 0; i < 300000; ++i) big += "point,1.0\n";  // about 3 MB
        choose({writeFile(QStringLiteral("big.txt"), big)});
        int highest = 0;
        int updates = 0;
        connect(control<QProgressBar>("FileProgress"), &QProgressBar::valueChanged, this,
                [&](int value) {
                    ++updates;
                    highest = std::max(highest, value);
                });
        click("RunButton");
        QVERIFY(updates >= 2);
        QCOMPARE(highest, control<QProgressBar>("FileProgress")->maximum());
        QCOMPARE(screen_->createdCount(), std::size_t{1});
    }

    void showingAgainResets() {
        choose({writeFile(QStringLiteral("a.txt"), "x\n")});
        click("RunButton");
        QVERIFY(!log().isEmpty());
        screen_->hide();
        screen_->show();
        QCOMPARE(log(), QString());
        QCOMPARE(screen_->selectedCount(), std::size_t{0});
        QVERIFY(control<QPushButton>("ChooseButton")->isEnabled());
    }

    void filterDescriptionsStayAsWrittenAndStarDotStarMeansEveryFile() {
        const std::vector<ui::NameFilter> one =
            ui::splitFileFilter(QStringLiteral("Списки координат (*.txt, *.*)|*.*"));
        QCOMPARE(one.size(), std::size_t{1});
        QCOMPARE(one[0].description, QStringLiteral("Списки координат (*.txt, *.*)"));
        QCOMPARE(one[0].patterns, QStringList{QStringLiteral("*")});
        const std::vector<ui::NameFilter> two =
            ui::splitFileFilter(QStringLiteral("A (*.mp)|*.mp|B|*.mif; *.mid"));
        QCOMPARE(two.size(), std::size_t{2});
        QCOMPARE(two[0].description, QStringLiteral("A (*.mp)"));
        QCOMPARE(two[1].patterns, (QStringList{QStringLiteral("*.mif"), QStringLiteral("*.mid")}));
    }

    // The real open dialog: the descriptions exactly, and the next dialog opens in the folder
    // of the last choice.
    void openDialogShowsTheFilterAndRemembersTheFolder() {
        const QString file = writeFile(QStringLiteral("без расширения"), "x\n");
        ui::QtDialogService service;
        QStringList shownFilters;
        QString shownFolder;
        const auto answer = [&](bool choose) {
            QTimer::singleShot(0, [&, choose] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                if (!dialog) qFatal("no file dialog open");
                shownFilters = dialog->nameFilters();
                shownFolder = dialog->directory().absolutePath();
                if (!choose) return dialog->reject();
                dialog->selectFile(file);
                QMetaObject::invokeMethod(dialog, "accept");
            });
        };
        answer(true);
        const QStringList chosen =
            service.openFiles(nullptr, QStringLiteral("Открыть"),
                              QStringLiteral("Карты польского формата (*.mp)|*.mp"));
        QCOMPARE(shownFilters, QStringList{QStringLiteral("Карты польского формата (*.mp)")});
        QCOMPARE(chosen, QStringList{file});
        answer(false);
        QVERIFY(service
                    .openFiles(nullptr, QStringLiteral("Открыть"),
                               QStringLiteral("Списки координат (*.txt, *.*)|*.*"))
                    .isEmpty());
        QCOMPARE(shownFilters, QStringList{QStringLiteral("Списки координат (*.txt, *.*)")});
        QCOMPARE(shownFolder, QDir(dir_->path()).absolutePath());
    }

    void fileNamesSurviveTheRoundTrip() {
        const QString name = QStringLiteral("/tmp/Пункты съёмки/точка №1.txt");
        QCOMPARE(ui::fromPath(ui::toPath(name)), name);
        QCOMPARE(ui::toPath(name).filename().string(), std::string("точка №1.txt"));
    }
};

QTEST_MAIN(BatchScreenTest)
#include "ui_batch_screen_test.moc"
