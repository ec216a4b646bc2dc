#include "datumer/ui/point_screen.hpp"

#include "datumer/ui/extra_dialog.hpp"

#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "common/text.hpp"
#include "datumer/geodesy/presets.hpp"
#include "datumer/ui/setup_screen.hpp"
#include "ui/dialog_service.hpp"
#include "ui/field_look.hpp"
#include "ui/input_field.hpp"
#include "ui/qt_text.hpp"
#include "ui/screen_parts.hpp"

namespace datumer {
namespace {

constexpr const char* kNoFormatLine = "Формат координат: -";
constexpr int kDegreeFieldWidth = 120;
constexpr int kMinuteFieldWidth = 40;
constexpr int kSecondFieldWidth = 90;

// Degree sign, apostrophe and seconds mark are shown in a larger font.
QLabel* unitLabel(QWidget* parent, std::string_view text) {
    QLabel* label = ui::makeLabel(parent, text);
    QFont font = label->font();
    font.setPointSize(12);
    label->setFont(font);
    return label;
}

QGroupBox* makeGroup(QWidget* parent, const char* name) {
    auto* group = new QGroupBox(parent);
    group->setObjectName(QString::fromLatin1(name));
    return group;
}

// A button with its explanation beside it.
QHBoxLayout* explainedButton(QWidget* parent, QPushButton* button, std::string_view text) {
    auto* row = new QHBoxLayout;
    row->addWidget(button);
    row->addWidget(ui::makeLabel(parent, text), 1);
    return row;
}

QString groupCaption(std::string_view head, const std::string& systemName) {
    return ui::fromUtf8(std::string(head) + systemName + ") ");
}

}  // namespace

PointScreen::PointScreen(DatumerState& state, ui::DialogService& dialogs, char separator,
                         QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint),
      state_(state),
      dialogs_(dialogs),
      separator_(separator) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QString::fromUtf8(kConversionCaption));
    buildControls();
    ResetPointState(state_);
    setSourceMode(AngleFormat::DegMinSec);
    setInputStage();
}

void PointScreen::setDialogs(QDialog* extraDialog, QDialog* batchScreen) {
    extraDialog_ = extraDialog;
    batchScreen_ = batchScreen;
}

void PointScreen::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ui::makeLabel(
        this, "При нажатии кнопки \"Всё заново\" Вы можете заново задать координаты точки"));
    layout->addWidget(ui::makeLabel(
        this, "в исходной СК. Конвертирование координат большого количества точек можно"));
    layout->addWidget(ui::makeLabel(this, "выполнить в режиме пересчёта файлов."));

    layout->addWidget(buildSourceGroup());
    computeButton_ = ui::makeButton(this, "ПЕРЕСЧЁТ", "Button1", false);
    layout->addLayout(explainedButton(this, computeButton_,
                                      "Конвертирование координат из исходной СК в целевую"));
    layout->addWidget(buildTargetGroup());

    extraButton_ = ui::makeButton(this, "Дополнительно", "Button2", false);
    filesButton_ = ui::makeButton(this, "Пересчёт файлов", "Button3", false);
    const int explainedWidth =
        std::max(extraButton_->sizeHint().width(), filesButton_->sizeHint().width());
    for (QPushButton* b : {computeButton_, extraButton_, filesButton_})
        b->setFixedWidth(explainedWidth);
    layout->addLayout(explainedButton(this, extraButton_,
                                      "Номенклатура и прочие дополнительные параметры точки"));
    layout->addLayout(explainedButton(this, filesButton_,
                                      "Конвертирование координат в файлах текстовых форматов"));
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    restartButton_ = ui::makeButton(this, "Всё заново", "Button4");
    backButton_ = ui::makeButton(this, "Назад", "Button5");
    exitButton_ = ui::makeButton(this, "Выход", "Button6");
    buttons->addWidget(restartButton_);
    buttons->addStretch(1);
    buttons->addWidget(backButton_);
    buttons->addWidget(exitButton_);
    layout->addLayout(buttons);

    ui::pressMainButtonOnEnter(*this, computeButton_);
    ui::addCopyAction({sourceGroup_, targetGroup_}, [this] { return resultText(); });
    connect(computeButton_, &QPushButton::clicked, this, &PointScreen::computeClicked);
    connect(extraButton_, &QPushButton::clicked, this, &PointScreen::extraClicked);
    connect(filesButton_, &QPushButton::clicked, this, &PointScreen::filesClicked);
    connect(restartButton_, &QPushButton::clicked, this, &PointScreen::restartClicked);
    connect(backButton_, &QPushButton::clicked, this, &PointScreen::backClicked);
    connect(exitButton_, &QPushButton::clicked, this, &PointScreen::exitClicked);
}

// Edits 1..7 with the source format and hemisphere lists.
QGroupBox* PointScreen::buildSourceGroup() {
    sourceGroup_ = makeGroup(this, "GroupBox1");
    auto* grid = new QGridLayout(sourceGroup_);
    sourceFormat_ = ui::makeList(sourceGroup_, "ComboBox1");
    ui::setListItems(*sourceFormat_, ui::itemList(common::kAngleFormatItems), 0);
    grid->addWidget(sourceFormat_, 0, 0, 1, 8);
    latitudeHemisphere_ = ui::makeList(sourceGroup_, "ComboBox2");
    ui::setListItems(*latitudeHemisphere_, {QStringLiteral("с.ш."), QStringLiteral("ю.ш.")});
    longitudeHemisphere_ = ui::makeList(sourceGroup_, "ComboBox3");
    ui::setListItems(*longitudeHemisphere_, {QStringLiteral("в.д."), QStringLiteral("з.д.")});
    addAngleRow(*grid, 1, "B", 1, latitudeHemisphere_);
    addAngleRow(*grid, 2, "L", 4, longitudeHemisphere_);
    addHeightRow(*grid, 3, 7);

    for (int field = 1; field <= kPointFieldCount; ++field) {
        ui::InputField* edit = edits_[static_cast<std::size_t>(field - 1)];
        edit->setChecker([this, field](const std::string& text) -> std::optional<bool> {
            const FieldEdit result = EditPointField(state_, field, sourceMode(), text);
            if (result == FieldEdit::Ignored) return std::nullopt;
            return result == FieldEdit::Accepted;
        });
        connect(edit, &ui::InputField::checked, this, &PointScreen::updateComputeEnabled);
    }
    connect(sourceFormat_, &QComboBox::currentIndexChanged, this, &PointScreen::sourceFormatChosen);
    return sourceGroup_;
}

// Read-only edits 8..14 with the target format and the result hemisphere lists.
QGroupBox* PointScreen::buildTargetGroup() {
    targetGroup_ = makeGroup(this, "GroupBox2");
    auto* grid = new QGridLayout(targetGroup_);
    targetFormat_ = ui::makeList(targetGroup_, "ComboBox4");
    grid->addWidget(targetFormat_, 0, 0, 1, 8);
    resultLatitudeHemisphere_ = ui::makeList(targetGroup_, "ComboBox5");
    resultLongitudeHemisphere_ = ui::makeList(targetGroup_, "ComboBox6");
    addAngleRow(*grid, 1, "B", 8, resultLatitudeHemisphere_);
    addAngleRow(*grid, 2, "L", 11, resultLongitudeHemisphere_);
    addHeightRow(*grid, 3, 14);
    for (std::size_t i = 7; i < edits_.size(); ++i) edits_[i]->setEditable(false);
    // All four hemisphere lists as wide as the widest source list, whatever line they hold.
    const int hemisphereWidth =
        std::max(latitudeHemisphere_->sizeHint().width(), longitudeHemisphere_->sizeHint().width());
    for (QComboBox* list : {latitudeHemisphere_, longitudeHemisphere_, resultLatitudeHemisphere_,
                            resultLongitudeHemisphere_})
        list->setFixedWidth(hemisphereWidth);
    for (QComboBox* list : {resultLatitudeHemisphere_, resultLongitudeHemisphere_})
        ui::setListEnabled(*list, false);
    connect(targetFormat_, &QComboBox::currentIndexChanged, this, &PointScreen::targetFormatChosen);
    return targetGroup_;
}

// "B" or "L", degrees °, minutes ', seconds " and the hemisphere list.
void PointScreen::addAngleRow(QGridLayout& grid, int row, const char* axis, int firstEdit,
                              QComboBox* hemisphere) {
    QWidget* group = grid.parentWidget();
    grid.addWidget(ui::makeLabel(group, axis), row, 0);
    ui::InputField* degrees = makeEdit(firstEdit);
    ui::InputField* minutes = makeEdit(firstEdit + 1);
    ui::InputField* seconds = makeEdit(firstEdit + 2);
    degrees->setFixedWidth(kDegreeFieldWidth);
    minutes->setFixedWidth(kMinuteFieldWidth);
    seconds->setFixedWidth(kSecondFieldWidth);
    grid.addWidget(degrees, row, 1);
    grid.addWidget(unitLabel(group, "°"), row, 2);
    grid.addWidget(minutes, row, 3);
    grid.addWidget(unitLabel(group, "'"), row, 4);
    grid.addWidget(seconds, row, 5);
    grid.addWidget(unitLabel(group, "\""), row, 6);
    grid.addWidget(hemisphere, row, 7);
}

// "H", the height edit and its unit; the last row of a group.
void PointScreen::addHeightRow(QGridLayout& grid, int row, int editNumber) {
    QWidget* group = grid.parentWidget();
    grid.addWidget(ui::makeLabel(group, "H"), row, 0);
    grid.addWidget(makeEdit(editNumber), row, 1);
    grid.addWidget(ui::makeLabel(group, "м    (эллипсоидальная высота)"), row, 2, 1, 6);
    grid.setColumnStretch(8, 1);
}

ui::InputField* PointScreen::makeEdit(int number) {
    auto* edit = new ui::InputField(this);
    edit->setObjectName(QStringLiteral("Edit%1").arg(number));
    edit->setFixedWidth(kDegreeFieldWidth);
    edits_[static_cast<std::size_t>(number - 1)] = edit;
    return edit;
}

AngleFormat PointScreen::sourceMode() const {
    return sourceFormat_->currentIndex() == 1 ? AngleFormat::Decimal : AngleFormat::DegMinSec;
}

// Start texts of the input fields for a source format; setting them runs their checks.
void PointScreen::setSourceMode(AngleFormat mode) {
    ResetPointState(state_);
    const bool decimal = mode == AngleFormat::Decimal;
    ui::selectQuietly(*sourceFormat_, decimal ? 1 : 0);  // the checks below parse in this format
    for (std::size_t i : {0u, 3u}) {
        edits_[i]->setText(QStringLiteral("0"));
        edits_[i]->setEditable(true);
    }
    for (std::size_t i : {1u, 2u, 4u, 5u}) {
        edits_[i]->setText(decimal ? QStringLiteral("-") : QStringLiteral("00"));
        edits_[i]->setEditable(!decimal);
    }
    edits_[6]->setText(QStringLiteral("0"));
    edits_[6]->setEditable(true);
    for (std::size_t i = 0; i < kPointFieldCount; ++i) edits_[i]->showValid(true);
    updateComputeEnabled();
}

void PointScreen::setInputStage() {
    ui::selectQuietly(*sourceFormat_, 0);
    ui::setListEnabled(*sourceFormat_, true);
    ui::setListItems(*targetFormat_, {QString::fromUtf8(kNoFormatLine)});
    ui::setListEnabled(*targetFormat_, false);
    for (QComboBox* list : {latitudeHemisphere_, longitudeHemisphere_}) {
        ui::setListEnabled(*list, true);
        ui::selectQuietly(*list, 0);
    }
    for (QComboBox* list : {resultLatitudeHemisphere_, resultLongitudeHemisphere_})
        ui::setListItems(*list, {QStringLiteral("-")});
    for (std::size_t i = 7; i < edits_.size(); ++i) edits_[i]->setText(QStringLiteral("-"));
    extraButton_->setEnabled(false);
}

void PointScreen::setResultStage() {
    for (std::size_t i = 0; i < kPointFieldCount; ++i) edits_[i]->setEditable(false);
    for (QComboBox* list : {sourceFormat_, latitudeHemisphere_, longitudeHemisphere_})
        ui::setListEnabled(*list, false);
    extraButton_->setEnabled(true);
    ui::setListItems(*targetFormat_, ui::itemList(common::kAngleFormatItems), 0);
    ui::setListEnabled(*targetFormat_, true);
}

// Both points as shown and, once computed, the sheet names in both systems and the local shifts
// of the extra dialog; one "caption value" line each.
QString PointScreen::resultText() const {
    const auto point = [this](const QGroupBox& group, std::size_t first, const QComboBox& north,
                              const QComboBox& east) {
        const auto angle = [&](const char* axis, std::size_t edit, const QComboBox& hemisphere) {
            QString value = edits_[edit]->text() + QStringLiteral("°");
            if (edits_[edit + 1]->text() != QStringLiteral("-"))
                value += QStringLiteral(" %1' %2\"")
                             .arg(edits_[edit + 1]->text(), edits_[edit + 2]->text());
            return QString::fromLatin1(axis) + QStringLiteral(" : ") + value + QLatin1Char(' ') +
                   hemisphere.currentText();
        };
        return QStringList{
            group.title().trimmed(), angle("B", first, north), angle("L", first + 3, east),
            QStringLiteral("H : ") + edits_[first + 6]->text() + QStringLiteral(" м")};
    };
    QStringList lines =
        point(*sourceGroup_, 0, *latitudeHemisphere_, *longitudeHemisphere_) +
        point(*targetGroup_, 7, *resultLatitudeHemisphere_, *resultLongitudeHemisphere_);
    if (extraButton_->isEnabled()) {
        const auto sheets = [&lines](const char* heading, const common::TNom& nom) {
            lines << QString::fromUtf8(heading);
            const std::array<const std::string*, 4> names{&nom.Sheet1M, &nom.Sheet500k,
                                                          &nom.Sheet200k, &nom.Sheet10k};
            for (std::size_t i = 0; i < names.size(); ++i)
                lines << ui::fromUtf8(kSheetRowLabels[i]) + QLatin1Char(' ') +
                             ui::fromUtf8(*names[i]);
        };
        sheets(kSourceSheetsHeading, state_.SourceNom);
        sheets(kTargetSheetsHeading, state_.TargetNom);
        const auto shifts = ShiftTexts(state_.PointShift, separator_);
        for (std::size_t i = 0; i < shifts.size(); ++i)
            lines << ui::fromUtf8(kShiftRowLabels[i]) + QLatin1Char(' ') + ui::fromUtf8(shifts[i]);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void PointScreen::showResult(AngleFormat format) {
    const ResultTexts texts = ShowResultTexts(state_.Point, format, separator_);
    ui::setListItems(*resultLatitudeHemisphere_, {ui::fromUtf8(texts.LatitudeHemisphere)});
    ui::setListItems(*resultLongitudeHemisphere_, {ui::fromUtf8(texts.LongitudeHemisphere)});
    for (std::size_t i = 0; i < texts.Edits.size(); ++i)
        edits_[7 + i]->setText(ui::fromUtf8(texts.Edits[i]));
}

void PointScreen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;  // restored by the window system, not shown by the program
    const TCHSK& preset = PresetAt(state_, state_.SelectedPreset);
    sourceGroup_->setTitle(groupCaption(" КООРДИНАТЫ ТОЧКИ В ИСХОДНОЙ СК (", preset.SourceName));
    targetGroup_->setTitle(groupCaption(" КООРДИНАТЫ ТОЧКИ В ЦЕЛЕВОЙ СК (", preset.TargetName));
    computeButton_->setEnabled(true);
    computeButton_->setFocus();
    EnterPointScreen(state_);
    setSourceMode(AngleFormat::DegMinSec);
    setInputStage();
}

void PointScreen::sourceFormatChosen(int index) {
    setSourceMode(index == 1 ? AngleFormat::Decimal : AngleFormat::DegMinSec);
}

void PointScreen::computeClicked() {
    const bool southern = latitudeHemisphere_->currentIndex() == 1;
    const bool western = longitudeHemisphere_->currentIndex() == 1;
    if (const auto failure = ComputePoint(state_, sourceMode(), southern, western)) {
        dialogs_.warning(QString::fromUtf8(kWarningCaption), ui::fromUtf8(*failure));
        return;
    }
    computeButton_->setEnabled(false);
    setResultStage();
    showResult(AngleFormat::DegMinSec);
}

void PointScreen::targetFormatChosen(int index) {
    showResult(index == 1 ? AngleFormat::Decimal : AngleFormat::DegMinSec);
}

void PointScreen::extraClicked() {
    if (extraDialog_) extraDialog_->exec();
}

void PointScreen::filesClicked() {
    if (batchScreen_) batchScreen_->exec();
}

void PointScreen::restartClicked() {
    ResetPointState(state_);
    computeButton_->setEnabled(true);
    setSourceMode(AngleFormat::DegMinSec);
    setInputStage();
}

void PointScreen::backClicked() {
    hide();
    emit backRequested();
}

void PointScreen::exitClicked() {
    close();
}

void PointScreen::updateComputeEnabled() {
    computeButton_->setEnabled(common::AllInputsValid(state_.PointInputValid));
}

void PointScreen::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

}  // namespace datumer
