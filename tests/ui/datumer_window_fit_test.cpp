// Every window of Datumer, with a computed point, is whole on an 800×600 screen with a panel:
// nothing outside, no text or list item cut, Tab in reading order. Run at the default font and
// again at 120 dpi (QT_FONT_DPI, set by the build).

#include "datumer/ui/extra_dialog.hpp"
#include "datumer/ui/height_precision_dialog.hpp"
#include "datumer/ui/point_screen.hpp"
#include "datumer/ui/program.hpp"
#include "datumer/ui/setup_screen.hpp"
#include "datumer_test_support.hpp"
#include "ui/batch_screen.hpp"
#include "window_fit.hpp"

using namespace datumer_test;

class DatumerWindowFitTest : public QObject {
    Q_OBJECT
    ui::RecordingDialogService dialogs_;
    std::unique_ptr<datumer::DatumerProgram> program_;

    static void check(QWidget& window) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QStringList faults = ui_test::fitFaults(window) + ui_test::tabOrderFaults(window);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

  private slots:
    void init() {
        dialogs_ = {};
        program_ = std::make_unique<datumer::DatumerProgram>(dialogs_, '.');
    }
    void cleanup() { program_.reset(); }

    void setupScreenWithEveryPreset() {
        QWidget& setup = program_->setupScreen();
        auto* presets = control<QComboBox>(setup, "ComboBox1");
        for (int preset = 0; preset < presets->count(); ++preset) {
            chooseLine(presets, preset);
            check(setup);
        }
    }

    void pointScreenAndExtraDialogWithAResult() {
        click(program_->setupScreen(), "Button2");
        QWidget& point = program_->pointScreen();
        const char* values[] = {"55", "45", "30", "37", "37", "0", "150"};
        for (int i = 0; i < 7; ++i) typeInto(edit(point, i + 1), QString::fromLatin1(values[i]));
        chooseLine(control<QComboBox>(point, "ComboBox2"), 1);
        chooseLine(control<QComboBox>(point, "ComboBox3"), 1);
        click(point, "Button1");
        check(point);
        point.hide();
        check(program_->extraDialog());
    }

    void batchScreenWithEveryHelp() {
        QWidget& batch = program_->batchScreen();
        auto* formats = control<QComboBox>(batch, "FormatList");
        for (int format = 0; format < formats->count(); ++format) {
            batch.show();
            chooseLine(formats, format);
            check(batch);
        }
    }

    void heightDialog() { check(program_->heightDialog()); }
};

QTEST_MAIN(DatumerWindowFitTest)
#include "datumer_window_fit_test.moc"
