#pragma once
// The point screen (TForm2): one point typed by hand, converted B,L -> x,y or back with the
// settings of the set-up screen, with its sheet names and auxiliary values. It takes the set-up
// screen's place (same size, caption and position); from it the batch screen is opened.

#include <QWidget>
#include <array>

#include "common/text.hpp"
#include "gridwise/rules/point_rules.hpp"
#include "gridwise/state.hpp"

class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QPushButton;

namespace ui {
class DialogService;
class InputField;
}  // namespace ui

namespace gridwise {

class PointScreen : public QWidget {
    Q_OBJECT
  public:
    // `setupScreen` is the main window whose place the screen takes.
    PointScreen(GridwiseState& state, ui::DialogService& dialogs, QWidget& setupScreen,
                QWidget* parent = nullptr);
    // The batch screen "Пересчёт файлов" opens (created after this screen).
    void setBatchScreen(QDialog* batchScreen) { batchScreen_ = batchScreen; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private slots:
    void computeClicked();
    void resetClicked();
    void backClicked();
    void exitClicked();
    void filesClicked();
    void angleFormatChanged(int index);

  private:
    QString resultText() const;
    void buildControls();
    QGroupBox* buildGeoGroup();
    QGroupBox* buildPlaneGroup();
    void prepareFields();
    void showAngles(AngleFormat format);
    void showResult(const PointResult& result);
    void lockGeoInput(AngleFormat format);
    void showGeoResult();
    void updateComputeEnabled();
    AngleFormat angleFormat() const;
    // The change handler of Edit1..Edit8.
    bool fieldChanged(int field, std::string_view text);

    GridwiseState& state_;
    ui::DialogService& dialogs_;
    QWidget& setupScreen_;
    QDialog* batchScreen_ = nullptr;

    QComboBox* formatList_ = nullptr;         // ComboBox1
    QComboBox* latitudeList_ = nullptr;       // ComboBox2
    QComboBox* longitudeList_ = nullptr;      // ComboBox3
    std::array<ui::InputField*, 8> edits_{};  // Edit1..Edit8
    QPushButton* computeButton_ = nullptr;    // Button4
    QLabel* directionLabel_ = nullptr;        // Label9
    std::array<QLabel*, 4> sheetValues_{};    // beside Label15, 17, 19, 21
    std::array<QLabel*, 4> auxValues_{};      // beside Label23, 25, 27, 29
};

}  // namespace gridwise
