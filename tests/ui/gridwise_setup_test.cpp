// The set-up screen driven by key and mouse events: start state, UTM forcing system 1, the SK63
// zone list and check box, the false-origin and meridian checks of "Далее", colours of
// editable, read-only and invalid fields, and the way to the point screen and back.

#include <QCheckBox>
#include <QLabel>

#include "gridwise_test_support.hpp"

using namespace gridwise_test;

class SetupScreenTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Windows> w_;
    QWidget& setup() { return w_->setup(); }

    // The system at list position `index` (0-based) in the current projection.
    void chooseSystem(int index) { choose(setup(), "SystemList", index); }
    void chooseSk63() { chooseSystem(3); }

  private slots:
    void init() { w_ = std::make_unique<Windows>(); }
    void cleanup() { w_.reset(); }

    void startState() {
        QCOMPARE(setup().objectName(), QStringLiteral("TForm1"));
        QCOMPARE(setup().windowTitle(), QStringLiteral(" Расчёт плоских прямоугольных координат"));
        QCOMPARE(
            text(setup(), "DirectionList"),
            QStringLiteral("Геодезические координаты (B, L) - в плоские прямоугольные (x, y)"));
        QCOMPARE(text(setup(), "ProjectionList"),
                 QStringLiteral("Гаусса-Крюгера:  k=1, нумерация зон (кроме СК63) от 0°"));
        QCOMPARE(text(setup(), "SystemList"), QStringLiteral("СК42/СК95 - шестиградусные зоны"));
        QCOMPARE(items(setup(), "SystemList").size(), 5);
        QCOMPARE(items(setup(), "ZoneList"),
                 (QStringList{"Расчёт для текущей зоны", "Расчёт для левой зоны",
                              "Расчёт для правой зоны"}));
        QCOMPARE(text(setup(), "AlgorithmList"), QStringLiteral("Алгоритм: 3-членный ряд"));
        auto* zoneBox = find<QCheckBox>(setup(), "ZoneCheckBox");
        QVERIFY(zoneBox->isChecked());
        QCOMPARE(zoneBox->text(), QStringLiteral("Добавлять номер зоны к ординате"));
        QCOMPARE(text(setup(), "FalseNorthingEdit"), QStringLiteral("0"));
        QVERIFY(shownGrey(setup(), "FalseNorthingEdit"));
        QCOMPARE(items(setup(), "FalseEastingList"), QStringList{"500000"});
        QVERIFY(!find<QComboBox>(setup(), "FalseEastingList")->isEnabled());
        QCOMPARE(text(setup(), "EllipsoidNameLabel"), QStringLiteral("Красовского-1940"));
        QCOMPARE(text(setup(), "SemiMajorAxisEdit"), QStringLiteral("6378245"));
        QCOMPARE(text(setup(), "InvFlatteningEdit"), local("298.3"));
        QVERIFY(shownGrey(setup(), "SemiMajorAxisEdit"));
        for (const char* name :
             {"MeridianDegreesEdit", "MeridianMinutesEdit", "MeridianSecondsEdit"})
            QCOMPARE(text(setup(), name), QStringLiteral("-"));
        QCOMPARE(items(setup(), "Sk63ZoneList"), QStringList{"-"});
        QCOMPARE(items(setup(), "HemisphereList"), QStringList{"-"});
        QCOMPARE(text(setup(), "VersionLabel"), QStringLiteral("ver 0.97"));
        QVERIFY(find<QPushButton>(setup(), "NextButton")->isEnabled());
        QVERIFY(find<QPushButton>(setup(), "NextButton")->font().bold());
    }

    void utmWhileSk63ForcesSystemOne() {
        chooseSk63();
        choose(setup(), "DirectionList", 1);
        QCOMPARE(w_->state.CurrentSystem, gridwise::kSystemSk63);
        choose(setup(), "ProjectionList", 1);
        QCOMPARE(w_->state.CurrentSystem, gridwise::kSystemSk42);
        QVERIFY(w_->state.DirectionToPlane);
        QVERIFY(w_->state.Work.Utm);
        QVERIFY(!w_->state.Work.UserMeridian);
        QCOMPARE(text(setup(), "SystemList"), QStringLiteral("СК42/СК95 - шестиградусные зоны"));
        QCOMPARE(find<QComboBox>(setup(), "DirectionList")->currentIndex(), 0);
        const QStringList systems = items(setup(), "SystemList");
        QCOMPARE(systems.size(), 4);
        QVERIFY(!systems.join(QLatin1Char('|')).contains(QStringLiteral("СК63")));
        // Back to Gauss-Krueger: all five again, the choice kept.
        choose(setup(), "ProjectionList", 0);
        QCOMPARE(items(setup(), "SystemList").size(), 5);
        QCOMPARE(text(setup(), "SystemList"), QStringLiteral("СК42/СК95 - шестиградусные зоны"));
    }

    void utmKeepsAnAllowedSystem() {
        chooseSystem(1);  // WGS84
        choose(setup(), "ProjectionList", 1);
        QCOMPARE(w_->state.CurrentSystem, gridwise::kSystemWgs84);
        QCOMPARE(text(setup(), "SystemList"), QStringLiteral("WGS84 - шестиградусные зоны"));
    }

    void sk63ZoneListFollowsTheCheckBox() {
        chooseSk63();
        const QStringList zones = items(setup(), "Sk63ZoneList");
        QCOMPARE(zones.size(), 20);
        QCOMPARE(zones.front(), QStringLiteral("1"));
        QCOMPARE(zones.back(), QStringLiteral("20"));
        QCOMPARE(w_->state.Work.Sk63Zone, 1);
        choose(setup(), "Sk63ZoneList", 6);
        QCOMPARE(w_->state.Work.Sk63Zone, 7);

        auto* zoneBox = find<QCheckBox>(setup(), "ZoneCheckBox");
        clickBox(setup(), "ZoneCheckBox");
        QVERIFY(!zoneBox->isChecked());
        QCOMPARE(items(setup(), "Sk63ZoneList"), QStringList{"-"});
        QVERIFY(!find<QComboBox>(setup(), "Sk63ZoneList")->isEnabled());
        QVERIFY(shownGrey(setup(), "Sk63ZoneList"));
        QCOMPARE(w_->state.Work.Sk63Zone, 0);
        QVERIFY(!w_->state.Work.AddZoneNumber);

        clickBox(setup(), "ZoneCheckBox");
        QCOMPARE(items(setup(), "Sk63ZoneList").size(), 20);
        QCOMPARE(text(setup(), "Sk63ZoneList"), QStringLiteral("1"));
        QCOMPARE(w_->state.Work.Sk63Zone, 1);
        QVERIFY(!shownGrey(setup(), "Sk63ZoneList"));
    }

    void sk63FromPlaneAlwaysAddsTheMeridian() {
        chooseSk63();
        choose(setup(), "DirectionList", 1);
        auto* zoneBox = find<QCheckBox>(setup(), "ZoneCheckBox");
        QVERIFY(!zoneBox->isEnabled());
        QVERIFY(zoneBox->isChecked());
        QCOMPARE(zoneBox->text(), QStringLiteral("Добавлять долготу центр. меридиана"));
        QCOMPARE(items(setup(), "Sk63ZoneList"), QStringList{"-"});
        QCOMPARE(items(setup(), "ZoneList"), QStringList{"Расчёт для текущей зоны"});
    }

    void falseOriginBounds_data() {
        QTest::addColumn<QString>("easting");
        QTest::addColumn<QString>("northing");
        QTest::addColumn<QString>("message");  // empty: "Далее" passes
        const QString easting =
            QStringLiteral("Параметр False Easting должен быть в пределах от 0 до +1000 км");
        const QString northing =
            QStringLiteral("Параметр False Northing должен быть в пределах от -10 000 до +1000 км");
        QTest::newRow("easting 1 000 000") << "1000000"
                                           << "0" << easting;
        QTest::newRow("easting 999 999,9") << "999999,9"
                                           << "0" << QString();
        QTest::newRow("easting below 0") << "-1"
                                         << "0" << easting;
        QTest::newRow("northing 1 000 000") << "500000"
                                            << "1000000" << QString();
        QTest::newRow("northing above") << "500000"
                                        << "1000000.5" << northing;
        QTest::newRow("northing -10 000 000") << "500000"
                                              << "-10000000" << QString();
        QTest::newRow("northing below") << "500000"
                                        << "-10000001" << northing;
    }
    void falseOriginBounds() {
        QFETCH(QString, easting);
        QFETCH(QString, northing);
        QFETCH(QString, message);
        chooseSystem(4);  // user parameters: the false origin is editable
        QVERIFY(!shownGrey(setup(), "FalseNorthingEdit"));
        QCOMPARE(items(setup(), "FalseEastingList").size(), 6);
        type(setup(), "FalseEastingList", easting);
        type(setup(), "FalseNorthingEdit", northing);
        click(setup(), "NextButton");
        if (message.isEmpty()) {
            QVERIFY(w_->dialogs.messages.empty());
            QVERIFY(w_->point().isVisible());
            QVERIFY(!setup().isVisible());
        } else {
            QCOMPARE(w_->dialogs.messages.size(), std::size_t{1});
            QCOMPARE(w_->dialogs.messages[0].caption, QStringLiteral("Некорректные данные"));
            QCOMPARE(w_->lastWarning(), message);
            QVERIFY(setup().isVisible());
            QVERIFY(!w_->point().isVisible());
        }
    }

    void meridianChecks_data() {
        QTest::addColumn<QString>("degrees");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("message");
        const QString minutes =
            QStringLiteral("Минуты (долгота центрального меридиана) должны быть в пределах 0-59 '");
        const QString meridian = QStringLiteral(
            "Долгота центрального меридиана зоны СК63 должна быть в пределах 0-180°\n\r"
            "западной или восточной долготы");
        QTest::newRow("minutes 60") << "37"
                                    << "60" << minutes;
        QTest::newRow("minutes 59") << "37"
                                    << "59" << QString();
        QTest::newRow("degrees 181") << "181"
                                     << "0" << meridian;
        QTest::newRow("180 30") << "180"
                                << "30" << meridian;
        QTest::newRow("180 0") << "180"
                               << "0" << QString();
    }
    void meridianChecks() {
        QFETCH(QString, degrees);
        QFETCH(QString, minutes);
        QFETCH(QString, message);
        chooseSk63();
        type(setup(), "MeridianDegreesEdit", degrees);
        type(setup(), "MeridianMinutesEdit", minutes);
        click(setup(), "NextButton");
        QCOMPARE(w_->lastWarning(), message);
        QCOMPARE(w_->point().isVisible(), message.isEmpty());
    }

    void unparsableTextIsRedAndDisablesNext() {
        chooseSk63();
        type(setup(), "MeridianMinutesEdit", QStringLiteral("-5"));
        QVERIFY(shownRed(setup(), "MeridianMinutesEdit"));
        QVERIFY(!find<QPushButton>(setup(), "NextButton")->isEnabled());
        type(setup(), "MeridianMinutesEdit", QStringLiteral("5"));
        QVERIFY(!shownRed(setup(), "MeridianMinutesEdit"));
        QVERIFY(find<QPushButton>(setup(), "NextButton")->isEnabled());
    }

    void semiMajorAxisTakesCommaOrPoint() {
        chooseSystem(4);
        QCOMPARE(text(setup(), "EllipsoidNameLabel"), QStringLiteral("пользовательский"));
        for (const char* axis : {"6378137,0", "6378137.0"}) {
            type(setup(), "SemiMajorAxisEdit", QString::fromLatin1(axis));
            QVERIFY(!shownRed(setup(), "SemiMajorAxisEdit"));
            QCOMPARE(w_->state.Work.Ell.A, 6378137.0);
        }
        type(setup(), "SemiMajorAxisEdit", QStringLiteral("6378137,0,1"));
        QVERIFY(shownRed(setup(), "SemiMajorAxisEdit"));
        QCOMPARE(w_->state.Work.Ell.A, 6378137.0);  // the last valid value stays
        QVERIFY(!find<QPushButton>(setup(), "NextButton")->isEnabled());
        // Choosing a system again discards the edit.
        chooseSystem(0);
        chooseSystem(4);
        QCOMPARE(text(setup(), "SemiMajorAxisEdit"), QStringLiteral("6378245"));
        QVERIFY(find<QPushButton>(setup(), "NextButton")->isEnabled());
    }

    void readOnlyFieldsTakeNoTyping() {
        type(setup(), "FalseNorthingEdit", QStringLiteral("123"));
        QCOMPARE(text(setup(), "FalseNorthingEdit"), QStringLiteral("0"));
        QCOMPARE(w_->state.Work.FalseNorthing, 0.0);
    }

    void pointScreenTakesThePlaceAndBackKeepsTheChoices() {
        chooseSk63();
        type(setup(), "MeridianDegreesEdit", QStringLiteral("38"));
        type(setup(), "MeridianMinutesEdit", QStringLiteral("30"));
        choose(setup(), "HemisphereList", 1);
        setup().move(40, 30);
        click(setup(), "NextButton");
        QWidget& point = w_->point();
        QVERIFY(point.isVisible());
        QCOMPARE(point.pos(), setup().pos());
        QCOMPARE(point.size(), setup().size());
        QCOMPARE(point.windowTitle(), setup().windowTitle());
        QCOMPARE(w_->state.Work.CentralMeridian, -38.5);

        click(point, "Button2");  // "Назад"
        QVERIFY(setup().isVisible());
        QVERIFY(!point.isVisible());
        QCOMPARE(text(setup(), "SystemList"),
                 QStringLiteral("СК63 - трёхградусные/шестиградусные зоны"));
        QCOMPARE(text(setup(), "MeridianDegreesEdit"), QStringLiteral("38"));
        QCOMPARE(text(setup(), "HemisphereList"), QStringLiteral("з.д."));
        click(setup(), "NextButton");
        QCOMPARE(w_->state.Work.CentralMeridian, -38.5);
    }

    void startAgainRestoresTheStartState() {
        chooseSystem(4);
        choose(setup(), "DirectionList", 1);
        choose(setup(), "AlgorithmList", 1);
        QCOMPARE(w_->state.Algorithm, 1);
        click(setup(), "ResetButton");
        QCOMPARE(w_->state.CurrentSystem, 1);
        QVERIFY(w_->state.DirectionToPlane);
        QCOMPARE(w_->state.Algorithm, 0);
        QCOMPARE(text(setup(), "SystemList"), QStringLiteral("СК42/СК95 - шестиградусные зоны"));
        QCOMPARE(text(setup(), "AlgorithmList"), QStringLiteral("Алгоритм: 3-членный ряд"));
        QCOMPARE(find<QComboBox>(setup(), "DirectionList")->currentIndex(), 0);
    }

    void showingResetsTheSeries() {
        choose(setup(), "AlgorithmList", 1);
        setup().hide();
        setup().show();
        QCOMPARE(w_->state.Algorithm, 0);
        QCOMPARE(text(setup(), "AlgorithmList"), QStringLiteral("Алгоритм: 3-членный ряд"));
    }
};

QTEST_MAIN(SetupScreenTest)
#include "gridwise_setup_test.moc"
