#pragma once
// Gridwise's start: the screen-size check, the information message, the application title and
// the eight windows, created once in their order and kept for the whole run.

#include <QDialog>
#include <QSize>
#include <memory>
#include <vector>

#include "gridwise/files/formats.hpp"
#include "gridwise/state.hpp"
#include "ui/batch_screen.hpp"

namespace ui {
class DialogService;
}

namespace gridwise {

class SetupScreen;
class PointScreen;
class PrecisionDialog;
class NomenclatureDialog;
class MapShiftDialog;
class ExtraParamsDialog;

// The text of the information message shown at start (paragraphs separated by an empty line).
QString StartInformation();

// The eight windows: TForm1 set-up, TForm2 point, TForm3 batch, TForm4..TForm8 option dialogs.
class GridwiseWindows {
  public:
    GridwiseWindows(GridwiseState& state, ui::DialogService& dialogs);
    ~GridwiseWindows();
    GridwiseWindows(const GridwiseWindows&) = delete;
    GridwiseWindows& operator=(const GridwiseWindows&) = delete;

    SetupScreen& setup() { return *setup_; }
    PointScreen& point() { return *point_; }
    ui::BatchScreen& batch() { return *batch_; }
    ExtraParamsDialog& extraParams() { return *extraParams_; }
    NomenclatureDialog& nomenclature() { return *nomenclature_; }
    MapShiftDialog& mapShift() { return *mapShift_; }
    PrecisionDialog& planePrecision() { return *planePrecision_; }
    PrecisionDialog& fullPrecision() { return *fullPrecision_; }

  private:
    std::vector<ui::BatchFormat> batchFormats();
    // The dialog of a format's options.
    QDialog& optionsDialog(FormatOptions options);
    // Clears OptionsConfirmed, shows the dialog modally, returns OptionsConfirmed.
    bool confirmOptions(QDialog& dialog);

    GridwiseState& state_;
    std::unique_ptr<SetupScreen> setup_;
    std::unique_ptr<PointScreen> point_;
    std::unique_ptr<ui::BatchScreen> batch_;
    std::unique_ptr<ExtraParamsDialog> extraParams_;
    std::unique_ptr<NomenclatureDialog> nomenclature_;
    std::unique_ptr<MapShiftDialog> mapShift_;
    std::unique_ptr<PrecisionDialog> planePrecision_;
    std::unique_ptr<PrecisionDialog> fullPrecision_;
};

// Program start on a screen of the given size: below 800 x 600 the error message and no window
// (returns nullptr); otherwise the information message, the title "Gridwise", the eight windows,
// and the set-up screen shown as the main window, whose closing quits the application.
std::unique_ptr<GridwiseWindows> StartGridwise(GridwiseState& state, ui::DialogService& dialogs,
                                               QSize screen);

}  // namespace gridwise
