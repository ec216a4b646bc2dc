#pragma once
// The height and precision dialog (TForm5), shown before point lists are converted: the height
// system written into the target files and the decimals of B2, L2 and H2. Every showing starts
// from the defaults (normal heights, 10 and 3 decimals); only "OK" confirms the choice.

#include <QDialog>

#include "datumer/state.hpp"

class QComboBox;
class QPushButton;

namespace datumer {

class HeightPrecisionDialog : public QDialog {
    Q_OBJECT
  public:
    explicit HeightPrecisionDialog(DatumerState& state, QWidget* parent = nullptr);

    // The batch screen's protocol: OptionsConfirmed cleared, the dialog shown modally, and
    // whether it was confirmed.
    bool confirm(QWidget* parent);

  protected:
    void showEvent(QShowEvent* event) override;

  private slots:
    void okClicked();

  private:
    void buildControls();

    DatumerState& state_;
    QComboBox* heightList_ = nullptr;
    QComboBox* angleList_ = nullptr;
    QComboBox* heightDecimalsList_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace datumer
