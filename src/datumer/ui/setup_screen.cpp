#include "datumer/ui/setup_screen.hpp"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/text.hpp"
#include "datumer/geodesy/presets.hpp"
#include "datumer/version.hpp"
#include "ui/dialog_service.hpp"
#include "ui/input_field.hpp"
#include "ui/qt_text.hpp"
#include "ui/screen_parts.hpp"

namespace datumer {
namespace {

constexpr int kFieldWidth = 110;

QGroupBox* makeGroup(QWidget* parent, const char* title, const char* name) {
    auto* group = new QGroupBox(QString::fromUtf8(title), parent);
    group->setObjectName(QString::fromLatin1(name));
    return group;
}

}  // namespace

SetupScreen::SetupScreen(DatumerState& state, ui::DialogService& dialogs, char separator,
                         QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint),
      state_(state),
      dialogs_(dialogs),
      separator_(separator) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QString::fromUtf8(kConversionCaption));
    InitDatumPresets(state_);
    state_.SelectedPreset = 1;
    buildControls();
    showPreset();
}

void SetupScreen::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        ui::makeLabel(this, "Программа предназначена для пересчёта геодезических координат путём"));
    layout->addWidget(ui::makeLabel(
        this, "7-параметрического преобразования. Могут быть выбраны особые параметры"));
    layout->addWidget(
        ui::makeLabel(this, "преобразования, а также исходного и целевого эллипсоидов."));

    auto* choiceGroup = makeGroup(this, " ВЫБОР ПРЕОБРАЗОВАНИЯ ", "GroupBox1");
    auto* choiceLayout = new QVBoxLayout(choiceGroup);
    presetList_ = ui::makeList(choiceGroup, "ComboBox1");
    presetList_->setMaxVisibleItems(14);
    QStringList lines;
    for (int i = 1; i <= kPresetCount; ++i) lines << ui::fromUtf8(PresetListText(state_, i));
    ui::setListItems(*presetList_, lines, 0);
    choiceLayout->addWidget(presetList_);
    layout->addWidget(choiceGroup);

    layout->addWidget(buildParameterGroup());
    layout->addWidget(buildEllipsoidGroup());

    auto* version = ui::makeLabel(this, std::string("ver ") + kProgramVersion, "Label_Version");
    layout->addWidget(version, 0, Qt::AlignRight);
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    restartButton_ = ui::makeButton(this, "Всё заново", "Button1");
    proceedButton_ = ui::makeButton(this, "Далее", "Button2");
    exitButton_ = ui::makeButton(this, "Выход", "Button3");
    buttons->addWidget(restartButton_);
    buttons->addStretch(1);
    buttons->addWidget(proceedButton_);
    buttons->addWidget(exitButton_);
    layout->addLayout(buttons);

    ui::pressMainButtonOnEnter(*this, proceedButton_);
    connect(presetList_, &QComboBox::currentIndexChanged, this, &SetupScreen::presetChosen);
    connect(restartButton_, &QPushButton::clicked, this, &SetupScreen::restartClicked);
    connect(proceedButton_, &QPushButton::clicked, this, &SetupScreen::proceedClicked);
    connect(exitButton_, &QPushButton::clicked, this, &SetupScreen::exitClicked);
}

// Fields 1..7: shifts, rotations and scale, three to a row.
QWidget* SetupScreen::buildParameterGroup() {
    auto* group = makeGroup(this, " ПАРАМЕТРЫ ПРЕОБРАЗОВАНИЯ ", "GroupBox2");
    auto* grid = new QGridLayout(group);
    const std::array<const char*, 3> headings{
        "Сдвиг пространственных прямоугольных координат (метры)",
        "Поворот целевого эллипсоида относительно исходного (секунды)",
        "Масштабный коэффициент (*0,000001)"};
    int field = 1;
    for (int row = 0; row < 3; ++row) {
        auto* heading = ui::makeLabel(group, headings[static_cast<std::size_t>(row)]);
        if (row == 1) heading->setToolTip(ui::fromUtf8(RotationConventionText()));
        grid->addWidget(heading, row * 2, 0, 1, 6);
        const int inRow = row < 2 ? 3 : 1;
        for (int column = 0; column < inRow; ++column, ++field) {
            grid->addWidget(
                ui::makeLabel(group, kSetupFieldLabels[static_cast<std::size_t>(field - 1)]),
                row * 2 + 1, column * 2, Qt::AlignRight);
            grid->addWidget(makeField(field), row * 2 + 1, column * 2 + 1);
        }
    }
    return group;
}

// Fields 8..11: A and 1/F of the source and of the target ellipsoid, with their names.
QWidget* SetupScreen::buildEllipsoidGroup() {
    auto* group = makeGroup(this, " ПАРАМЕТРЫ ЭЛЛИПСОИДОВ ", "GroupBox3");
    auto* grid = new QGridLayout(group);
    sourceEllipsoidName_ = ui::makeLabel(group, "", "Label_SourceEllipsoid");
    targetEllipsoidName_ = ui::makeLabel(group, "", "Label_TargetEllipsoid");
    const std::array<std::pair<const char*, QLabel*>, 2> sides{
        std::pair{"Исходный эллипсоид:", sourceEllipsoidName_},
        std::pair{"Целевой эллипсоид:", targetEllipsoidName_}};
    int field = 8;
    for (int side = 0; side < 2; ++side) {
        const auto& [heading, nameLabel] = sides[static_cast<std::size_t>(side)];
        auto* headingRow = new QHBoxLayout;
        headingRow->addWidget(ui::makeLabel(group, heading));
        headingRow->addWidget(nameLabel, 1);
        grid->addLayout(headingRow, side * 2, 0, 1, 4);
        for (int column = 0; column < 2; ++column, ++field) {
            grid->addWidget(
                ui::makeLabel(group, kSetupFieldLabels[static_cast<std::size_t>(field - 1)]),
                side * 2 + 1, column * 2, Qt::AlignRight);
            grid->addWidget(makeField(field), side * 2 + 1, column * 2 + 1);
        }
    }
    return group;
}

ui::InputField* SetupScreen::makeField(int field) {
    auto* edit = new ui::InputField(this);
    edit->setObjectName(QStringLiteral("Edit%1").arg(field));
    edit->setFixedWidth(kFieldWidth);
    // Only the user preset's fields are parsed; the others show fixed values.
    edit->setChecker([this, field](const std::string& text) -> std::optional<bool> {
        if (showingPreset_) return std::nullopt;
        const FieldEdit result = EditUserPresetField(state_, field, text);
        if (result == FieldEdit::Ignored) return std::nullopt;
        return result == FieldEdit::Accepted;
    });
    connect(edit, &ui::InputField::checked, this, &SetupScreen::updateProceedEnabled);
    fields_[static_cast<std::size_t>(field - 1)] = edit;
    return edit;
}

// Fills the screen from the selected preset: its values, editability and ellipsoid names.
void SetupScreen::showPreset() {
    const int preset = state_.SelectedPreset;
    const auto values = SetupFieldValues(state_, preset);
    const bool editable = preset == kUserPreset;
    showingPreset_ = true;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        fields_[i]->setText(ui::fromUtf8(SetupFieldText(values[i], separator_)));
        fields_[i]->setEditable(editable);
        fields_[i]->showValid(true);
    }
    showingPreset_ = false;
    // The shown texts are the preset's accepted values.
    state_.SetupInputValid.fill(true);
    const TCHSK& p = PresetAt(state_, preset);
    sourceEllipsoidName_->setText(ui::fromUtf8(EllipsoidAt(state_, p.SourceEll).Name));
    targetEllipsoidName_->setText(ui::fromUtf8(EllipsoidAt(state_, p.TargetEll).Name));
    proceedButton_->setEnabled(true);
}

void SetupScreen::presetChosen(int index) {
    state_.SelectedPreset = index + 1;
    showPreset();
}

void SetupScreen::restartClicked() {
    InitDatumPresets(state_);
    ui::selectQuietly(*presetList_, 0);
    state_.SelectedPreset = 1;
    showPreset();
}

void SetupScreen::proceedClicked() {
    if (const auto failure = ValidatePreset(state_)) {
        dialogs_.warning(QString::fromUtf8(kWarningCaption), ui::fromUtf8(*failure));
        return;
    }
    hide();
    emit proceeded();
}

void SetupScreen::exitClicked() {
    close();
}

void SetupScreen::updateProceedEnabled() {
    proceedButton_->setEnabled(common::AllInputsValid(state_.SetupInputValid));
}

void SetupScreen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    proceedButton_->setFocus();
}

void SetupScreen::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

}  // namespace datumer
