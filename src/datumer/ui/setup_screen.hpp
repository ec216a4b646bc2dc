#pragma once
// The set-up screen (TForm1), Datumer's main window: the choice of one of the presets,
// its seven parameters and two ellipsoids, editable while the user preset is chosen, and the
// "Далее" checks before the point screen. Closing it ends the program.

#include <QWidget>
#include <array>

#include "datumer/rules/setup_rules.hpp"
#include "datumer/state.hpp"

class QComboBox;
class QLabel;
class QPushButton;

namespace ui {
class DialogService;
class InputField;
}  // namespace ui

namespace datumer {

class SetupScreen : public QWidget {
    Q_OBJECT
  public:
    // `separator` is the decimal separator the fields show.
    SetupScreen(DatumerState& state, ui::DialogService& dialogs, char separator,
                QWidget* parent = nullptr);

  signals:
    // "Далее" passed its checks; the set-up screen has hidden itself.
    void proceeded();
    // The window was closed: the program ends.
    void closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private slots:
    void presetChosen(int index);
    void restartClicked();
    void proceedClicked();
    void exitClicked();
    void updateProceedEnabled();

  private:
    void buildControls();
    QWidget* buildParameterGroup();
    QWidget* buildEllipsoidGroup();
    ui::InputField* makeField(int field);
    void showPreset();

    DatumerState& state_;
    ui::DialogService& dialogs_;
    char separator_;
    bool showingPreset_ = false;

    QComboBox* presetList_ = nullptr;
    std::array<ui::InputField*, kSetupFieldCount> fields_{};
    QLabel* sourceEllipsoidName_ = nullptr;
    QLabel* targetEllipsoidName_ = nullptr;
    QPushButton* restartButton_ = nullptr;
    QPushButton* proceedButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
};

// The caption of the range-check warnings of both screens.
inline constexpr const char* kWarningCaption = "Некорректные данные";
// The caption shared by the set-up and the point screen.
inline constexpr const char* kConversionCaption = " Пересчёт геодезических координат";
// The size of the set-up screen, which the point screen and the extra dialog take as well.
inline constexpr int kScreenWidth = 450;
inline constexpr int kScreenHeight = 550;

}  // namespace datumer
