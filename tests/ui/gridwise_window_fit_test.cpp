// Every window of Gridwise, in both directions and with a computed point, is whole on an
// 800×600 screen with a panel: nothing outside, no text or list item cut, Tab in reading order.
// Run at the default font and again at 120 dpi (QT_FONT_DPI, set by the build).

#include "gridwise/ui/gridwise_windows.hpp"
#include "gridwise/ui/option_dialogs.hpp"
#include "gridwise/ui/point_screen.hpp"
#include "gridwise/ui/setup_screen.hpp"
#include "gridwise_test_support.hpp"
#include "ui/startup.hpp"
#include "window_fit.hpp"

using namespace gridwise_test;

class GridwiseWindowFitTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Windows> w_;

    static void check(QWidget& window) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QStringList faults = fitFaults(window) + tabOrderFaults(window);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

  private slots:
    void init() { w_ = std::make_unique<Windows>(); }
    void cleanup() { w_.reset(); }

    // The offscreen screen has 800×800 device pixels; with 120 dpi fonts Qt reports it as
    // 640×640 scaled pixels, which must not be refused as too small.
    void screenCheckCountsDevicePixels() {
        QVERIFY(ui::screenLargeEnough(ui::primaryScreenSize()));
    }

    void setupScreenInEverySystem() {
        for (int direction = 0; direction < 2; ++direction) {
            choose(w_->setup(), "DirectionList", direction);
            for (int system = 0; system < items(w_->setup(), "SystemList").size(); ++system) {
                choose(w_->setup(), "SystemList", system);
                check(w_->setup());
            }
        }
    }

    void pointScreenWithResults() {
        click(w_->setup(), "NextButton");
        type(w_->point(), "Edit1", QStringLiteral("55"));
        type(w_->point(), "Edit4", QStringLiteral("37"));
        click(w_->point(), "Button4");
        check(w_->point());
        click(w_->point(), "Button2");
        choose(w_->setup(), "DirectionList", 1);
        click(w_->setup(), "NextButton");
        type(w_->point(), "Edit7", QStringLiteral("6098907.5"));
        type(w_->point(), "Edit8", QStringLiteral("7500000"));
        click(w_->point(), "Button4");
        check(w_->point());
    }

    void batchScreenWithEveryHelp() {
        click(w_->setup(), "NextButton");
        for (int format = 0; format < 5; ++format) {
            choose(w_->windows->batch(), "FormatList", format);
            check(w_->windows->batch());
        }
    }

    void optionDialogs() {
        for (QWidget* dialog : std::initializer_list<QWidget*>{
                 &w_->windows->extraParams(), &w_->windows->nomenclature(),
                 &w_->windows->mapShift(), &w_->windows->planePrecision(),
                 &w_->windows->fullPrecision()}) {
            check(*dialog);
            dialog->hide();
        }
    }
};

QTEST_MAIN(GridwiseWindowFitTest)
#include "gridwise_window_fit_test.moc"
