// Gridwise's batch screen with its real formats: which formats the set-up allows, the option
// dialog of a format confirmed or cancelled, and a point-list run over files whose folder and
// names hold blanks and Cyrillic letters.

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "gridwise_test_support.hpp"

using namespace gridwise_test;

class GridwiseBatchTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Windows> w_;
    std::unique_ptr<QTemporaryDir> dir_;
    QWidget& batch() { return w_->windows->batch(); }

    void openBatch() {
        click(w_->setup(), "NextButton");
        batch().show();
        QVERIFY(QTest::qWaitForWindowExposed(&batch()));
    }
    bool chooseEnabled() { return find<QPushButton>(batch(), "ChooseButton")->isEnabled(); }
    QString writeFile(const QString& name, const QByteArray& content) {
        QFile file(dir_->path() + QLatin1Char('/') + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write test file");
        return file.fileName();
    }
    QByteArray readTarget(const QString& name) {
        QFile file(dir_->path() + QStringLiteral("/RECALC/") + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

  private slots:
    void init() {
        w_ = std::make_unique<Windows>();
        dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                               QStringLiteral("/Съёмка 2008 XXXXXX"));
        QVERIFY(dir_->isValid());
    }
    void cleanup() { w_.reset(); }

    void formatsAllowedBySk42() {
        openBatch();
        QCOMPARE(items(batch(), "FormatList"),
                 (QStringList{"TXT", "TXT => ном.", "СК42 => СК63", "СК63 => СК42", "MP - сдвиг"}));
        const bool expected[] = {true, true, false, false, true};
        for (int format = 0; format < 5; ++format) {
            choose(batch(), "FormatList", format);
            QCOMPARE(chooseEnabled(), expected[format]);
        }
        QVERIFY(find<QPlainTextEdit>(batch(), "HelpBox")
                    ->toPlainText()
                    .startsWith(QStringLiteral("Файл MP (*.mp) - текстовый файл векторной")));
    }

    void formatsAllowedBySk63() {
        choose(w_->setup(), "SystemList", 3);
        openBatch();
        const bool expected[] = {true, true, true, true, false};
        for (int format = 0; format < 5; ++format) {
            choose(batch(), "FormatList", format);
            QCOMPARE(chooseEnabled(), expected[format]);
        }
    }

    // From x,y no SK63 zone is chosen, so SK42 => SK63 is refused with its reason in the help.
    void sk42ToSk63RefusedFromPlaneCoordinates() {
        choose(w_->setup(), "DirectionList", 1);
        choose(w_->setup(), "SystemList", 3);
        openBatch();
        choose(batch(), "FormatList", 2);
        QVERIFY(!chooseEnabled());
        const QStringList help =
            find<QPlainTextEdit>(batch(), "HelpBox")->toPlainText().split(QLatin1Char('\n'));
        QVERIFY2(help.first().contains(QStringLiteral("B,L => x,y")), qPrintable(help.first()));
        QCOMPARE(help.at(2), QStringLiteral("Файл TXT (*.txt, *.*) - список координат  точек,"));
        choose(batch(), "FormatList", 3);
        QVERIFY(chooseEnabled());
    }

    void cancelledOptionsDropTheChoice() {
        openBatch();
        w_->dialogs.fileAnswers.push_back({writeFile(QStringLiteral("a.txt"), "1,55,37,0\n")});
        onNextModal([](QWidget& dialog) {
            QCOMPARE(dialog.objectName(), QStringLiteral("TForm8"));
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        click(batch(), "ChooseButton");
        QCOMPARE(w_->windows->batch().selectedCount(), std::size_t{0});
        QVERIFY(chooseEnabled());
        QVERIFY(!find<QPushButton>(batch(), "RunButton")->isEnabled());
        QCOMPARE(find<QPlainTextEdit>(batch(), "FileListBox")->toPlainText(),
                 QStringLiteral("Выбор более 1000 файлов нежелателен!"));
    }

    void pointListRunWithCyrillicNames() {
        openBatch();
        const QStringList files{
            writeFile(QStringLiteral("пункт 1.txt"), "p1,55,37,150.25,код\r\n"),
            writeFile(QStringLiteral("пункт 2.txt"), "p1,55,37,150\r\np2,55;37,150\r\n"),
            writeFile(QStringLiteral("пункт 3.txt"), "p3,56,38,10")};
        w_->dialogs.fileAnswers.push_back(files);
        onNextModal([](QWidget& dialog) {
            choose(dialog, "PlaneDecimalsList", 2);  // 2 decimals
            click(dialog, "OkButton");
        });
        click(batch(), "ChooseButton");
        QCOMPARE(w_->state.PlaneDecimals, 2);
        QCOMPARE(find<QPlainTextEdit>(batch(), "FileListBox")->toPlainText().split('\n').at(1),
                 QStringLiteral("2. ") + files[1]);

        click(batch(), "RunButton");
        const QString log = find<QPlainTextEdit>(batch(), "LogBox")->toPlainText();
        QVERIFY2(log.startsWith(QStringLiteral("Ошибка обработки - файл 2: пункт 2.txt\n"
                                               "Ошибка в строке 2\nФайл не создан.\n")),
                 qPrintable(log));
        QVERIFY(log.contains(QStringLiteral("Система координат: СК42/СК95\n")));
        QVERIFY(
            log.endsWith(QStringLiteral("Обработано     : 3 файлов\n"
                                        "Создано           : 2 файлов\n"
                                        "Ошибок            : 1")));
        QCOMPARE(text(batch(), "CreatedCountLabel"), QStringLiteral("2"));
        // The x, y of 55° N 37° E with 2 decimals, the height with 3, the tail kept.
        const QByteArray first = readTarget(QStringLiteral("пункт 1.txt"));
        QVERIFY2(first.startsWith("p1,6099167.") && first.endsWith(",150.250,код\r\n"),
                 first.constData());
        QCOMPARE(readTarget(QStringLiteral("пункт 2.txt")), QByteArray("(missing)"));
    }
};

QTEST_MAIN(GridwiseBatchTest)
#include "gridwise_batch_test.moc"
