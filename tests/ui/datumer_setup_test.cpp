// Datumer's start-up and set-up screen, driven through the real widgets.

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "datumer/geodesy/presets.hpp"
#include "datumer/ui/extra_dialog.hpp"
#include "datumer/ui/height_precision_dialog.hpp"
#include "datumer/ui/point_screen.hpp"
#include "datumer/ui/program.hpp"
#include "datumer/ui/setup_screen.hpp"
#include "datumer_test_support.hpp"
#include "ui/batch_screen.hpp"

using namespace datumer_test;

namespace {

const QString kDxMessage = QStringLiteral("Значение DX должно быть в пределах -10000...10000 м");
const QString kTargetInvFMessage =
    QStringLiteral("Параметр 1/F целевого эллипсоида должен быть в пределах 1/305...1/295");

constexpr int kUserPresetLine = 12;

}  // namespace

class DatumerSetupTest : public QObject {
    Q_OBJECT

    ui::RecordingDialogService dialogs_;
    std::unique_ptr<datumer::DatumerProgram> program_;

    datumer::SetupScreen& setup() { return program_->setupScreen(); }
    QComboBox* presetList() { return control<QComboBox>(setup(), "ComboBox1"); }
    QPushButton* proceed() { return control<QPushButton>(setup(), "Button2"); }

  private slots:
    void init() {
        dialogs_ = {};
        program_ = std::make_unique<datumer::DatumerProgram>(dialogs_, ',');
        setup().show();
    }
    void cleanup() { program_.reset(); }

    void startRefusesScreensBelow800x600_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<bool>("starts");
        QTest::newRow("1024x599") << QSize(1024, 599) << false;
        QTest::newRow("799x600") << QSize(799, 600) << false;
        QTest::newRow("800x600") << QSize(800, 600) << true;
    }
    void startRefusesScreensBelow800x600() {
        QFETCH(QSize, screen);
        QFETCH(bool, starts);
        ui::RecordingDialogService dialogs;
        const auto started = datumer::StartDatumer(dialogs, screen, ',');
        QCOMPARE(started != nullptr, starts);
        QCOMPARE(dialogs.messages.size(), std::size_t{1});
        const auto& message = dialogs.messages.front();
        if (!starts) {
            QCOMPARE(message.kind, ui::RecordedMessage::Kind::Error);
            QCOMPARE(message.text,
                     QStringLiteral("Установите разрешение экрана не менее 800*600!"));
            return;
        }
        QCOMPARE(message.kind, ui::RecordedMessage::Kind::Information);
        const QStringList paragraphs = message.text.split(QStringLiteral("\n\n"));
        QCOMPARE(paragraphs.size(), 5);
        QCOMPARE(paragraphs[0], QStringLiteral("Datumer 0.97, тест-версия от 24.IV.2008"));
        QVERIFY(paragraphs[4].contains(QLatin1Char('@')));
        QCOMPARE(QApplication::applicationName(), QStringLiteral("Datumer"));
        QVERIFY(started->setupScreen().isVisible());
        QVERIFY(!started->pointScreen().isVisible());
        const QStringList names{
            started->setupScreen().objectName(), started->pointScreen().objectName(),
            started->extraDialog().objectName(), started->batchScreen().objectName(),
            started->heightDialog().objectName()};
        QCOMPARE(names, (QStringList{"TForm1", "TForm2", "TForm3", "TForm4", "TForm5"}));
    }

    void screenShowsPresetOneAtStart() {
        QCOMPARE(setup().windowTitle(), QStringLiteral(" Пересчёт геодезических координат"));
        QCOMPARE(presetList()->count(), datumer::kPresetCount);
        QCOMPARE(presetList()->currentIndex(), 0);
        QCOMPARE(presetList()->itemText(12),
                 QStringLiteral(" 13.  Пользовательские параметры  (по умолчанию из варианта 1)"));
        QCOMPARE(edit(setup(), 1)->text(), QStringLiteral("23,92"));
        QCOMPARE(edit(setup(), 11)->text(), QStringLiteral("298,257223563"));
        QVERIFY(edit(setup(), 1)->isReadOnly());
        QVERIFY(!shownWhite(*edit(setup(), 1)));
        QCOMPARE(control<QLabel>(setup(), "Label_SourceEllipsoid")->text(),
                 QStringLiteral("Красовского-1940"));
        QVERIFY(proceed()->isEnabled());
        QCOMPARE(setup().focusWidget(), proceed());
    }

    // The sets of today: list line, shown values, ellipsoid names, read-only fields, and the
    // systems the point screen then names.
    void presetsOfTodayAreShownReadOnly_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("sourceEllipsoid");
        QTest::addColumn<QString>("targetEllipsoid");
        QTest::addColumn<QString>("sourceCaption");
        QTest::addColumn<QString>("targetCaption");
        QTest::newRow("14") << 13 << " 14.  СК42 => ПЗ90.02  (ГОСТ Р 51794-2008)"
                            << QStringList{"23,93", "-141,03", "-79,98",       "0",
                                           "-0,35", "-0,79",   "-0,22",        "6378245",
                                           "298,3", "6378136", "298,257839303"}
                            << "Красовского-1940"
                            << "ПЗ-90"
                            << " КООРДИНАТЫ ТОЧКИ В ИСХОДНОЙ СК (СК42) "
                            << " КООРДИНАТЫ ТОЧКИ В ЦЕЛЕВОЙ СК (ПЗ90.02) ";
        QTest::newRow("27") << 26 << " 27.  ПЗ90.11 => ГСК-2011  (ГОСТ 32453-2017)"
                            << QStringList{"0",         "-0,014",     "0,008",
                                           "0,000562",  "0,000019",   "-0,000053",
                                           "0,0006",    "6378136",    "298,257839303",
                                           "6378136,5", "298,2564151"}
                            << "ПЗ-90"
                            << "ГСК-2011"
                            << " КООРДИНАТЫ ТОЧКИ В ИСХОДНОЙ СК (ПЗ90.11) "
                            << " КООРДИНАТЫ ТОЧКИ В ЦЕЛЕВОЙ СК (ГСК-2011) ";
        QTest::newRow("29") << 28 << " 29.  WGS84 => ПЗ90.11  (ГОСТ 32453-2017)"
                            << QStringList{"-0,013",        "0,106",    "0,022",        "-0,0023",
                                           "0,00354",       "-0,00421", "-0,008",       "6378137",
                                           "298,257223563", "6378136",  "298,257839303"}
                            << "WGS84"
                            << "ПЗ-90"
                            << " КООРДИНАТЫ ТОЧКИ В ИСХОДНОЙ СК (WGS84) "
                            << " КООРДИНАТЫ ТОЧКИ В ЦЕЛЕВОЙ СК (ПЗ90.11) ";
        QTest::newRow("30") << 29 << " 30.  СК42 => ГСК-2011  (ГОСТ 32453-2017)"
                            << QStringList{"23,557",    "-140,858",  "-79,77",     "-0,001738",
                                           "-0,346441", "-0,794263", "-0,2274",    "6378245",
                                           "298,3",     "6378136,5", "298,2564151"}
                            << "Красовского-1940"
                            << "ГСК-2011"
                            << " КООРДИНАТЫ ТОЧКИ В ИСХОДНОЙ СК (СК42) "
                            << " КООРДИНАТЫ ТОЧКИ В ЦЕЛЕВОЙ СК (ГСК-2011) ";
    }
    void presetsOfTodayAreShownReadOnly() {
        QFETCH(int, line);
        QFETCH(QString, text);
        QFETCH(QStringList, values);
        QFETCH(QString, sourceEllipsoid);
        QFETCH(QString, targetEllipsoid);
        QFETCH(QString, sourceCaption);
        QFETCH(QString, targetCaption);
        QCOMPARE(presetList()->itemText(line), text);
        chooseLine(presetList(), line);
        for (int field = 1; field <= values.size(); ++field) {
            QCOMPARE(edit(setup(), field)->text(), values[field - 1]);
            QVERIFY(edit(setup(), field)->isReadOnly());
        }
        const QString rotations =
            QStringLiteral("Поворот целевого эллипсоида относительно исходного (секунды)");
        int named = 0;
        for (const QLabel* label : setup().findChildren<QLabel*>()) {
            named += label->text() == rotations && label->toolTip().contains("EPSG 1032");
        }
        QCOMPARE(named, 1);
        QCOMPARE(control<QLabel>(setup(), "Label_SourceEllipsoid")->text(), sourceEllipsoid);
        QCOMPARE(control<QLabel>(setup(), "Label_TargetEllipsoid")->text(), targetEllipsoid);
        typeInto(edit(setup(), 1), QStringLiteral("5"));
        QCOMPARE(edit(setup(), 1)->text(), values[0]);
        click(setup(), "Button2");
        QCOMPARE(warningCount(dialogs_), 0);
        auto& point = program_->pointScreen();
        QCOMPARE(control<QGroupBox>(point, "GroupBox1")->title(), sourceCaption);
        QCOMPARE(control<QGroupBox>(point, "GroupBox2")->title(), targetCaption);
        QCOMPARE(program_->state().Params.DX, datumer::PresetAt(program_->state(), line + 1).DX);
    }

    // Field, typed value, the message of "Далее" (empty: the point screen is shown).
    void userPresetRangeChecks_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("DX 10000") << 1 << "10000" << QString();
        QTest::newRow("DX 10000,001") << 1 << "10000,001" << kDxMessage;
        QTest::newRow("DX -10000") << 1 << "-10000" << QString();
        QTest::newRow("WZ 10.5") << 6 << "10.5"
                                 << "Значение WZ должно быть в пределах -10...10 секунд";
        QTest::newRow("M -10") << 7 << "-10" << QString();
        QTest::newRow("source A 6369999")
            << 8 << "6369999"
            << "Параметр A исходного эллипсоида должен быть в пределах 6370000...6390000 м";
        QTest::newRow("source 1/F 309") << 9 << "309" << QString();
        QTest::newRow("target 1/F 309") << 11 << "309" << kTargetInvFMessage;
        QTest::newRow("target 1/F 295") << 11 << "295" << QString();
    }
    void userPresetRangeChecks() {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        chooseLine(presetList(), kUserPresetLine);
        typeInto(edit(setup(), field), text);
        QVERIFY(proceed()->isEnabled());
        QTest::mouseClick(proceed(), Qt::LeftButton);
        if (message.isEmpty()) {
            QCOMPARE(warningCount(dialogs_), 0);
            QVERIFY(!setup().isVisible());
            QVERIFY(program_->pointScreen().isVisible());
        } else {
            QCOMPARE(warningCount(dialogs_), 1);
            QCOMPARE(dialogs_.messages.back().caption, QStringLiteral("Некорректные данные"));
            QCOMPARE(lastWarning(dialogs_), message);
            QVERIFY(setup().isVisible());
            QVERIFY(!program_->pointScreen().isVisible());
        }
    }

    void onlyTheFirstFailureIsReported() {
        chooseLine(presetList(), kUserPresetLine);
        typeInto(edit(setup(), 11), QStringLiteral("400"));
        typeInto(edit(setup(), 4), QStringLiteral("11"));
        typeInto(edit(setup(), 1), QStringLiteral("20000"));
        click(setup(), "Button2");
        QCOMPARE(warningCount(dialogs_), 1);
        QCOMPARE(lastWarning(dialogs_), kDxMessage);
    }

    // Typed text, whether it is accepted, the value then stored as DX of preset 13.
    void typedTextIsCheckedOnEveryChange_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("stored");
        QTest::newRow("point") << "23.5" << true << 23.5;
        QTest::newRow("comma") << "23,5" << true << 23.5;
        QTest::newRow("empty") << "" << false << 7.0;
        QTest::newRow("exponent") << "2e3" << false << 2.0;
        QTest::newRow("blank inside") << "2 5" << false << 2.0;
    }
    void typedTextIsCheckedOnEveryChange() {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QFETCH(double, stored);
        chooseLine(presetList(), kUserPresetLine);
        QLineEdit* dx = edit(setup(), 1);
        typeInto(dx, QStringLiteral("7"));
        typeInto(dx, text);
        QCOMPARE(shownRed(*dx), !accepted);
        QCOMPARE(proceed()->isEnabled(), accepted);
        // A rejected text keeps the last accepted value: the "7" typed before it was deleted, or
        // the "2" typed on the way to "2e3" and "2 5".
        QCOMPARE(datumer::PresetAt(program_->state(), datumer::kUserPreset).DX, stored);
    }

    void redFieldTurnsBlackWhenCorrected() {
        chooseLine(presetList(), kUserPresetLine);
        typeInto(edit(setup(), 3), QStringLiteral("1,2,3"));
        typeInto(edit(setup(), 10), QStringLiteral("x"));
        QVERIFY(!proceed()->isEnabled());
        typeInto(edit(setup(), 3), QStringLiteral("1,2"));
        QVERIFY(!shownRed(*edit(setup(), 3)));
        QVERIFY(!proceed()->isEnabled());  // field 10 still red
        typeInto(edit(setup(), 10), QStringLiteral("6378000"));
        QVERIFY(proceed()->isEnabled());
    }

    void userEditsSurviveAnotherPreset() {
        chooseLine(presetList(), kUserPresetLine);
        QVERIFY(shownWhite(*edit(setup(), 1)));
        typeInto(edit(setup(), 1), QStringLiteral("123,5"));
        typeInto(edit(setup(), 9), QStringLiteral("299"));
        chooseLine(presetList(), 4);
        QCOMPARE(edit(setup(), 1)->text(), QStringLiteral("-1,08"));
        QCOMPARE(edit(setup(), 9)->text(), QStringLiteral("298,257839303"));
        QCOMPARE(control<QLabel>(setup(), "Label_SourceEllipsoid")->text(),
                 QStringLiteral("ПЗ90.01"));
        for (int field = 1; field <= 11; ++field) {
            QVERIFY(edit(setup(), field)->isReadOnly());
            QVERIFY(!shownWhite(*edit(setup(), field)));
        }
        // Typing into a fixed preset changes nothing.
        QTest::keyClicks(edit(setup(), 2), QStringLiteral("9"));
        QCOMPARE(edit(setup(), 2)->text(), QStringLiteral("-0,27"));

        chooseLine(presetList(), kUserPresetLine);
        QCOMPARE(edit(setup(), 1)->text(), QStringLiteral("123,5"));
        QCOMPARE(edit(setup(), 9)->text(), QStringLiteral("299"));
        QVERIFY(!edit(setup(), 1)->isReadOnly());
        QVERIFY(shownWhite(*edit(setup(), 1)));
        QCOMPARE(control<QLabel>(setup(), "Label_SourceEllipsoid")->text(),
                 QStringLiteral("пользовательский исходный"));
    }

    void redFieldIsBlackAgainAfterAnotherPreset() {
        chooseLine(presetList(), kUserPresetLine);
        typeInto(edit(setup(), 5), QStringLiteral("--1"));
        QVERIFY(!proceed()->isEnabled());
        chooseLine(presetList(), 0);
        QVERIFY(proceed()->isEnabled());
        chooseLine(presetList(), kUserPresetLine);
        QCOMPARE(edit(setup(), 5)->text(), QStringLiteral("-0,35"));  // last accepted value
        QVERIFY(!shownRed(*edit(setup(), 5)));
        QVERIFY(proceed()->isEnabled());
    }

    void restartRestoresTheDefaults() {
        chooseLine(presetList(), kUserPresetLine);
        typeInto(edit(setup(), 1), QStringLiteral("500"));
        typeInto(edit(setup(), 10), QStringLiteral("6378000"));
        click(setup(), "Button1");
        QCOMPARE(presetList()->currentIndex(), 0);
        QCOMPARE(program_->state().SelectedPreset, 1);
        QCOMPARE(edit(setup(), 1)->text(), QStringLiteral("23,92"));
        QVERIFY(edit(setup(), 1)->isReadOnly());
        chooseLine(presetList(), kUserPresetLine);
        QCOMPARE(edit(setup(), 1)->text(), QStringLiteral("23,92"));
        QCOMPARE(edit(setup(), 10)->text(), QStringLiteral("6378137"));
    }

    void backFromThePointScreenKeepsEverything() {
        chooseLine(presetList(), kUserPresetLine);
        typeInto(edit(setup(), 2), QStringLiteral("-140"));
        click(setup(), "Button2");
        datumer::PointScreen& point = program_->pointScreen();
        QVERIFY(point.isVisible());
        QCOMPARE(point.pos(), setup().pos());
        click(point, "Button5");
        QVERIFY(!point.isVisible());
        QVERIFY(setup().isVisible());
        QCOMPARE(presetList()->currentIndex(), kUserPresetLine);
        QCOMPARE(edit(setup(), 2)->text(), QStringLiteral("-140"));
        QCOMPARE(setup().focusWidget(), proceed());
    }

    void exitClosesTheProgram() {
        click(setup(), "Button2");
        click(program_->pointScreen(), "Button6");
        QVERIFY(!program_->pointScreen().isVisible());
        QVERIFY(!setup().isVisible());
    }
};

QTEST_MAIN(DatumerSetupTest)
#include "datumer_setup_test.moc"
