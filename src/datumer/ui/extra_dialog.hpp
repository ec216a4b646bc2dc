#pragma once
// The extra dialog (TForm3, "Дополнительные параметры"): the sheet names of the last computed
// point in the source and the target system, and the local three-parameter equivalent dX, dY,
// dZ of the transformation at that point. It only displays what the last "ПЕРЕСЧЁТ" computed.

#include <QDialog>
#include <array>

#include "datumer/state.hpp"

class QGridLayout;
class QLabel;

namespace datumer {

// Headings of the two sheet-name blocks (also in the copied result of the point screen).
inline constexpr const char* kSourceSheetsHeading =
    "Номенклатура листа топокарты для точки в исходной СК";
inline constexpr const char* kTargetSheetsHeading =
    "Номенклатура листа топокарты для точки в целевой СК";

class ExtraParametersDialog : public QDialog {
    Q_OBJECT
  public:
    ExtraParametersDialog(const DatumerState& state, char separator, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private slots:
    void closeClicked();

  private:
    void buildControls();
    void addSheetRows(QGridLayout& grid, int firstRow, const char* heading,
                      std::array<QLabel*, 4>& names);
    void showValues();

    const DatumerState& state_;
    char separator_;
    std::array<QLabel*, 4> sourceSheets_{};
    std::array<QLabel*, 4> targetSheets_{};
    std::array<QLabel*, 3> shifts_{};
};

}  // namespace datumer
