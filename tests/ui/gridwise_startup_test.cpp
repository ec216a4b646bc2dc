// Program start as a function of the screen size: the 800 x 600 limit and its message, the
// information message, the application title and the eight windows with the set-up screen shown.

#include "gridwise_test_support.hpp"
#include "ui/startup.hpp"

using namespace gridwise_test;

class StartupTest : public QObject {
    Q_OBJECT

  private slots:
    void screenSizeCheck_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<bool>("starts");
        QTest::newRow("800x600") << QSize(800, 600) << true;
        QTest::newRow("799x600") << QSize(799, 600) << false;
        QTest::newRow("800x599") << QSize(800, 599) << false;
        QTest::newRow("1920x1080") << QSize(1920, 1080) << true;
        QTest::newRow("no screen") << QSize() << false;
    }
    void screenSizeCheck() {
        QFETCH(QSize, screen);
        QFETCH(bool, starts);
        gridwise::GridwiseState state = gridwise::MakeGridwiseState();
        ui::RecordingDialogService dialogs;
        const auto windows = gridwise::StartGridwise(state, dialogs, screen);
        QCOMPARE(windows != nullptr, starts);
        QCOMPARE(dialogs.messages.size(), std::size_t{1});
        const ui::RecordedMessage& message = dialogs.messages[0];
        if (starts) {
            QCOMPARE(message.kind, ui::RecordedMessage::Kind::Information);
            QCOMPARE(message.text, gridwise::StartInformation());
            QVERIFY(windows->setup().isVisible());
        } else {
            QCOMPARE(message.kind, ui::RecordedMessage::Kind::Error);
            QCOMPARE(message.text,
                     QStringLiteral("Установите разрешение экрана не менее 800*600!"));
            QVERIFY(QApplication::topLevelWidgets().isEmpty());
        }
    }

    void informationAndWindows() {
        gridwise::GridwiseState state = gridwise::MakeGridwiseState();
        ui::RecordingDialogService dialogs;
        const auto windows = gridwise::StartGridwise(state, dialogs, QSize(1024, 768));
        QVERIFY(windows);
        const QStringList paragraphs = gridwise::StartInformation().split(QStringLiteral("\n\n"));
        QCOMPARE(paragraphs.size(), 5);
        QCOMPARE(paragraphs[0], QStringLiteral("Gridwise 0.97, тест-версия от 23.VI.2008"));
        QCOMPARE(paragraphs[1], QStringLiteral("Прототип профессионального геокалькулятора, "
                                               "бета-тестирование (пересчёт B,L <=> x,y)."));
        QCOMPARE(QApplication::applicationName(), QStringLiteral("Gridwise"));
        QStringList names;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName().startsWith(QStringLiteral("TForm")))
                names << window->objectName();
        names.sort();
        QCOMPARE(names, (QStringList{"TForm1", "TForm2", "TForm3", "TForm4", "TForm5", "TForm6",
                                     "TForm7", "TForm8"}));
        QVERIFY(!windows->point().isVisible());
        QVERIFY(!windows->batch().isVisible());
        // The batch screen is at least as large as the set-up screen it replaces on the desk.
        QVERIFY(windows->batch().width() >= windows->setup().width());
    }
};

QTEST_MAIN(StartupTest)
#include "gridwise_startup_test.moc"
