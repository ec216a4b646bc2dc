#include "gridwise/ui/option_dialogs.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gridwise/rules/option_rules.hpp"
#include "ui/field_look.hpp"
#include "ui/input_field.hpp"
#include "ui/qt_text.hpp"
#include "ui/screen_parts.hpp"

namespace gridwise {
namespace {

constexpr const char* kPrecisionCaption = " Точность вывода координат";
constexpr std::string_view kPlaneListLabel = "Точность вывода x, y :";
constexpr std::string_view kHeightListLabel = "Точность вывода H:";

QFrame* horizontalLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// A label left of a list, in the next row of the grid.
QComboBox* labelledList(QGridLayout& grid, QWidget* parent, std::string_view label,
                        const char* name, std::span<const std::string_view> items) {
    const int row = grid.rowCount();
    QComboBox* list = ui::makeList(parent, name);
    ui::setListItems(*list, ui::itemList(items));
    grid.addWidget(ui::makeLabel(parent, label), row, 0);
    grid.addWidget(list, row, 1);
    return list;
}

// The OK button alone, centred and bold, at the bottom.
QPushButton* addCentredOk(QVBoxLayout& layout, QDialog* dialog) {
    QPushButton* ok = ui::makeButton(dialog, "OK", "OkButton");
    ok->setDefault(true);
    ui::pressMainButtonOnEnter(*dialog, ok);
    layout.addStretch(1);
    layout.addLayout(ui::evenButtonRow({ok}));
    return ok;
}

// Every dialog is centred on the window that opens it each time it is shown and starts with OK
// focused.
void finishShow(QDialog& dialog, QPushButton& ok) {
    ui::centreOnActiveWindow(dialog);
    ok.setFocus();
}

void prepareDialog(QDialog& dialog, const char* objectName, std::string_view caption) {
    dialog.setObjectName(QString::fromLatin1(objectName));
    dialog.setWindowTitle(ui::fromUtf8(caption));
    dialog.setModal(true);
}

}  // namespace

// ---------------------------------------------------------------------------------------------

PrecisionDialog::PrecisionDialog(GridwiseState& state, bool withAngles, QWidget* parent)
    : QDialog(parent), state_(state), withAngles_(withAngles) {
    prepareDialog(*this, withAngles ? "TForm8" : "TForm7", kPrecisionCaption);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    if (withAngles) {
        angleList_ = labelledList(*grid, this, "Точность вывода B, L :", "AngleDecimalsList",
                                  kAngleDecimalItems);
    }
    planeList_ =
        labelledList(*grid, this, kPlaneListLabel, "PlaneDecimalsList", kPlaneDecimalItems);
    heightList_ =
        labelledList(*grid, this, kHeightListLabel, "HeightDecimalsList", kPlaneDecimalItems);
    layout->addLayout(grid);
    okButton_ = addCentredOk(*layout, this);
    connect(okButton_, &QPushButton::clicked, this, &PrecisionDialog::okClicked);
    ui::fixSize(*this, 230, withAngles ? 182 : 150);
}

void PrecisionDialog::showEvent(QShowEvent* event) {
    ShowPrecisionDialog(state_, withAngles_);
    if (angleList_) {
        ui::selectQuietly(*angleList_, kDefaultAngleDecimalIndex);
        ui::setListEnabled(*angleList_, AngleListEnabled(state_));
        ui::setListEnabled(*planeList_, PlaneListEnabled(state_));
    } else {
        ui::setListEnabled(*planeList_, true);
    }
    ui::selectQuietly(*planeList_, kDefaultPlaneDecimalIndex);
    ui::selectQuietly(*heightList_, kDefaultPlaneDecimalIndex);
    ui::setListEnabled(*heightList_, true);
    QDialog::showEvent(event);
    finishShow(*this, *okButton_);
}

void PrecisionDialog::okClicked() {
    ConfirmPrecision(state_, angleList_ ? angleList_->currentIndex() : kDefaultAngleDecimalIndex,
                     planeList_->currentIndex(), heightList_->currentIndex(), withAngles_);
    accept();
}

// ---------------------------------------------------------------------------------------------

NomenclatureDialog::NomenclatureDialog(GridwiseState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
    prepareDialog(*this, "TForm5", " Вывод номенклатуры");
    auto* layout = new QVBoxLayout(this);
    for (const char* line :
         {"Формат исходных координат определяется", "выбранным направлением пересчёта.",
          "B/L :   B/L => x/y", "x/y  :   x/y  => B/L"}) {
        layout->addWidget(ui::makeLabel(this, line));
    }
    auto* grid = new QGridLayout;
    scaleList_ = labelledList(*grid, this, "Масштаб :", "ScaleList", kListScaleItems);
    layout->addLayout(grid);
    okButton_ = addCentredOk(*layout, this);
    connect(okButton_, &QPushButton::clicked, this, &NomenclatureDialog::okClicked);
    ui::fixSize(*this, 300, 215);
}

void NomenclatureDialog::showEvent(QShowEvent* event) {
    ui::selectQuietly(*scaleList_, kDefaultListScaleIndex);
    ui::setListEnabled(*scaleList_, true);
    QDialog::showEvent(event);
    finishShow(*this, *okButton_);
}

void NomenclatureDialog::okClicked() {
    ConfirmNomenclature(state_, scaleList_->currentIndex());
    accept();
}

// ---------------------------------------------------------------------------------------------

MapShiftDialog::MapShiftDialog(GridwiseState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
    prepareDialog(*this, "TForm6", " Сдвиг MP");
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    northEdit_ = shiftField("ShiftNorthEdit", EditShiftNorth);
    eastEdit_ = shiftField("ShiftEastEdit", EditShiftEast);
    grid->addWidget(ui::makeLabel(this, "Сдвиг по широте, м (-1000..1000)    :"), 0, 0);
    grid->addWidget(northEdit_, 0, 1);
    grid->addWidget(ui::makeLabel(this, "Сдвиг по долготе, м (-1000...1000)  :"), 1, 0);
    grid->addWidget(eastEdit_, 1, 1);
    layout->addLayout(grid);
    for (const char* line :
         {"Положительный сдвиг - на север/восток,", "отрицательный - на юг/запад. Применяется",
          "указанная картографическая проекция"}) {
        layout->addWidget(ui::makeLabel(this, line));
    }
    okButton_ = ui::makeButton(this, "OK", "OkButton", false);
    okButton_->setDefault(true);
    ui::pressMainButtonOnEnter(*this, okButton_);
    QPushButton* cancel = ui::makeButton(this, "Отмена", "CancelButton", false);
    layout->addStretch(1);
    layout->addLayout(ui::evenButtonRow({okButton_, cancel}));
    connect(okButton_, &QPushButton::clicked, this, &MapShiftDialog::okClicked);
    connect(cancel, &QPushButton::clicked, this, &MapShiftDialog::cancelClicked);
    ui::fixSize(*this, 300, 230);
}

ui::InputField* MapShiftDialog::shiftField(const char* name,
                                           bool (*edit)(GridwiseState&, std::string_view)) {
    auto* field = new ui::InputField(this);
    field->setObjectName(QString::fromLatin1(name));
    field->setChecker([this, edit](const std::string& text) -> std::optional<bool> {
        const bool valid = edit(state_, text);
        okButton_->setEnabled(ShiftInputsValid(state_));
        return valid;
    });
    return field;
}

void MapShiftDialog::showEvent(QShowEvent* event) {
    ShowMapShiftDialog(state_);
    northEdit_->setText(ui::generalText(state_.ShiftNorth));
    eastEdit_->setText(ui::generalText(state_.ShiftEast));
    QDialog::showEvent(event);
    finishShow(*this, *okButton_);
}

void MapShiftDialog::okClicked() {
    ConfirmMapShift(state_);
    accept();
}

void MapShiftDialog::cancelClicked() {
    reject();
}

// ---------------------------------------------------------------------------------------------

ExtraParamsDialog::ExtraParamsDialog(GridwiseState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
    prepareDialog(*this, "TForm4", " Дополнительные параметры");
    auto* layout = new QVBoxLayout(this);

    manualZoneBox_ = new QCheckBox(QStringLiteral("Указать зону вручную"), this);
    manualZoneBox_->setObjectName(QStringLiteral("ManualZoneBox"));
    manualZoneBox_->setChecked(true);
    layout->addWidget(manualZoneBox_);
    QStringList zones;
    for (int zone = 1; zone <= kSk42ZoneCount; ++zone) zones << QString::number(zone);
    zoneList_ = ui::makeList(this, "Sk42ZoneList");
    ui::setListItems(*zoneList_, zones);
    auto* zoneRow = new QHBoxLayout;
    zoneRow->addWidget(ui::makeLabel(this, "Зона СК42 (1..60) :"));
    zoneRow->addWidget(zoneList_);
    zoneRow->addStretch(1);
    layout->addLayout(zoneRow);
    layout->addWidget(horizontalLine(this));

    heightChangeBox_ = new QCheckBox(QStringLiteral("Изменить высоту на величину :"), this);
    heightChangeBox_->setObjectName(QStringLiteral("HeightChangeBox"));
    layout->addWidget(heightChangeBox_);
    heightEdit_ = new ui::InputField(this);
    heightEdit_->setObjectName(QStringLiteral("HeightChangeEdit"));
    heightEdit_->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("-000.0000")));
    heightEdit_->setChecker([this](const std::string& text) -> std::optional<bool> {
        if (!heightChangeBox_->isChecked()) return std::nullopt;
        const bool valid = EditHeightChange(state_, text);
        okButton_->setEnabled(valid);
        return valid;
    });
    auto* heightRow = new QHBoxLayout;
    heightRow->addWidget(heightEdit_);
    heightRow->addWidget(ui::makeLabel(this, "(-100..100 м)"));
    heightRow->addStretch(1);
    layout->addLayout(heightRow);
    layout->addWidget(horizontalLine(this));

    auto* grid = new QGridLayout;
    planeList_ =
        labelledList(*grid, this, kPlaneListLabel, "PlaneDecimalsList", kPlaneDecimalItems);
    heightList_ =
        labelledList(*grid, this, kHeightListLabel, "HeightDecimalsList", kPlaneDecimalItems);
    layout->addLayout(grid);
    okButton_ = addCentredOk(*layout, this);

    heightEdit_->setText(QStringLiteral("0"));
    heightEdit_->setEnabled(false);
    heightEdit_->setEditable(false);
    ui::setListEnabled(*zoneList_, true);
    ui::setListEnabled(*planeList_, true);
    ui::setListEnabled(*heightList_, true);

    connect(manualZoneBox_, &QCheckBox::toggled, this, &ExtraParamsDialog::manualZoneToggled);
    connect(heightChangeBox_, &QCheckBox::toggled, this, &ExtraParamsDialog::heightChangeToggled);
    connect(okButton_, &QPushButton::clicked, this, &ExtraParamsDialog::okClicked);
    ui::fixSize(*this, 230, 320);
}

void ExtraParamsDialog::showEvent(QShowEvent* event) {
    ShowExtraParamsDialog(state_);
    ui::selectQuietly(*zoneList_, 0);
    // A box reports a change only when its state really changes, as the handlers expect.
    manualZoneBox_->setChecked(true);
    heightChangeBox_->setChecked(false);
    ui::selectQuietly(*planeList_, kDefaultPlaneDecimalIndex);
    ui::selectQuietly(*heightList_, kDefaultPlaneDecimalIndex);
    QDialog::showEvent(event);
    finishShow(*this, *okButton_);
}

void ExtraParamsDialog::manualZoneToggled(bool checked) {
    ClickManualZone(state_, checked);
    ui::setListEnabled(*zoneList_, checked);
}

void ExtraParamsDialog::heightChangeToggled(bool checked) {
    ClickHeightChange(state_, checked);
    heightEdit_->setEnabled(checked);
    heightEdit_->setEditable(checked);
    heightEdit_->setText(QStringLiteral("0"));
    // Unchecked, the change is 0 again, which is a valid value: an earlier invalid entry no
    // longer keeps OK disabled. Checked, the "0" just written has enabled OK through the edit.
    if (!checked) {
        heightEdit_->showValid(true);
        okButton_->setEnabled(true);
    }
}

void ExtraParamsDialog::okClicked() {
    ConfirmExtraParams(state_, planeList_->currentIndex(), heightList_->currentIndex());
    accept();
}

void ExtraParamsDialog::done(int result) {
    CloseExtraParams(state_, zoneList_->currentIndex());
    QDialog::done(result);
}

}  // namespace gridwise
