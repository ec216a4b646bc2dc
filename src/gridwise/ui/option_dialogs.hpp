#pragma once
// The five option dialogs a batch run asks for after the file choice. Each is created once,
// puts its values back to the defaults whenever it is shown, and confirms the options
// (OptionsConfirmed) only through its OK button.

#include <QDialog>

#include "gridwise/state.hpp"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace ui {
class InputField;
}

namespace gridwise {

// Output precision: three lists (B, L; x, y; H) for point lists (TForm8), or two (x, y; H)
// for SK63 => SK42 (TForm7).
class PrecisionDialog : public QDialog {
    Q_OBJECT
  public:
    PrecisionDialog(GridwiseState& state, bool withAngles, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private slots:
    void okClicked();

  private:
    GridwiseState& state_;
    bool withAngles_;
    QComboBox* angleList_ = nullptr;
    QComboBox* planeList_ = nullptr;
    QComboBox* heightList_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

// " Вывод номенклатуры" (TForm5): the scale of the sheet names.
class NomenclatureDialog : public QDialog {
    Q_OBJECT
  public:
    explicit NomenclatureDialog(GridwiseState& state, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private slots:
    void okClicked();

  private:
    GridwiseState& state_;
    QComboBox* scaleList_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

// " Сдвиг MP" (TForm6): metres north and east.
class MapShiftDialog : public QDialog {
    Q_OBJECT
  public:
    explicit MapShiftDialog(GridwiseState& state, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private slots:
    void okClicked();
    void cancelClicked();

  private:
    ui::InputField* shiftField(const char* name, bool (*edit)(GridwiseState&, std::string_view));

    GridwiseState& state_;
    ui::InputField* northEdit_ = nullptr;
    ui::InputField* eastEdit_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

// " Дополнительные параметры" (TForm4): SK42 zone by hand, height change, precision of x, y, H.
class ExtraParamsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ExtraParamsDialog(GridwiseState& state, QWidget* parent = nullptr);

    void done(int result) override;  // every way of closing writes the chosen zone

  protected:
    void showEvent(QShowEvent* event) override;

  private slots:
    void manualZoneToggled(bool checked);
    void heightChangeToggled(bool checked);
    void okClicked();

  private:
    GridwiseState& state_;
    QCheckBox* manualZoneBox_ = nullptr;
    QComboBox* zoneList_ = nullptr;
    QCheckBox* heightChangeBox_ = nullptr;
    ui::InputField* heightEdit_ = nullptr;
    QComboBox* planeList_ = nullptr;
    QComboBox* heightList_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace gridwise
