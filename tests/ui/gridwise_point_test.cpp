// The point screen driven by key and mouse events: 55° N 37° E to x, y and back, the range
// checks of "РАСЧЁТ", the two angle formats, the false-easting check without zone numbers, the
// southern hemisphere after x,y -> B,L, and the convergence and area-distortion texts at points
// found with the core's own projection.

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <cmath>

#include "gridwise/rules/point_rules.hpp"
#include "gridwise_test_support.hpp"

using namespace gridwise_test;

class PointScreenTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Windows> w_;
    QWidget& setup() { return w_->setup(); }
    QWidget& point() { return w_->point(); }

    // From the set-up screen to the point screen, optionally in the direction x,y -> B,L.
    void enter(bool fromPlane = false) {
        if (fromPlane) choose(setup(), "DirectionList", 1);
        click(setup(), "NextButton");
        QVERIFY(point().isVisible());
    }
    void typeDms(const char* b, const char* bm, const char* bs, const char* l, const char* lm,
                 const char* ls) {
        const char* names[] = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"};
        const char* values[] = {b, bm, bs, l, lm, ls};
        for (int i = 0; i < 6; ++i) type(point(), names[i], QString::fromUtf8(values[i]));
    }
    void compute() { click(point(), "Button4"); }
    double number(const char* name) {
        bool ok = false;
        const double value = QLocale::system().toDouble(text(point(), name), &ok);
        if (!ok) qFatal("%s does not hold a number", name);
        return value;
    }
    // Latitude of the fields in degrees-minutes-seconds.
    double dmsLatitude() {
        return number("Edit1") + number("Edit2") / 60.0 + number("Edit3") / 3600.0;
    }

    // L at latitude B where `value` of the core's result reaches `target` (value rising in L).
    double findLongitude(double B, double low, double high, double target,
                         double gridwise::PointResult::*value) {
        for (int i = 0; i < 200; ++i) {
            const double mid = (low + high) / 2;
            const gridwise::PointResult r = gridwise::ComputeToPlane(w_->state, {B, mid});
            (r.*value < target ? low : high) = mid;
        }
        return high;
    }

  private slots:
    void init() { w_ = std::make_unique<Windows>(); }
    void cleanup() { w_.reset(); }

    // By keyboard alone: Return on the set-up screen goes on, Return and keypad Enter in a field
    // compute; on a focused button Return presses that button.
    void returnAndEnterPressTheMainButtons() {
        auto* systems = find<QComboBox>(setup(), "SystemList");
        systems->setFocus();
        QTest::keyClick(systems, Qt::Key_Return);
        QVERIFY(point().isVisible());
        type(point(), "Edit1", QStringLiteral("55"));
        type(point(), "Edit4", QStringLiteral("37"));
        find<QLineEdit>(point(), "Edit4")->setFocus();
        QTest::keyClick(find<QLineEdit>(point(), "Edit4"), Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(text(point(), "Edit7").startsWith(QStringLiteral("6099")));  // 55° N 37° E
        // "РАСЧЁТ" is now disabled: Return does nothing more.
        QVERIFY(!find<QPushButton>(point(), "Button4")->isEnabled());
        QTest::keyClick(find<QLineEdit>(point(), "Edit4"), Qt::Key_Return);
        QVERIFY(point().isVisible());
        auto* back = find<QPushButton>(point(), "Button2");
        back->setFocus();
        QTest::keyClick(back, Qt::Key_Return);
        QVERIFY(setup().isVisible());
        QVERIFY(!point().isVisible());
    }

    // Ctrl+C in a result field without a selection, and the context menu entry of a group, copy
    // the whole result as shown.
    void copyPutsTheWholeResultOnTheClipboard() {
        enter();
        typeDms("55", "30", "10", "37", "15", "5");
        compute();
        QApplication::clipboard()->clear();
        point().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&point()));
        auto* x = find<QLineEdit>(point(), "Edit7");
        x->setFocus();
        QTest::keyClick(x, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 14);  // 13 lines and the final line end
        QCOMPARE(lines[0], QStringLiteral("Геодезические координаты - в плоские прямоугольные"));
        QCOMPARE(lines[1], QStringLiteral("B : 55° 30' %1\" с.ш.").arg(text(point(), "Edit3")));
        QCOMPARE(lines[3], QStringLiteral("x : %1 м").arg(text(point(), "Edit7")));
        QCOMPARE(lines[4], QStringLiteral("y : %1 м").arg(text(point(), "Edit8")));
        QCOMPARE(lines[5], QStringLiteral("1:1 000 000  : ") + text(point(), "Label16"));
        QCOMPARE(lines[12], QStringLiteral("Иск. площади  : ") + text(point(), "Label30"));
        QVERIFY(!text(point(), "Label16").isEmpty() && text(point(), "Label16") != "-");

        QApplication::clipboard()->clear();
        QWidget* sheets = find<QWidget>(point(), "GroupBox3");
        QCOMPARE(sheets->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(sheets->actions().size(), 1);
        QCOMPARE(sheets->actions()[0]->text(), QStringLiteral("Копировать"));
        sheets->actions()[0]->trigger();
        QCOMPARE(QApplication::clipboard()->text().split(QLatin1Char('\n')), lines);
    }

    // The two screens take turns in one place, however the point screen was moved.
    void screensKeepOnePlace() {
        setup().move(40, 30);
        click(setup(), "NextButton");
        QCOMPARE(point().geometry(), setup().geometry());
        point().move(90, 10);
        const QRect moved = point().geometry();
        click(point(), "Button2");
        QCOMPARE(setup().geometry(), moved);
    }

    void startsEmpty() {
        enter();
        QCOMPARE(point().objectName(), QStringLiteral("TForm2"));
        QCOMPARE(text(point(), "Label9"),
                 QStringLiteral("Геодезические координаты - в плоские прямоугольные"));
        QCOMPARE(text(point(), "Edit1"), QStringLiteral("0"));
        QCOMPARE(text(point(), "Edit2"), QStringLiteral("00"));
        QCOMPARE(text(point(), "Edit3"), local("00.000000"));
        QCOMPARE(text(point(), "Edit7"), QStringLiteral("-"));
        QVERIFY(shownGrey(point(), "Edit7"));
        QVERIFY(!shownGrey(point(), "Edit1"));
        QVERIFY(!shownRed(point(), "Edit7"));
        QCOMPARE(items(point(), "ComboBox2"), (QStringList{"с.ш.", "ю.ш."}));
        QCOMPARE(items(point(), "ComboBox3"), (QStringList{"в.д.", "з.д."}));
        QCOMPARE(text(point(), "Label16"), QStringLiteral("-"));
        QVERIFY(find<QPushButton>(point(), "Button4")->isEnabled());
    }

    void moscowToPlaneAndBack() {
        enter();
        typeDms("55", "0", "0", "37", "0", "0");
        compute();
        QVERIFY(w_->dialogs.messages.empty());
        QVERIFY(!find<QPushButton>(point(), "Button4")->isEnabled());
        QVERIFY(shownGrey(point(), "Edit1"));
        QVERIFY(!find<QComboBox>(point(), "ComboBox2")->isEnabled());
        const QString x = text(point(), "Edit7");
        const QString y = text(point(), "Edit8");
        QVERIFY(!shownRed(point(), "Edit7"));
        // Zone 7 (central meridian 39°), 2° west of it. The Gauss-Krueger series to the fourth
        // power of l, worked by hand on Krasovsky's ellipsoid, give x 6 099 167.2 m and
        // y 7 372 018.4 m.
        QVERIFY2(std::abs(number("Edit7") - 6099167.2) < 0.5, qPrintable(x));
        QVERIFY2(std::abs(number("Edit8") - 7372018.4) < 0.5, qPrintable(y));
        QCOMPARE(text(point(), "Label16"), QStringLiteral("N-37"));
        QVERIFY(text(point(), "Label28").endsWith(QStringLiteral(" мм/км2")));
        QVERIFY(text(point(), "Label30").endsWith(QStringLiteral(" ‰")));

        click(point(), "Button2");
        enter(true);
        QCOMPARE(text(point(), "Label9"),
                 QStringLiteral("Плоские прямоугольные координаты - в геодезические"));
        QCOMPARE(text(point(), "Edit7"), QStringLiteral("0"));
        type(point(), "Edit7", x);
        type(point(), "Edit8", y);
        compute();
        QVERIFY(w_->dialogs.messages.empty());
        QCOMPARE(items(point(), "ComboBox2"), QStringList{"с.ш."});
        QCOMPARE(items(point(), "ComboBox3"), QStringList{"в.д."});
        QVERIFY(std::abs(dmsLatitude() - 55.0) < 1e-6);
        choose(point(), "ComboBox1", 1);
        QVERIFY(std::abs(number("Edit1") - 55.0) < 1e-8);
        QVERIFY(std::abs(number("Edit4") - 37.0) < 1e-8);
        QCOMPARE(text(point(), "Label16"), QStringLiteral("N-37"));
    }

    void rangeChecksOfCompute_data() {
        QTest::addColumn<QStringList>("fields");  // Edit1..Edit6
        QTest::addColumn<QString>("message");
        QTest::newRow("minutes 75") << QStringList{"10", "75", "0", "37", "0", "0"}
                                    << "Значение минут по широте должно быть от 0 до 59  ";
        QTest::newRow("degrees 91") << QStringList{"91", "75", "0", "37", "0", "0"}
                                    << "Значение широты должно быть от 0 до 90  ";
        QTest::newRow("seconds 60") << QStringList{"10", "0", "60", "37", "0", "0"}
                                    << "Значение секунд по широте должно быть менее 60  ";
        QTest::newRow("seconds 59.999999")
            << QStringList{"10", "0", "59.999999", "37", "0", "0"} << QString();
        QTest::newRow("longitude 181") << QStringList{"10", "0", "0", "181", "0", "0"}
                                       << "Значение долготы должно быть от 0 до 180  ";
    }
    void rangeChecksOfCompute() {
        QFETCH(QStringList, fields);
        QFETCH(QString, message);
        enter();
        const char* names[] = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"};
        for (int i = 0; i < 6; ++i) type(point(), names[i], fields[i]);
        compute();
        QCOMPARE(w_->lastWarning(), message);
        if (!message.isEmpty()) {
            QCOMPARE(w_->dialogs.messages.back().caption, QStringLiteral("Некорректные данные"));
            QVERIFY(find<QPushButton>(point(), "Button4")->isEnabled());
            QCOMPARE(text(point(), "Edit7"), QStringLiteral("-"));
        } else {
            QVERIFY(!find<QPushButton>(point(), "Button4")->isEnabled());
        }
    }

    void decimalFormatTakesCommaAndPointButNoSign() {
        enter();
        choose(point(), "ComboBox1", 1);
        QCOMPARE(text(point(), "Edit2"), QStringLiteral("-"));
        QVERIFY(shownGrey(point(), "Edit2"));
        for (const char* latitude : {"55,75", "55.75"}) {
            type(point(), "Edit1", QString::fromLatin1(latitude));
            QVERIFY(!shownRed(point(), "Edit1"));
            QCOMPARE(w_->state.Point.PointB.Value, 55.75);
        }
        type(point(), "Edit1", QStringLiteral("-5"));
        QVERIFY(shownRed(point(), "Edit1"));
        QVERIFY(!find<QPushButton>(point(), "Button4")->isEnabled());
        type(point(), "Edit1", QStringLiteral("5"));
        QVERIFY(find<QPushButton>(point(), "Button4")->isEnabled());
    }

    void formatSwitchBeforeComputeResetsTheAngles() {
        enter();
        typeDms("55", "30", "10", "37", "15", "5");
        choose(point(), "ComboBox2", 1);
        choose(point(), "ComboBox3", 1);
        choose(point(), "ComboBox1", 1);
        QCOMPARE(text(point(), "Edit1"), local("0.0000000000"));
        QCOMPARE(text(point(), "Edit4"), local("0.0000000000"));
        QCOMPARE(text(point(), "ComboBox2"), QStringLiteral("с.ш."));
        QCOMPARE(text(point(), "ComboBox3"), QStringLiteral("в.д."));
        choose(point(), "ComboBox1", 0);
        QCOMPARE(text(point(), "Edit2"), QStringLiteral("00"));
        QVERIFY(!shownGrey(point(), "Edit2"));
    }

    void falseEastingDifferenceWithoutZoneNumbers_data() {
        QTest::addColumn<QString>("ordinate");
        QTest::addColumn<QString>("message");
        const QString beyond =
            QStringLiteral("Разность ординаты и False Easting должна быть менее 500 км  ");
        QTest::newRow("499 999.9 off") << "999999.9" << QString();
        // Its millions would be taken for a zone and dropped.
        QTest::newRow("999 999.9 off") << "1499999.9" << beyond;
        QTest::newRow("-500 000 off") << "0" << beyond;
    }
    void falseEastingDifferenceWithoutZoneNumbers() {
        QFETCH(QString, ordinate);
        QFETCH(QString, message);
        choose(setup(), "DirectionList", 1);
        clickBox(setup(), "ZoneCheckBox");
        QVERIFY(!w_->state.Work.AddZoneNumber);
        enter();
        type(point(), "Edit7", QStringLiteral("6000000"));
        type(point(), "Edit8", ordinate);
        compute();
        QCOMPARE(w_->lastWarning(), message);
        if (message.isEmpty()) {
            // Without a zone the longitude is relative: no sheet names.
            QCOMPARE(text(point(), "Label16"), QStringLiteral("Зона неизвестна!"));
            QCOMPARE(text(point(), "Label18"), QStringLiteral("-"));
        }
    }

    void southernResultKeepsItsHemisphereInBothFormats() {
        enter(true);
        type(point(), "Edit7", QStringLiteral("-3000000"));
        type(point(), "Edit8", QStringLiteral("7400000"));
        compute();
        QVERIFY(w_->dialogs.messages.empty());
        QCOMPARE(items(point(), "ComboBox2"), QStringList{"ю.ш."});
        QVERIFY(!find<QComboBox>(point(), "ComboBox2")->isEnabled());
        const QStringList dms{text(point(), "Edit1"), text(point(), "Edit2"),
                              text(point(), "Edit3")};
        const double fromDms = dmsLatitude();
        QVERIFY(fromDms > 20 && fromDms < 35);

        choose(point(), "ComboBox1", 1);
        QCOMPARE(text(point(), "ComboBox2"), QStringLiteral("ю.ш."));
        QCOMPARE(text(point(), "Edit2"), QStringLiteral("-"));
        QVERIFY(std::abs(number("Edit1") - fromDms) < 1e-6 / 3600 + 1e-10);
        QVERIFY(!find<QPushButton>(point(), "Button4")->isEnabled());

        choose(point(), "ComboBox1", 0);
        QCOMPARE(
            (QStringList{text(point(), "Edit1"), text(point(), "Edit2"), text(point(), "Edit3")}),
            dms);
        QCOMPARE(text(point(), "ComboBox2"), QStringLiteral("ю.ш."));
        QVERIFY(!find<QPushButton>(point(), "Button4")->isEnabled());
    }

    void convergenceAndAreaDistortionTexts() {
        enter();
        // A point whose convergence is just beyond -0.5°, and one whose scale is just above
        // 1.0004, both found with the projection the screen calls.
        const double westL =
            findLongitude(55.0, 36.1, 39.0, -0.5 - 1e-9, &gridwise::PointResult::Convergence);
        const double eastL =
            findLongitude(55.0, 39.0, 41.9, 1.0004 + 1e-11, &gridwise::PointResult::LengthScale);
        choose(point(), "ComboBox1", 1);
        type(point(), "Edit1", QStringLiteral("55"));
        type(point(), "Edit4", QString::number(westL, 'f', 12));
        compute();
        QCOMPARE(text(point(), "Label26"), QStringLiteral("-0° 30' 00,00\""));

        click(point(), "Button1");  // "Всё заново"
        QCOMPARE(text(point(), "Label26"), QStringLiteral("-"));
        choose(point(), "ComboBox1", 1);
        type(point(), "Edit1", QStringLiteral("55"));
        type(point(), "Edit4", QString::number(eastL, 'f', 12));
        compute();
        QCOMPARE(text(point(), "Label24"), QStringLiteral("1,000400"));
        QCOMPARE(text(point(), "Label30"), QStringLiteral("0,800160 ‰"));
    }

    void startAgainAndShowingReset() {
        enter();
        typeDms("55", "0", "0", "37", "0", "0");
        compute();
        click(point(), "Button1");
        QCOMPARE(text(point(), "Edit1"), QStringLiteral("0"));
        QCOMPARE(text(point(), "Edit7"), QStringLiteral("-"));
        QVERIFY(find<QPushButton>(point(), "Button4")->isEnabled());
        QVERIFY(!shownGrey(point(), "Edit1"));
        QVERIFY(find<QComboBox>(point(), "ComboBox1")->isEnabled());
    }

    void exitEndsTheProgramWindows() {
        enter();
        click(point(), "Button3");
        QVERIFY(!point().isVisible());
        QVERIFY(!setup().isVisible());
    }
};

// The screens write numbers with the system's decimal separator: run with a Russian one.
int main(int argc, char** argv) {
    qputenv("LC_ALL", "ru_RU.UTF-8");
    QApplication app(argc, argv);
    PointScreenTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "gridwise_point_test.moc"
