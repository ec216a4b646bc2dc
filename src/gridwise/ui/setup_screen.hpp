#pragma once
// The set-up screen (TForm1), the main window: direction, projection, coordinate system, zone
// options, series, false origin, ellipsoid and SK63 central meridian. Every choice goes straight
// into the settings record through the set-up rules of the core; the screen only mirrors the
// state in its controls. "Далее" hands over to the point screen.

#include <QWidget>

#include "gridwise/state.hpp"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace ui {
class DialogService;
class InputField;
}  // namespace ui

namespace gridwise {

class SetupScreen : public QWidget {
    Q_OBJECT
  public:
    SetupScreen(GridwiseState& state, ui::DialogService& dialogs, QWidget* parent = nullptr);

    // The screen "Далее" shows; it takes this screen's place.
    void setPointScreen(QWidget* pointScreen) { pointScreen_ = pointScreen; }

  signals:
    // The main window was closed: the program ends.
    void closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private slots:
    void directionChosen(int index);
    void projectionChosen(int index);
    void systemChosen(int index);
    void zoneChosen(int index);
    void algorithmChosen(int index);
    void sk63ZoneChosen(int index);
    void zoneCheckBoxClicked(bool checked);
    void resetClicked();
    void nextClicked();
    void exitClicked();

  private:
    void buildControls();
    void fillSystemList();
    void fillProjectionAndDirection();
    void showAppliedSystem();
    void showSk63ZoneList(bool enabled);
    void showFalseOrigin(bool editable);
    void showMeridian(bool editable);
    void updateNextEnabled();
    // A field whose text events go to `edit` of the set-up rules.
    ui::InputField* field(const char* name, bool (*edit)(GridwiseState&, std::string_view));

    GridwiseState& state_;
    ui::DialogService& dialogs_;
    QWidget* pointScreen_ = nullptr;

    QComboBox* directionList_ = nullptr;
    QComboBox* projectionList_ = nullptr;
    QComboBox* systemList_ = nullptr;
    QComboBox* zoneList_ = nullptr;
    QComboBox* algorithmList_ = nullptr;
    QCheckBox* zoneCheckBox_ = nullptr;
    QComboBox* sk63ZoneList_ = nullptr;
    ui::InputField* meridianDegrees_ = nullptr;
    ui::InputField* meridianMinutes_ = nullptr;
    ui::InputField* meridianSeconds_ = nullptr;
    QComboBox* hemisphereList_ = nullptr;
    ui::InputField* falseNorthing_ = nullptr;
    QComboBox* falseEastingList_ = nullptr;
    ui::InputField* falseEasting_ = nullptr;  // the line edit of the false easting list
    QLabel* ellipsoidName_ = nullptr;
    ui::InputField* semiMajorAxis_ = nullptr;
    ui::InputField* invFlattening_ = nullptr;
    QPushButton* resetButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
};

}  // namespace gridwise
