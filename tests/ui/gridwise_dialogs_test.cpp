// The five option dialogs driven by key and mouse events: defaults on every show, the limits of
// the shift and height edits, the zone written on any close, the precision lists and which of
// them the direction enables, and OK after unchecking the height box following a bad entry.

#include <QCheckBox>

#include "gridwise/ui/option_dialogs.hpp"
#include "gridwise_test_support.hpp"

using namespace gridwise_test;

class OptionDialogsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Windows> w_;
    gridwise::GridwiseState& state() { return w_->state; }

    void show(QDialog& dialog) {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    }
    bool okEnabled(QWidget& dialog) { return find<QPushButton>(dialog, "OkButton")->isEnabled(); }

  private slots:
    void init() { w_ = std::make_unique<Windows>(); }
    void cleanup() { w_.reset(); }

    // Return in a dialog is OK, Escape is its cancel.
    void returnConfirmsEscapeCancels() {
        show(w_->windows->mapShift());
        type(w_->windows->mapShift(), "ShiftNorthEdit", QStringLiteral("12"));
        state().OptionsConfirmed = false;
        auto* north = find<QLineEdit>(w_->windows->mapShift(), "ShiftNorthEdit");
        north->setFocus();
        QTest::keyClick(north, Qt::Key_Return);
        QVERIFY(state().OptionsConfirmed);
        QVERIFY(!w_->windows->mapShift().isVisible());
        QCOMPARE(state().ShiftNorth, 12.0);

        show(w_->windows->nomenclature());
        state().OptionsConfirmed = false;
        QTest::keyClick(&w_->windows->nomenclature(), Qt::Key_Escape);
        QVERIFY(!state().OptionsConfirmed);
        QVERIFY(!w_->windows->nomenclature().isVisible());
        show(w_->windows->fullPrecision());
        auto* decimals = find<QComboBox>(w_->windows->fullPrecision(), "PlaneDecimalsList");
        decimals->setFocus();
        QTest::keyClick(decimals, Qt::Key_Return);
        QVERIFY(state().OptionsConfirmed);
    }

    void captionsAndNames() {
        QCOMPARE(w_->windows->extraParams().objectName(), QStringLiteral("TForm4"));
        QCOMPARE(w_->windows->extraParams().windowTitle(),
                 QStringLiteral(" Дополнительные параметры"));
        QCOMPARE(w_->windows->nomenclature().objectName(), QStringLiteral("TForm5"));
        QCOMPARE(w_->windows->nomenclature().windowTitle(), QStringLiteral(" Вывод номенклатуры"));
        QCOMPARE(w_->windows->mapShift().objectName(), QStringLiteral("TForm6"));
        QCOMPARE(w_->windows->mapShift().windowTitle(), QStringLiteral(" Сдвиг MP"));
        QCOMPARE(w_->windows->planePrecision().objectName(), QStringLiteral("TForm7"));
        QCOMPARE(w_->windows->fullPrecision().objectName(), QStringLiteral("TForm8"));
        QCOMPARE(w_->windows->fullPrecision().windowTitle(),
                 QStringLiteral(" Точность вывода координат"));
    }

    void mapShiftLimits_data() {
        QTest::addColumn<QString>("north");
        QTest::addColumn<bool>("accepted");
        // ShiftNorth after typing: a refused text keeps what its last accepted prefix stored.
        QTest::addColumn<double>("stored");
        QTest::newRow("-1000") << "-1000" << true << -1000.0;
        QTest::newRow("1000") << "1000" << true << 1000.0;
        QTest::newRow("1000.5") << "1000.5" << false << 1000.0;
        QTest::newRow("1000,5") << "1000,5" << false << 1000.0;
        QTest::newRow("-0,5") << "-0,5" << true << -0.5;
        QTest::newRow("letters") << "10a" << false << 10.0;
    }
    void mapShiftLimits() {
        QFETCH(QString, north);
        QFETCH(bool, accepted);
        QFETCH(double, stored);
        QDialog& dialog = w_->windows->mapShift();
        show(dialog);
        QCOMPARE(text(dialog, "ShiftNorthEdit"), QStringLiteral("0"));
        type(dialog, "ShiftNorthEdit", north);
        QCOMPARE(shownRed(dialog, "ShiftNorthEdit"), !accepted);
        QCOMPARE(okEnabled(dialog), accepted);
        QCOMPARE(state().ShiftNorth, stored);
        // The east field follows the same rule with its own flag.
        type(dialog, "ShiftEastEdit", QStringLiteral("-1000,1"));
        QVERIFY(!okEnabled(dialog));
        type(dialog, "ShiftEastEdit", QStringLiteral("250"));
        QCOMPARE(okEnabled(dialog), accepted);
        if (accepted) {
            click(dialog, "OkButton");
            QVERIFY(state().OptionsConfirmed);
            QCOMPARE(state().ShiftEast, 250.0);
        }
    }

    void mapShiftCancelAndShowAgain() {
        QDialog& dialog = w_->windows->mapShift();
        show(dialog);
        type(dialog, "ShiftNorthEdit", QStringLiteral("12"));
        click(dialog, "CancelButton");
        QVERIFY(!dialog.isVisible());
        QVERIFY(!state().OptionsConfirmed);
        show(dialog);
        QCOMPARE(state().ShiftNorth, 0.0);
        QCOMPARE(text(dialog, "ShiftNorthEdit"), QStringLiteral("0"));
    }

    void heightChangeLimits() {
        QDialog& dialog = w_->windows->extraParams();
        show(dialog);
        QVERIFY(!find<QWidget>(dialog, "HeightChangeEdit")->isEnabled());
        QVERIFY(shownGrey(dialog, "HeightChangeEdit"));
        clickBox(dialog, "HeightChangeBox");
        QVERIFY(find<QWidget>(dialog, "HeightChangeEdit")->isEnabled());
        QVERIFY(!shownGrey(dialog, "HeightChangeEdit"));
        QCOMPARE(text(dialog, "HeightChangeEdit"), QStringLiteral("0"));
        type(dialog, "HeightChangeEdit", QStringLiteral("100"));
        QVERIFY(okEnabled(dialog));
        QCOMPARE(state().HeightChange, 100.0);
        type(dialog, "HeightChangeEdit", QStringLiteral("100.01"));
        QVERIFY(shownRed(dialog, "HeightChangeEdit"));
        QVERIFY(!okEnabled(dialog));
        QCOMPARE(state().HeightChange, 100.0);
        type(dialog, "HeightChangeEdit", QStringLiteral("-100"));
        QVERIFY(okEnabled(dialog));
        QCOMPARE(state().HeightChange, -100.0);
    }

    // Unchecking the height box puts the change back to 0, a valid value, so OK is enabled
    // again even when the last entry was refused.
    void uncheckingTheHeightBoxAfterABadEntryEnablesOk() {
        QDialog& dialog = w_->windows->extraParams();
        show(dialog);
        clickBox(dialog, "HeightChangeBox");
        type(dialog, "HeightChangeEdit", QStringLiteral("250"));
        QVERIFY(!okEnabled(dialog));
        clickBox(dialog, "HeightChangeBox");
        QVERIFY(okEnabled(dialog));
        QCOMPARE(text(dialog, "HeightChangeEdit"), QStringLiteral("0"));
        QVERIFY(!shownRed(dialog, "HeightChangeEdit"));
        QVERIFY(!find<QWidget>(dialog, "HeightChangeEdit")->isEnabled());
        QCOMPARE(state().HeightChange, 0.0);
        click(dialog, "OkButton");
        QVERIFY(state().OptionsConfirmed);
        QCOMPARE(state().HeightChange, 0.0);
    }

    void zoneIsWrittenOnAnyClose() {
        QDialog& dialog = w_->windows->extraParams();
        show(dialog);
        QCOMPARE(text(dialog, "Sk42ZoneList"), QStringLiteral("1"));
        QCOMPARE(items(dialog, "Sk42ZoneList").size(), 60);
        choose(dialog, "Sk42ZoneList", 36);
        dialog.close();  // the window's close button
        QVERIFY(!dialog.isVisible());
        QCOMPARE(state().Sk42Zone, 37);
        QVERIFY(!state().OptionsConfirmed);
    }

    void manualZoneBoxAndDefaultsOnShow() {
        QDialog& dialog = w_->windows->extraParams();
        show(dialog);
        auto* manual = find<QCheckBox>(dialog, "ManualZoneBox");
        QVERIFY(manual->isChecked());
        clickBox(dialog, "ManualZoneBox");
        QVERIFY(!find<QComboBox>(dialog, "Sk42ZoneList")->isEnabled());
        QVERIFY(state().ZoneInOrdinate);
        choose(dialog, "PlaneDecimalsList", 2);
        choose(dialog, "HeightDecimalsList", 0);
        click(dialog, "OkButton");
        QCOMPARE(state().PlaneDecimals, 2);
        QCOMPARE(state().HeightDecimals, 4);
        QVERIFY(state().OptionsConfirmed);
        // Shown again: manual zone 1, height off, precision 3.
        show(dialog);
        QVERIFY(manual->isChecked());
        QVERIFY(!state().ZoneInOrdinate);
        QVERIFY(find<QComboBox>(dialog, "Sk42ZoneList")->isEnabled());
        QCOMPARE(text(dialog, "PlaneDecimalsList"), QStringLiteral("3"));
        QCOMPARE(state().PlaneDecimals, 3);
        QVERIFY(!find<QCheckBox>(dialog, "HeightChangeBox")->isChecked());
    }

    void precisionListPositions() {
        QDialog& dialog = w_->windows->fullPrecision();
        show(dialog);
        QCOMPARE(items(dialog, "AngleDecimalsList"), (QStringList{"10", "9", "8", "7"}));
        QCOMPARE(text(dialog, "AngleDecimalsList"), QStringLiteral("10"));
        QCOMPARE(state().AngleDecimals, 10);
        choose(dialog, "HeightDecimalsList", 2);
        click(dialog, "OkButton");
        QCOMPARE(state().HeightDecimals, 2);
        QCOMPARE(state().PlaneDecimals, 3);
        QCOMPARE(state().AngleDecimals, 10);

        QDialog& twoLists = w_->windows->planePrecision();
        show(twoLists);
        QVERIFY(!twoLists.findChild<QComboBox*>(QStringLiteral("AngleDecimalsList")));
        choose(twoLists, "PlaneDecimalsList", 2);
        click(twoLists, "OkButton");
        QCOMPARE(state().PlaneDecimals, 2);
        QCOMPARE(state().HeightDecimals, 3);
    }

    void threeListsFollowTheDirection() {
        QDialog& dialog = w_->windows->fullPrecision();
        show(dialog);
        QVERIFY(!find<QComboBox>(dialog, "AngleDecimalsList")->isEnabled());
        QVERIFY(shownGrey(dialog, "AngleDecimalsList"));
        QVERIFY(find<QComboBox>(dialog, "PlaneDecimalsList")->isEnabled());
        dialog.hide();

        choose(w_->setup(), "DirectionList", 1);
        show(dialog);
        QVERIFY(find<QComboBox>(dialog, "AngleDecimalsList")->isEnabled());
        QVERIFY(!shownGrey(dialog, "AngleDecimalsList"));
        QVERIFY(!find<QComboBox>(dialog, "PlaneDecimalsList")->isEnabled());
        QVERIFY(find<QComboBox>(dialog, "HeightDecimalsList")->isEnabled());
        choose(dialog, "AngleDecimalsList", 3);
        click(dialog, "OkButton");
        QCOMPARE(state().AngleDecimals, 7);
    }

    void closedWithoutOkStillResetsPrecision() {
        QDialog& dialog = w_->windows->fullPrecision();
        state().PlaneDecimals = 4;
        show(dialog);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!state().OptionsConfirmed);
        QCOMPARE(state().PlaneDecimals, 3);
    }

    void nomenclatureScale() {
        QDialog& dialog = w_->windows->nomenclature();
        show(dialog);
        QCOMPARE(text(dialog, "ScaleList"), QStringLiteral("1 : 25 000"));
        choose(dialog, "ScaleList", 0);
        click(dialog, "OkButton");
        QCOMPARE(state().ListScale, 0);
        show(dialog);
        QCOMPARE(text(dialog, "ScaleList"), QStringLiteral("1 : 25 000"));
        QCOMPARE(state().ListScale, 0);  // changed only by OK
        dialog.close();
        QCOMPARE(state().ListScale, 0);
    }
};

QTEST_MAIN(OptionDialogsTest)
#include "gridwise_dialogs_test.moc"
