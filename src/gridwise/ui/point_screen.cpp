#include "gridwise/ui/point_screen.hpp"

#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gridwise/rules/setup_rules.hpp"
#include "ui/batch_screen.hpp"
#include "ui/dialog_service.hpp"
#include "ui/field_look.hpp"
#include "ui/input_field.hpp"
#include "ui/qt_text.hpp"
#include "ui/screen_parts.hpp"

namespace gridwise {
namespace {

constexpr std::string_view kToPlaneText = "Геодезические координаты - в плоские прямоугольные";
constexpr std::string_view kToGeoText = "Плоские прямоугольные координаты - в геодезические";

const QString kDash = ui::fromUtf8(kNoValue);

QString numberedName(const char* prefix, int number) {
    return QString::fromLatin1(prefix) + QString::number(number);
}

QLabel* boldLabel(QWidget* parent, std::string_view text, int number) {
    QLabel* label = ui::makeLabel(parent, text);
    label->setObjectName(numberedName("Label", number));
    ui::makeBold(*label);
    return label;
}

QLabel* numberedLabel(QWidget* parent, std::string_view text, int number) {
    QLabel* label = ui::makeLabel(parent, text);
    label->setObjectName(numberedName("Label", number));
    return label;
}

}  // namespace

PointScreen::PointScreen(GridwiseState& state, ui::DialogService& dialogs, QWidget& setupScreen,
                         QWidget* parent)
    : QWidget(parent), state_(state), dialogs_(dialogs), setupScreen_(setupScreen) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(setupScreen.windowTitle());
    buildControls();
    ResetPointState(state_);
    prepareFields();
}

void PointScreen::buildControls() {
    auto* layout = new QVBoxLayout(this);
    int staticNumber = 1;
    for (const char* line :
         {"ППК рассчитываются для левой прямоугольной системы координат, где ось x",
          "направлена на север, ось y - на восток. Конвертирование координат",
          "большого количества точек можно выполнить в режиме пересчёта файлов."}) {
        QLabel* text = ui::makeLabel(this, line);
        text->setObjectName(numberedName("StaticText", staticNumber++));
        layout->addWidget(text);
    }
    // The geodetic and the plane point side by side, the compute button under both: the screen
    // stays within the height of a small screen.
    auto* points = new QHBoxLayout;
    points->addWidget(buildGeoGroup(), 3);
    points->addWidget(buildPlaneGroup(), 2);
    layout->addLayout(points);

    auto* computeRow = new QHBoxLayout;
    computeButton_ = ui::makeButton(this, "РАСЧЁТ", "Button4");
    directionLabel_ = numberedLabel(this, "", 9);
    computeRow->addWidget(computeButton_);
    computeRow->addWidget(directionLabel_, 1);
    layout->addLayout(computeRow);
    for (const char* line :
         {"Номенклатура листа топокарты выводится на основе международной",
          "разграфки ISNS (International Sheet Name System). Если точка лежит на стыке",
          "листов, то выводится номенклатура более северного/восточного листа."}) {
        QLabel* text = ui::makeLabel(this, line);
        text->setObjectName(numberedName("StaticText", staticNumber++));
        layout->addWidget(text);
    }

    // Two halves of caption / value label pairs.
    auto valueGroup = [this](const char* name, const char* title,
                             std::span<const std::string_view> captions, int firstLabel,
                             std::array<QLabel*, 4>& values) {
        auto* group = new QGroupBox(ui::fromUtf8(title), this);
        group->setObjectName(QString::fromLatin1(name));
        auto* grid = new QGridLayout(group);
        for (int row = 0; row < 4; ++row) {
            grid->addWidget(
                numberedLabel(group, captions[static_cast<std::size_t>(row)], firstLabel + 2 * row),
                row, 0);
            QLabel* value = numberedLabel(group, kNoValue, firstLabel + 2 * row + 1);
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            grid->addWidget(value, row, 1);
            values[static_cast<std::size_t>(row)] = value;
        }
        grid->setColumnStretch(1, 1);
        return group;
    };
    auto* halves = new QHBoxLayout;
    halves->addWidget(valueGroup("GroupBox3", " НОМЕНКЛАТУРА ", kSheetCaptions, 15, sheetValues_),
                      1);
    halves->addWidget(valueGroup("GroupBox4", " ПРОЧЕЕ ", kAuxCaptions, 23, auxValues_), 1);
    layout->addLayout(halves);

    auto* filesRow = new QHBoxLayout;
    QPushButton* filesButton = ui::makeButton(this, "Пересчёт файлов", "Button5", false);
    filesRow->addWidget(filesButton);
    filesRow->addWidget(
        numberedLabel(this, "Конвертирование координат в файлах текстовых форматов", 14), 1);
    layout->addLayout(filesRow);
    layout->addStretch(1);

    QPushButton* resetButton = ui::makeButton(this, "Всё заново", "Button1");
    QPushButton* backButton = ui::makeButton(this, "Назад", "Button2");
    QPushButton* exitButton = ui::makeButton(this, "Выход", "Button3");
    layout->addLayout(ui::evenButtonRow({resetButton, backButton, exitButton}));

    ui::pressMainButtonOnEnter(*this, computeButton_);
    QList<QWidget*> groups;
    for (const char* name : {"GroupBox1", "GroupBox2", "GroupBox3", "GroupBox4"})
        groups << findChild<QWidget*>(QString::fromLatin1(name));
    ui::addCopyAction({groups[0], groups[1], groups[2], groups[3]},
                      [this] { return resultText(); });
    connect(computeButton_, &QPushButton::clicked, this, &PointScreen::computeClicked);
    connect(resetButton, &QPushButton::clicked, this, &PointScreen::resetClicked);
    connect(backButton, &QPushButton::clicked, this, &PointScreen::backClicked);
    connect(exitButton, &QPushButton::clicked, this, &PointScreen::exitClicked);
    connect(filesButton, &QPushButton::clicked, this, &PointScreen::filesClicked);
    connect(formatList_, &QComboBox::currentIndexChanged, this, &PointScreen::angleFormatChanged);
}

QGroupBox* PointScreen::buildGeoGroup() {
    auto* group = new QGroupBox(QStringLiteral(" ГЕОДЕЗИЧЕСКИЕ КООРДИНАТЫ "), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(group);
    formatList_ = ui::makeList(group, "ComboBox1");
    grid->addWidget(formatList_, 0, 0, 1, 8);

    const int degreeWidth = fontMetrics().horizontalAdvance(QStringLiteral("000.00000000000"));
    const int minuteWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000"));
    const int secondWidth = fontMetrics().horizontalAdvance(QStringLiteral("00.0000000"));
    // One row: axis label, degrees, "°", minutes, "'", seconds, the double quote, hemisphere.
    auto angleRow = [&](int row, std::string_view axis, int firstLabel, int firstEdit,
                        QComboBox*& hemisphere, const char* listName) {
        grid->addWidget(boldLabel(group, axis, firstLabel), row, 0);
        const std::array<std::string_view, 3> signs{"°", "'", "\""};
        const std::array<int, 3> widths{degreeWidth, minuteWidth, secondWidth};
        for (int part = 0; part < 3; ++part) {
            const int field = firstEdit + part;
            auto* edit = new ui::InputField(group);
            edit->setObjectName(numberedName("Edit", field));
            edit->setFixedWidth(widths[static_cast<std::size_t>(part)]);
            edit->setChecker([this, field](const std::string& text) -> std::optional<bool> {
                return fieldChanged(field, text);
            });
            edits_[static_cast<std::size_t>(field - 1)] = edit;
            grid->addWidget(edit, row, 1 + 2 * part);
            grid->addWidget(
                numberedLabel(group, signs[static_cast<std::size_t>(part)], firstLabel + 1 + part),
                row, 2 + 2 * part);
        }
        hemisphere = ui::makeList(group, listName);
        grid->addWidget(hemisphere, row, 7);
    };
    angleRow(1, "B", 1, 1, latitudeList_, "ComboBox2");
    angleRow(2, "L", 5, 4, longitudeList_, "ComboBox3");
    grid->setColumnStretch(8, 1);
    return group;
}

QGroupBox* PointScreen::buildPlaneGroup() {
    auto* group = new QGroupBox(QStringLiteral(" ПЛОСКИЕ ПРЯМОУГОЛЬНЫЕ КООРДИНАТЫ "), this);
    group->setObjectName(QStringLiteral("GroupBox2"));
    auto* grid = new QGridLayout(group);
    const int width = fontMetrics().horizontalAdvance(QStringLiteral("-00000000000.00000"));
    auto planeRow = [&](int row, std::string_view axis, int firstLabel, int field) {
        grid->addWidget(boldLabel(group, axis, firstLabel), row, 0);
        auto* edit = new ui::InputField(group);
        edit->setObjectName(numberedName("Edit", field));
        edit->setFixedWidth(width);
        edit->setChecker([this, field](const std::string& text) -> std::optional<bool> {
            return fieldChanged(field, text);
        });
        edits_[static_cast<std::size_t>(field - 1)] = edit;
        grid->addWidget(edit, row, 1);
        grid->addWidget(numberedLabel(group, "м", firstLabel + 1), row, 2);
    };
    planeRow(0, "x", 10, 7);
    planeRow(1, "y", 12, 8);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(3, 1);
    return group;
}

AngleFormat PointScreen::angleFormat() const {
    return formatList_->currentIndex() == 1 ? AngleFormat::Decimal : AngleFormat::DegMinSec;
}

bool PointScreen::fieldChanged(int field, std::string_view text) {
    const bool valid = EditPointField(state_, field, angleFormat(), text);
    updateComputeEnabled();
    return valid;
}

// The point and everything computed for it, one "caption value" line each, as shown.
QString PointScreen::resultText() const {
    const bool dms = angleFormat() == AngleFormat::DegMinSec;
    const auto angle = [&](const char* axis, int first, const QComboBox& hemisphere) {
        QString value = edits_[first]->text() + QStringLiteral("°");
        if (dms)
            value += QStringLiteral(" %1' %2\"")
                         .arg(edits_[first + 1]->text(), edits_[first + 2]->text());
        return QString::fromLatin1(axis) + QStringLiteral(" : ") + value + QLatin1Char(' ') +
               hemisphere.currentText();
    };
    QStringList lines{directionLabel_->text(), angle("B", 0, *latitudeList_),
                      angle("L", 3, *longitudeList_),
                      QStringLiteral("x : ") + edits_[6]->text() + QStringLiteral(" м"),
                      QStringLiteral("y : ") + edits_[7]->text() + QStringLiteral(" м")};
    for (std::size_t row = 0; row < 4; ++row)
        lines << ui::fromUtf8(kSheetCaptions[row]) + QLatin1Char(' ') + sheetValues_[row]->text();
    for (std::size_t row = 0; row < 4; ++row)
        lines << ui::fromUtf8(kAuxCaptions[row]) + QLatin1Char(' ') + auxValues_[row]->text();
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void PointScreen::updateComputeEnabled() {
    computeButton_->setEnabled(PointInputsValid(state_));
}

void PointScreen::prepareFields() {
    for (QLabel* value : sheetValues_) value->setText(kDash);
    for (QLabel* value : auxValues_) value->setText(kDash);
    if (state_.DirectionToPlane) {
        ui::setListItems(*formatList_, ui::itemList(kAngleFormatItems));
        ui::setListEnabled(*formatList_, true);
        for (int field = 1; field <= 6; ++field) edits_[field - 1]->setEditable(true);
        ui::setListItems(*latitudeList_, ui::itemList(std::array{kNorth, kSouth}));
        ui::setListItems(*longitudeList_, ui::itemList(std::array{kEast, kWest}));
        ui::setListEnabled(*latitudeList_, true);
        ui::setListEnabled(*longitudeList_, true);
        for (int field = 7; field <= 8; ++field) {
            edits_[field - 1]->setEditable(false);
            edits_[field - 1]->setText(kDash);
        }
        showAngles(AngleFormat::DegMinSec);
    } else {
        ui::setListItems(*formatList_, {kDash});
        ui::setListEnabled(*formatList_, false);
        for (int field = 1; field <= 6; ++field) {
            edits_[field - 1]->setEditable(false);
            edits_[field - 1]->setText(kDash);
        }
        for (QComboBox* list : {latitudeList_, longitudeList_}) {
            ui::setListItems(*list, {kDash});
            ui::setListEnabled(*list, false);
        }
        edits_[6]->setEditable(true);
        edits_[7]->setEditable(true);
        edits_[6]->setText(ui::generalText(state_.Point.PlanePoint.x));
        edits_[7]->setText(ui::generalText(state_.Point.PlanePoint.y));
    }
    for (ui::InputField* edit : edits_) edit->showValid(true);
    state_.PointValid = state_.DefaultValid;
    computeButton_->setEnabled(true);
}

void PointScreen::showAngles(AngleFormat format) {
    common::TDegMinSec& pointB = state_.Point.PointB;
    common::TDegMinSec& pointL = state_.Point.PointL;
    const common::TDegMinSec savedB = pointB;
    const common::TDegMinSec savedL = pointL;
    const char separator = ui::systemDecimalSeparator();
    auto show = [&](const common::TDegMinSec& angle, int firstField) {
        if (format == AngleFormat::DegMinSec) {
            const DmsTexts texts = DmsAngleTexts(angle, separator);
            edits_[firstField - 1]->setText(ui::fromUtf8(texts.deg));
            edits_[firstField]->setText(ui::fromUtf8(texts.min));
            edits_[firstField + 1]->setText(ui::fromUtf8(texts.sec));
        } else {
            edits_[firstField - 1]->setText(ui::fromUtf8(DecimalAngleText(angle.Value, separator)));
            edits_[firstField]->setText(kDash);
            edits_[firstField + 1]->setText(kDash);
        }
    };
    show(savedB, 1);
    show(savedL, 4);
    if (latitudeList_->count() == 2) ui::selectQuietly(*latitudeList_, savedB.Value >= 0 ? 0 : 1);
    if (longitudeList_->count() == 2) ui::selectQuietly(*longitudeList_, savedL.Value >= 0 ? 0 : 1);
    pointB = savedB;
    pointL = savedL;
    if (state_.Point.ResultShown) computeButton_->setEnabled(false);
}

void PointScreen::angleFormatChanged(int index) {
    if (index < 0) return;
    const AngleFormat format = index == 1 ? AngleFormat::Decimal : AngleFormat::DegMinSec;
    if (!state_.Point.ResultShown) {
        for (int field : {2, 3, 5, 6})
            edits_[field - 1]->setEditable(format == AngleFormat::DegMinSec);
        ResetPointState(state_);
    }
    showAngles(format);
}

void PointScreen::computeClicked() {
    const AngleFormat format = angleFormat();
    PointResult result;
    const std::string failure = ComputePoint(state_, format, latitudeList_->currentIndex() == 1,
                                             longitudeList_->currentIndex() == 1, result);
    if (!failure.empty()) {
        dialogs_.warning(ui::fromUtf8(kRangeMessageCaption), ui::fromUtf8(failure));
        return;
    }
    if (state_.DirectionToPlane) {
        lockGeoInput(format);
    } else {
        edits_[6]->setEditable(false);
        edits_[7]->setEditable(false);
        if (result.ok) showGeoResult();
    }
    showResult(result);
}

void PointScreen::lockGeoInput(AngleFormat format) {
    for (QComboBox* list : {formatList_, latitudeList_, longitudeList_})
        ui::setListEnabled(*list, false);
    edits_[0]->setEditable(false);
    edits_[3]->setEditable(false);
    if (format == AngleFormat::DegMinSec) {
        for (int field : {2, 3, 5, 6}) edits_[field - 1]->setEditable(false);
    }
}

// After x,y -> B,L: the format list becomes active and the computed point is shown in
// degrees-minutes-seconds with its hemispheres.
void PointScreen::showGeoResult() {
    ui::setListItems(*formatList_, ui::itemList(kAngleFormatItems));
    ui::setListEnabled(*formatList_, true);
    showAngles(AngleFormat::DegMinSec);
    const GeoCoords& point = state_.Point.CalcPoint;
    ui::setListItems(*latitudeList_, {ui::fromUtf8(point.B >= 0 ? kNorth : kSouth)});
    ui::setListItems(*longitudeList_, {ui::fromUtf8(point.L >= 0 ? kEast : kWest)});
}

void PointScreen::showResult(const PointResult& result) {
    const PointTexts texts = FormatPointResult(
        result, state_.DirectionToPlane, state_.Work.AddZoneNumber, ui::systemDecimalSeparator());
    if (state_.DirectionToPlane) {
        edits_[6]->setText(ui::fromUtf8(texts.x));
        edits_[7]->setText(ui::fromUtf8(texts.y));
        if (result.ok) {
            edits_[6]->showValid(true);
            edits_[7]->showValid(true);
        }
    } else if (!result.ok) {
        edits_[0]->setText(ui::fromUtf8(kCalculationError));
        edits_[3]->setText(ui::fromUtf8(kCalculationError));
    }
    if (result.ok) {
        for (std::size_t row = 0; row < 4; ++row) {
            sheetValues_[row]->setText(ui::fromUtf8(texts.sheets[row]));
        }
        auxValues_[0]->setText(ui::fromUtf8(texts.scale));
        auxValues_[1]->setText(ui::fromUtf8(texts.convergence));
        auxValues_[2]->setText(ui::fromUtf8(texts.dsh));
        auxValues_[3]->setText(ui::fromUtf8(texts.areaDistortion));
    }
    computeButton_->setEnabled(false);
}

void PointScreen::showEvent(QShowEvent* event) {
    ui::takePlaceOf(*this, setupScreen_);
    directionLabel_->setText(ui::fromUtf8(state_.DirectionToPlane ? kToPlaneText : kToGeoText));
    ResetPointState(state_);
    prepareFields();
    computeButton_->setEnabled(true);
    computeButton_->setFocus();
    QWidget::showEvent(event);
}

void PointScreen::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) setupScreen_.close();
}

void PointScreen::resetClicked() {
    ResetPointState(state_);
    prepareFields();
}

void PointScreen::backClicked() {
    ui::takePlaceOf(setupScreen_, *this);
    hide();
    setupScreen_.show();
}

void PointScreen::exitClicked() {
    close();
}

void PointScreen::filesClicked() {
    if (!batchScreen_) return;
    batchScreen_->setResult(0);
    batchScreen_->exec();
}

}  // namespace gridwise
