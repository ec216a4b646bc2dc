// Datumer's point screen and its extra dialog, driven through the real widgets.

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cmath>

#include "datumer/ui/extra_dialog.hpp"
#include "datumer/ui/point_screen.hpp"
#include "datumer/ui/program.hpp"
#include "datumer/ui/setup_screen.hpp"
#include "datumer_test_support.hpp"

using namespace datumer_test;

namespace {

const QString kLatitudeMessage =
    QStringLiteral("Широта должна находиться в пределах 0..90 градусов");
const QString kHeightMessage =
    QStringLiteral("Высота должна быть указана в пределах -1000...10000 метров");

// The sheet names and the shift as the dialog must show them: the computed values with the
// screen's comma, 4 decimals.
QString commaFixed(double value) {
    return QString::number(value, 'f', 4).replace(QLatin1Char('.'), QLatin1Char(','));
}

}  // namespace

class DatumerPointTest : public QObject {
    Q_OBJECT

    ui::RecordingDialogService dialogs_;
    std::unique_ptr<datumer::DatumerProgram> program_;

    datumer::PointScreen& point() { return program_->pointScreen(); }
    QLineEdit* field(int number) { return edit(point(), number); }
    QPushButton* compute() { return control<QPushButton>(point(), "Button1"); }
    QPushButton* extra() { return control<QPushButton>(point(), "Button2"); }
    QComboBox* list(const char* name) { return control<QComboBox>(point(), name); }

    // Source values in the order of edits 1..7.
    void typePoint(const QStringList& texts) {
        for (int i = 0; i < texts.size(); ++i) {
            if (!field(i + 1)->isReadOnly()) typeInto(field(i + 1), texts[i]);
        }
    }

    void goToPointScreen(int presetLine = 0) {
        chooseLine(control<QComboBox>(program_->setupScreen(), "ComboBox1"), presetLine);
        click(program_->setupScreen(), "Button2");
        QVERIFY(point().isVisible());
    }

  private slots:
    void init() {
        dialogs_ = {};
        program_ = std::make_unique<datumer::DatumerProgram>(dialogs_, ',');
        program_->setupScreen().show();
        goToPointScreen();
    }
    void cleanup() { program_.reset(); }

    void inputStageAfterShowing() {
        QCOMPARE(control<QGroupBox>(point(), "GroupBox1")->title(),
                 QStringLiteral(" КООРДИНАТЫ ТОЧКИ В ИСХОДНОЙ СК (СК42) "));
        QCOMPARE(control<QGroupBox>(point(), "GroupBox2")->title(),
                 QStringLiteral(" КООРДИНАТЫ ТОЧКИ В ЦЕЛЕВОЙ СК (WGS84) "));
        const QStringList startTexts{"0", "00", "00", "0", "00", "00", "0"};
        for (int i = 1; i <= 7; ++i) {
            QCOMPARE(field(i)->text(), startTexts[i - 1]);
            QVERIFY(shownWhite(*field(i)));
        }
        for (int i = 8; i <= 14; ++i) {
            QCOMPARE(field(i)->text(), QStringLiteral("-"));
            QVERIFY(field(i)->isReadOnly());
        }
        QVERIFY(compute()->isEnabled());
        QCOMPARE(point().focusWidget(), compute());
        QVERIFY(!extra()->isEnabled());
        QVERIFY(!list("ComboBox4")->isEnabled());
        QCOMPARE(list("ComboBox4")->currentText(), QStringLiteral("Формат координат: -"));
        QCOMPARE(list("ComboBox5")->currentText(), QStringLiteral("-"));
        QVERIFY(list("ComboBox2")->isEnabled());
    }

    // Source format, the seven typed texts, the warning of "ПЕРЕСЧЁТ" (empty: computed).
    void rangeChecks_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("message");
        const QString minutes = QStringLiteral("Значение минут по широте должно быть менее 60");
        QTest::newRow("minutes 60")
            << 0 << QStringList{"55", "60", "00", "37", "00", "00", "0"} << minutes;
        QTest::newRow("longitude minutes 60")
            << 0 << QStringList{"55", "00", "00", "37", "60", "00", "0"}
            << "Значение минут по долготе должно быть менее 60";
        QTest::newRow("seconds 59,9999999")
            << 0 << QStringList{"55", "59", "59,9999999", "37", "00", "00", "0"} << QString();
        QTest::newRow("seconds 60") << 0 << QStringList{"55", "00", "60", "37", "00", "00", "0"}
                                    << "Значение секунд по широте должно быть менее 60";
        QTest::newRow("90 00 00.0")
            << 0 << QStringList{"90", "00", "00.0", "0", "00", "00", "0"} << QString();
        QTest::newRow("90 00 00.1")
            << 0 << QStringList{"90", "00", "00.1", "0", "00", "00", "0"} << kLatitudeMessage;
        QTest::newRow("180 00 00,5") << 0 << QStringList{"10", "00", "00", "180", "00", "00,5", "0"}
                                     << "Долгота должна находиться в пределах 0..180 градусов";
        QTest::newRow("decimal 90")
            << 1 << QStringList{"90", "-", "-", "0", "-", "-", "0"} << QString();
        QTest::newRow("decimal 90,0000001")
            << 1 << QStringList{"90,0000001", "-", "-", "0", "-", "-", "0"} << kLatitudeMessage;
        QTest::newRow("height -1000")
            << 0 << QStringList{"55", "00", "00", "37", "00", "00", "-1000"} << QString();
        QTest::newRow("height 10000")
            << 0 << QStringList{"55", "00", "00", "37", "00", "00", "10000"} << QString();
        QTest::newRow("height -1000,01")
            << 0 << QStringList{"55", "00", "00", "37", "00", "00", "-1000,01"} << kHeightMessage;
        QTest::newRow("latitude before height")
            << 0 << QStringList{"91", "00", "00", "37", "00", "00", "-2000"} << kLatitudeMessage;
    }
    void rangeChecks() {
        QFETCH(int, format);
        QFETCH(QStringList, texts);
        QFETCH(QString, message);
        chooseLine(list("ComboBox1"), format);
        typePoint(texts);
        QVERIFY(compute()->isEnabled());
        QTest::mouseClick(compute(), Qt::LeftButton);
        if (message.isEmpty()) {
            QCOMPARE(warningCount(dialogs_), 0);
            QVERIFY(!compute()->isEnabled());
            QVERIFY(extra()->isEnabled());
            QVERIFY(field(8)->text() != QStringLiteral("-"));
        } else {
            QCOMPARE(warningCount(dialogs_), 1);
            QCOMPARE(dialogs_.messages.back().caption, QStringLiteral("Некорректные данные"));
            QCOMPARE(lastWarning(dialogs_), message);
            QVERIFY(compute()->isEnabled());
            QVERIFY(!extra()->isEnabled());
            QVERIFY(!field(1)->isReadOnly());
        }
    }

    void decimalFormatFreezesMinutesAndSeconds() {
        chooseLine(list("ComboBox1"), 1);
        for (int i : {2, 3, 5, 6}) {
            QCOMPARE(field(i)->text(), QStringLiteral("-"));
            QVERIFY(field(i)->isReadOnly());
            QVERIFY(!shownWhite(*field(i)));
        }
        QCOMPARE(field(1)->text(), QStringLiteral("0"));
        QVERIFY(shownWhite(*field(1)));
        chooseLine(list("ComboBox1"), 0);
        QCOMPARE(field(2)->text(), QStringLiteral("00"));
        QVERIFY(!field(2)->isReadOnly());
    }

    // Text, whether it is accepted: unsigned fields refuse any sign, the height takes one.
    void badTextDisablesCompute_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("degrees with sign") << 1 << "-55" << false;
        QTest::newRow("degrees with fraction") << 1 << "55,5" << false;
        QTest::newRow("minutes letter") << 2 << "4a" << false;
        QTest::newRow("seconds comma") << 3 << "12,5" << true;
        QTest::newRow("seconds with sign") << 3 << "+12" << false;
        QTest::newRow("height with sign") << 7 << "-12,5" << true;
        QTest::newRow("height empty") << 7 << "" << false;
    }
    void badTextDisablesCompute() {
        QFETCH(int, number);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        typeInto(field(number), text);
        QCOMPARE(shownRed(*field(number)), !accepted);
        QCOMPARE(compute()->isEnabled(), accepted);
    }

    void resultInBothFormatsWithComma() {
        typePoint({"55", "00", "00", "37", "00", "00", "0"});
        click(point(), "Button1");
        QVERIFY(std::fabs(program_->state().Point.B2 - 55.00001359438) < 5e-12);
        QCOMPARE(field(8)->text(), QStringLiteral("55"));
        QCOMPARE(field(9)->text(), QStringLiteral("00"));
        QCOMPARE(field(10)->text(), QStringLiteral("00,048939"));  // truncated, not 00,048940
        QCOMPARE(field(11)->text(), QStringLiteral("36"));
        QCOMPARE(field(12)->text(), QStringLiteral("59"));
        QCOMPARE(list("ComboBox5")->currentText(), QStringLiteral("с.ш."));
        QCOMPARE(list("ComboBox6")->currentText(), QStringLiteral("в.д"));
        QVERIFY(field(14)->text().startsWith(QStringLiteral("4,946")));
        QVERIFY(list("ComboBox4")->isEnabled());
        QVERIFY(shownWhite(*list("ComboBox4")));

        chooseLine(list("ComboBox4"), 1);
        QCOMPARE(field(8)->text(), QStringLiteral("55,0000135944"));
        QCOMPARE(field(9)->text(), QStringLiteral("-"));
        QCOMPARE(field(10)->text(), QStringLiteral("-"));
        QVERIFY(field(11)->text().startsWith(QStringLiteral("36,998156")));
        QCOMPARE(field(12)->text(), QStringLiteral("-"));
        chooseLine(list("ComboBox4"), 0);
        QCOMPARE(field(10)->text(), QStringLiteral("00,048939"));
    }

    void resultStageFreezesTheInput() {
        click(point(), "Button1");
        for (int i = 1; i <= 7; ++i) {
            QVERIFY(field(i)->isReadOnly());
            QVERIFY(!shownWhite(*field(i)));
        }
        for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3"}) {
            QVERIFY(!list(name)->isEnabled());
            QVERIFY(!shownWhite(*list(name)));
        }
        QCOMPARE(list("ComboBox4")->count(), 2);

        click(point(), "Button4");  // "Всё заново"
        QVERIFY(compute()->isEnabled());
        QVERIFY(!extra()->isEnabled());
        QCOMPARE(field(1)->text(), QStringLiteral("0"));
        QVERIFY(!field(1)->isReadOnly());
        QCOMPARE(field(8)->text(), QStringLiteral("-"));
        QCOMPARE(list("ComboBox4")->count(), 1);
    }

    void westernAndSouthernHemispheres() {
        typePoint({"55", "45", "30", "37", "37", "0", "150"});
        chooseLine(list("ComboBox2"), 1);
        chooseLine(list("ComboBox3"), 1);
        click(point(), "Button1");
        const datumer::PointState& p = program_->state().Point;
        QVERIFY(std::fabs(p.B1 + 55.7583333333) < 1e-9);
        QVERIFY(std::fabs(p.L1 + 37.6166666667) < 1e-9);
        QVERIFY(p.B2 < 0 && p.L2 < 0);
        QCOMPARE(list("ComboBox5")->currentText(), QStringLiteral("ю.ш."));
        QCOMPARE(list("ComboBox6")->currentText(), QStringLiteral("з.д"));
        // The one sign of a southern or western result reads as black as the numbers.
        for (const char* name : {"ComboBox5", "ComboBox6"}) {
            QComboBox* hemisphere = list(name);
            QCOMPARE(hemisphere->palette().color(
                         hemisphere->isEnabled() ? QPalette::Active : QPalette::Disabled,
                         QPalette::ButtonText),
                     QColor(Qt::black));
        }
        QCOMPARE(field(8)->text(), QString::number(std::floor(-p.B2)));
        QCOMPARE(field(11)->text(), QString::number(std::floor(-p.L2)));
        chooseLine(list("ComboBox4"), 1);
        QVERIFY(!field(8)->text().startsWith(QLatin1Char('-')));
        QVERIFY(!field(11)->text().startsWith(QLatin1Char('-')));
    }

    // By keyboard: Return in a field computes, Return on the set-up screen goes on, and the
    // point screen comes back exactly where the set-up screen stood.
    void returnPressesTheMainButtons() {
        typePoint({"55", "45", "30", "37", "37", "0", "150"});
        field(7)->setFocus();
        QTest::keyClick(field(7), Qt::Key_Return);
        QVERIFY(!compute()->isEnabled());
        QVERIFY(field(8)->text() != QStringLiteral("-"));
        point().move(70, 20);
        const QRect place = point().geometry();
        click(point(), "Button5");
        QWidget& setup = program_->setupScreen();
        QVERIFY(setup.isVisible());
        QCOMPARE(setup.geometry(), place);
        control<QComboBox>(setup, "ComboBox1")->setFocus();
        QTest::keyClick(control<QComboBox>(setup, "ComboBox1"), Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(point().isVisible());
        QCOMPARE(point().geometry(), place);
    }

    // "Копировать" of the result group: both points as shown, the sheet names and the shifts.
    void copyPutsTheWholeResultOnTheClipboard() {
        typePoint({"55", "45", "30", "37", "37", "0", "150"});
        chooseLine(list("ComboBox3"), 1);
        QWidget* target = control<QWidget>(point(), "GroupBox2");
        QCOMPARE(target->actions().size(), 1);
        target->actions()[0]->trigger();
        // Before "ПЕРЕСЧЁТ": the two points only.
        QCOMPARE(QApplication::clipboard()->text().count(QLatin1Char('\n')), 8);
        click(point(), "Button1");
        target->actions()[0]->trigger();
        const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 8 + 10 + 3 + 1);
        QCOMPARE(lines[1], QStringLiteral("B : 55° 45' %1\" с.ш.").arg(field(3)->text()));
        QCOMPARE(lines[2], QStringLiteral("L : 37° 37' %1\" з.д.").arg(field(6)->text()));
        QCOMPARE(lines[3], QStringLiteral("H : %1 м").arg(field(7)->text()));
        QCOMPARE(lines[5], QStringLiteral("B : %1° %2' %3\" %4")
                               .arg(field(8)->text(), field(9)->text(), field(10)->text(),
                                    list("ComboBox5")->currentText()));
        QCOMPARE(lines[7], QStringLiteral("H : %1 м").arg(field(14)->text()));
        QCOMPARE(lines[8], QStringLiteral("Номенклатура листа топокарты для точки в исходной СК"));
        QVERIFY2(lines[9].startsWith(QStringLiteral("1:1 000 000  : ")) && lines[9].size() > 16,
                 qPrintable(lines[9]));
        QVERIFY2(lines[18].startsWith(QStringLiteral("dX (м)")), qPrintable(lines[18]));
        QCOMPARE(lines.last(), QString());
    }

    void extraDialogShowsTheLastPoint() {
        typePoint({"55", "00", "00", "37", "00", "00", "0"});
        click(point(), "Button1");
        QStringList sheets;
        QStringList shifts;
        QString caption;
        whenModalOpens([&](QWidget& dialog) {
            caption = dialog.windowTitle();
            for (const char* side : {"Source", "Target"})
                for (int i = 1; i <= 4; ++i)
                    sheets << control<QLabel>(dialog, qPrintable(QStringLiteral("Label_%1Sheet%2")
                                                                     .arg(QLatin1String(side))
                                                                     .arg(i)))
                                  ->text();
            for (int i = 1; i <= 3; ++i)
                shifts << control<QLabel>(dialog,
                                          qPrintable(QStringLiteral("Label_Shift%1").arg(i)))
                              ->text();
            click(dialog, "Button1");
        });
        click(point(), "Button2");
        QVERIFY(!program_->extraDialog().isVisible());
        QCOMPARE(caption, QStringLiteral("Дополнительные параметры"));
        QCOMPARE(sheets.size(), 8);
        QCOMPARE(sheets[0], QStringLiteral("N-37"));
        QCOMPARE(sheets[4], QStringLiteral("N-37"));
        const datumer::DatumerState& state = program_->state();
        QCOMPARE(sheets[3], QString::fromStdString(state.SourceNom.Sheet10k));
        QCOMPARE(sheets[7], QString::fromStdString(state.TargetNom.Sheet10k));
        // Longitude 36.998° lies west of 37°: the target sheets differ from the source ones.
        QVERIFY(sheets[3] != sheets[7]);
        QCOMPARE(shifts,
                 (QStringList{commaFixed(state.PointShift.dX), commaFixed(state.PointShift.dY),
                              commaFixed(state.PointShift.dZ)}));
        QVERIFY(shifts[0].startsWith(QStringLiteral("23,62")));
        QVERIFY(shifts[1].startsWith(QStringLiteral("-129,89")));
        QVERIFY(shifts[2].startsWith(QStringLiteral("-86,49")));
    }

    void anotherPresetAfterBackIsUsed() {
        typePoint({"55", "00", "00", "37", "00", "00", "0"});
        click(point(), "Button1");
        const double firstB2 = program_->state().Point.B2;
        click(point(), "Button5");  // "Назад"
        goToPointScreen(1);         // WGS84 => СК42
        QCOMPARE(control<QGroupBox>(point(), "GroupBox1")->title(),
                 QStringLiteral(" КООРДИНАТЫ ТОЧКИ В ИСХОДНОЙ СК (WGS84) "));
        QCOMPARE(field(8)->text(), QStringLiteral("-"));  // input stage again
        typePoint({"55", "00", "00", "37", "00", "00", "0"});
        click(point(), "Button1");
        // The inverse preset moves the point the other way.
        QVERIFY(program_->state().Point.B2 < 55.0 && firstB2 > 55.0);
    }
};

QTEST_MAIN(DatumerPointTest)
#include "datumer_point_test.moc"
