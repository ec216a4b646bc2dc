#pragma once
// The point screen (TForm2): one point typed in the source system of the selected preset,
// transformed by "ПЕРЕСЧЁТ" and shown in the target system in degrees-minutes-seconds or decimal
// degrees. Two stages: input (fields editable, results "-") and result (inputs frozen, target
// format selectable, "Дополнительно" enabled). From here the extra dialog and the batch screen
// are opened.

#include <QWidget>
#include <array>

#include "datumer/rules/point_rules.hpp"
#include "datumer/state.hpp"

class QComboBox;
class QDialog;
class QGroupBox;
class QGridLayout;
class QLabel;
class QPushButton;

namespace ui {
class DialogService;
class InputField;
}  // namespace ui

namespace datumer {

class PointScreen : public QWidget {
    Q_OBJECT
  public:
    // `extraDialog` and `batchScreen` are the windows "Дополнительно" and "Пересчёт файлов"
    // show modally; `separator` is the decimal separator of the shown numbers.
    PointScreen(DatumerState& state, ui::DialogService& dialogs, char separator,
                QWidget* parent = nullptr);
    void setDialogs(QDialog* extraDialog, QDialog* batchScreen);

  signals:
    // "Назад": the screen has hidden itself; the set-up screen is to be shown.
    void backRequested();
    // "Выход" or the window closed: the program ends.
    void closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private slots:
    void sourceFormatChosen(int index);
    void computeClicked();
    void targetFormatChosen(int index);
    void extraClicked();
    void filesClicked();
    void restartClicked();
    void backClicked();
    void exitClicked();
    void updateComputeEnabled();

  private:
    void buildControls();
    QGroupBox* buildSourceGroup();
    QGroupBox* buildTargetGroup();
    void addAngleRow(QGridLayout& grid, int row, const char* axis, int firstEdit,
                     QComboBox* hemisphere);
    void addHeightRow(QGridLayout& grid, int row, int editNumber);
    ui::InputField* makeEdit(int number);
    void setSourceMode(AngleFormat mode);
    void setInputStage();
    void setResultStage();
    void showResult(AngleFormat format);
    AngleFormat sourceMode() const;
    QString resultText() const;

    DatumerState& state_;
    ui::DialogService& dialogs_;
    char separator_;
    QDialog* extraDialog_ = nullptr;
    QDialog* batchScreen_ = nullptr;

    QGroupBox* sourceGroup_ = nullptr;
    QGroupBox* targetGroup_ = nullptr;
    QComboBox* sourceFormat_ = nullptr;
    QComboBox* latitudeHemisphere_ = nullptr;
    QComboBox* longitudeHemisphere_ = nullptr;
    QComboBox* targetFormat_ = nullptr;
    QComboBox* resultLatitudeHemisphere_ = nullptr;
    QComboBox* resultLongitudeHemisphere_ = nullptr;
    std::array<ui::InputField*, 14> edits_{};  // edits 1..14
    QPushButton* computeButton_ = nullptr;
    QPushButton* extraButton_ = nullptr;
    QPushButton* filesButton_ = nullptr;
    QPushButton* restartButton_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
};

}  // namespace datumer
