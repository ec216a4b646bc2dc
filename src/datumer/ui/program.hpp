#pragma once
// Datumer's start: the screen-size check, the information message, the application title and
// the five windows, created once in their order and wired into the screen flow: "Далее" swaps the
// point screen in at the set-up screen's position, "Назад" swaps back, closing either ends the
// program.

#include <QSize>
#include <QString>
#include <memory>

#include "datumer/state.hpp"

namespace ui {
class BatchScreen;
class DialogService;
}  // namespace ui

namespace datumer {

class SetupScreen;
class PointScreen;
class ExtraParametersDialog;
class HeightPrecisionDialog;

// The five paragraphs of the start-up message.
QString InformationText();

class DatumerProgram {
  public:
    DatumerProgram(ui::DialogService& dialogs, char separator);
    ~DatumerProgram();
    DatumerProgram(const DatumerProgram&) = delete;
    DatumerProgram& operator=(const DatumerProgram&) = delete;

    DatumerState& state() { return state_; }
    SetupScreen& setupScreen() { return *setup_; }
    PointScreen& pointScreen() { return *point_; }
    ExtraParametersDialog& extraDialog() { return *extra_; }
    ui::BatchScreen& batchScreen() { return *batch_; }
    HeightPrecisionDialog& heightDialog() { return *heights_; }

  private:
    DatumerState state_;
    std::unique_ptr<SetupScreen> setup_;
    std::unique_ptr<PointScreen> point_;
    std::unique_ptr<ExtraParametersDialog> extra_;
    std::unique_ptr<ui::BatchScreen> batch_;
    std::unique_ptr<HeightPrecisionDialog> heights_;
};

// Start-up up to the message loop: on a screen below 800×600 the error message and nothing else
// (returns null); otherwise the information message, the title "Datumer" and the windows, the
// set-up screen shown.
std::unique_ptr<DatumerProgram> StartDatumer(ui::DialogService& dialogs, QSize screenSize,
                                             char separator);

}  // namespace datumer
