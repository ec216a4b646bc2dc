#include "gridwise/ui/setup_screen.hpp"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gridwise/rules/setup_rules.hpp"
#include "gridwise/version.hpp"
#include "ui/dialog_service.hpp"
#include "ui/field_look.hpp"
#include "ui/input_field.hpp"
#include "ui/qt_text.hpp"
#include "ui/screen_parts.hpp"

namespace gridwise {
namespace {

constexpr int kWidth = 450;
constexpr int kHeight = 550;

QStringList sk63ZoneItems() {
    QStringList items;
    for (int zone = 1; zone <= kSk63ZoneCount; ++zone) items << QString::number(zone);
    return items;
}

QStringList falseEastingItems() {
    QStringList items;
    for (double value : kFalseEastingItems) items << ui::generalText(value);
    return items;
}

const QString kDash = QStringLiteral("-");

}  // namespace

SetupScreen::SetupScreen(GridwiseState& state, ui::DialogService& dialogs, QWidget* parent)
    : QWidget(parent), state_(state), dialogs_(dialogs) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral(" Расчёт плоских прямоугольных координат"));
    buildControls();
    fillSystemList();
    fillProjectionAndDirection();
    ApplySystem(state_, state_.CurrentSystem);
    showAppliedSystem();
    ui::fixSize(*this, kWidth, kHeight);
    ui::centreOnScreen(*this);
}

ui::InputField* SetupScreen::field(const char* name,
                                   bool (*edit)(GridwiseState&, std::string_view)) {
    auto* input = new ui::InputField(this);
    input->setObjectName(QString::fromLatin1(name));
    input->setChecker([this, edit](const std::string& text) -> std::optional<bool> {
        const bool valid = edit(state_, text);
        updateNextEnabled();
        return valid;
    });
    return input;
}

void SetupScreen::buildControls() {
    auto* layout = new QVBoxLayout(this);
    for (const char* line :
         {"Программа предназначена для расчёта координат в равноугольных поперечно-",
          "цилиндрических проекциях Гаусса-Крюгера и UTM. Могут быть выбраны особые",
          "параметры референц-эллипсоида и сдвига ППК."}) {
        layout->addWidget(ui::makeLabel(this, line));
    }

    auto boxWithList = [&](const char* title, QComboBox*& list, const char* name) {
        auto* box = new QGroupBox(ui::fromUtf8(title), this);
        auto* boxLayout = new QVBoxLayout(box);
        list = ui::makeList(box, name);
        boxLayout->addWidget(list);
        layout->addWidget(box);
    };
    boxWithList(" НАПРАВЛЕНИЕ РАСЧЁТА ", directionList_, "DirectionList");
    boxWithList(" КАРТОГРАФИЧЕСКАЯ ПРОЕКЦИЯ ", projectionList_, "ProjectionList");
    boxWithList(" СИСТЕМА КООРДИНАТ ", systemList_, "SystemList");

    // Two halves side by side, so the screen stays within the height of a small screen: the
    // zone and meridian on the left, the false origin and the ellipsoid on the right.
    auto* params = new QGroupBox(QStringLiteral(" ПАРАМЕТРЫ РАСЧЁТА "), this);
    auto* grid = new QGridLayout(params);
    zoneList_ = ui::makeList(params, "ZoneList");
    algorithmList_ = ui::makeList(params, "AlgorithmList");
    ui::setListItems(*algorithmList_, ui::itemList(kAlgorithmItems));
    auto* lists = new QHBoxLayout;
    lists->addWidget(zoneList_, 1);
    lists->addWidget(algorithmList_, 1);
    grid->addLayout(lists, 0, 0, 1, 4);

    zoneCheckBox_ = new QCheckBox(params);
    zoneCheckBox_->setObjectName(QStringLiteral("ZoneCheckBox"));
    grid->addWidget(zoneCheckBox_, 1, 0, 1, 2);

    sk63ZoneList_ = ui::makeList(params, "Sk63ZoneList");
    grid->addWidget(ui::makeLabel(params, "Номер зоны СК63 :"), 2, 0);
    grid->addWidget(sk63ZoneList_, 2, 1, Qt::AlignLeft);

    meridianDegrees_ = field("MeridianDegreesEdit", EditMeridianDegrees);
    meridianMinutes_ = field("MeridianMinutesEdit", EditMeridianMinutes);
    meridianSeconds_ = new ui::InputField(params);
    meridianSeconds_->setObjectName(QStringLiteral("MeridianSecondsEdit"));
    hemisphereList_ = ui::makeList(params, "HemisphereList");
    auto* meridian = new QHBoxLayout;
    const int angleWidth = fontMetrics().horizontalAdvance(QStringLiteral("00000"));
    for (auto [edit, sign] : {std::pair{meridianDegrees_, "°"}, std::pair{meridianMinutes_, "'"},
                              std::pair{meridianSeconds_, "\""}}) {
        edit->setFixedWidth(angleWidth);
        meridian->addWidget(edit);
        meridian->addWidget(ui::makeLabel(params, sign));
    }
    meridian->addWidget(hemisphereList_);
    meridian->addStretch(1);
    grid->addWidget(ui::makeLabel(params, "Долгота центр. меридиана зоны СК63 :"), 3, 0, 1, 2);
    grid->addLayout(meridian, 4, 0, 1, 2);

    falseNorthing_ = field("FalseNorthingEdit", EditFalseNorthing);
    grid->addWidget(ui::makeLabel(params, "False Northing (м) :"), 1, 2);
    grid->addWidget(falseNorthing_, 1, 3);

    falseEastingList_ = new QComboBox(params);
    falseEastingList_->setObjectName(QStringLiteral("FalseEastingList"));
    falseEastingList_->setEditable(true);
    falseEastingList_->setInsertPolicy(QComboBox::NoInsert);
    falseEasting_ = field("FalseEastingEdit", EditFalseEasting);
    falseEastingList_->setLineEdit(falseEasting_);
    grid->addWidget(ui::makeLabel(params, "False Easting (м) :"), 2, 2);
    grid->addWidget(falseEastingList_, 2, 3);

    ellipsoidName_ = ui::makeLabel(params, "", "EllipsoidNameLabel");
    grid->addWidget(ui::makeLabel(params, "Референц-эллипсоид :"), 3, 2);
    grid->addWidget(ellipsoidName_, 3, 3);

    semiMajorAxis_ = field("SemiMajorAxisEdit", EditSemiMajorAxis);
    grid->addWidget(ui::makeLabel(params, "Бол. полуось (м) :"), 4, 2);
    grid->addWidget(semiMajorAxis_, 4, 3);
    invFlattening_ = field("InvFlatteningEdit", EditInvFlattening);
    grid->addWidget(ui::makeLabel(params, "Обратное сжатие:"), 5, 2);
    grid->addWidget(invFlattening_, 5, 3);
    grid->setColumnMinimumWidth(1, angleWidth);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* version =
        new QLabel(QStringLiteral("ver ") + QString::fromLatin1(kProgramVersion), params);
    version->setObjectName(QStringLiteral("VersionLabel"));
    grid->addWidget(version, 6, 3, Qt::AlignRight);
    layout->addWidget(params);
    layout->addStretch(1);

    resetButton_ = ui::makeButton(this, "Всё заново", "ResetButton");
    nextButton_ = ui::makeButton(this, "Далее", "NextButton");
    exitButton_ = ui::makeButton(this, "Выход", "ExitButton");
    layout->addLayout(ui::evenButtonRow({resetButton_, nextButton_, exitButton_}));

    ui::pressMainButtonOnEnter(*this, nextButton_);
    connect(directionList_, &QComboBox::currentIndexChanged, this, &SetupScreen::directionChosen);
    connect(projectionList_, &QComboBox::currentIndexChanged, this, &SetupScreen::projectionChosen);
    connect(systemList_, &QComboBox::currentIndexChanged, this, &SetupScreen::systemChosen);
    connect(zoneList_, &QComboBox::currentIndexChanged, this, &SetupScreen::zoneChosen);
    connect(algorithmList_, &QComboBox::currentIndexChanged, this, &SetupScreen::algorithmChosen);
    connect(sk63ZoneList_, &QComboBox::currentIndexChanged, this, &SetupScreen::sk63ZoneChosen);
    connect(zoneCheckBox_, &QCheckBox::clicked, this, &SetupScreen::zoneCheckBoxClicked);
    connect(resetButton_, &QPushButton::clicked, this, &SetupScreen::resetClicked);
    connect(nextButton_, &QPushButton::clicked, this, &SetupScreen::nextClicked);
    connect(exitButton_, &QPushButton::clicked, this, &SetupScreen::exitClicked);
}

void SetupScreen::fillSystemList() {
    QStringList items;
    for (const std::string& entry : FillSystemList(state_, state_.Work.Utm))
        items << ui::fromUtf8(entry);
    ui::setListItems(*systemList_, items, state_.CurrentSystemRecord().ListPosition - 1);
}

void SetupScreen::fillProjectionAndDirection() {
    ui::setListItems(*projectionList_, ui::itemList(kProjectionItems), state_.Work.Utm ? 1 : 0);
    ui::setListItems(*directionList_, ui::itemList(kDirectionItems),
                     state_.DirectionToPlane ? 0 : 1);
}

// Mirrors in the controls what ApplySystem (or a choice that applies a system) wrote.
void SetupScreen::showAppliedSystem() {
    const SetupControls controls = DescribeSetupControls(state_);
    ellipsoidName_->setText(ui::fromUtf8(controls.ellipsoidName));

    zoneCheckBox_->setText(ui::fromUtf8(controls.zoneCheckCaption));
    zoneCheckBox_->setChecked(state_.Work.AddZoneNumber);
    zoneCheckBox_->setEnabled(controls.zoneCheckEnabled);

    showSk63ZoneList(controls.sk63ZoneListEnabled);

    QStringList zoneItems = ui::itemList(kZoneItems);
    if (!controls.zoneChoiceEnabled) zoneItems = zoneItems.mid(0, 1);
    ui::setListItems(*zoneList_, zoneItems);
    ui::setListEnabled(*zoneList_, controls.zoneChoiceEnabled);

    showFalseOrigin(controls.falseOriginEditable);

    semiMajorAxis_->setEditable(controls.ellipsoidEditable);
    invFlattening_->setEditable(controls.ellipsoidEditable);
    semiMajorAxis_->setText(ui::generalText(state_.Work.Ell.A));
    invFlattening_->setText(ui::generalText(state_.Work.Ell.InvFlattening));

    showMeridian(controls.meridianEditable);
    updateNextEnabled();
}

void SetupScreen::showSk63ZoneList(bool enabled) {
    ui::setListItems(*sk63ZoneList_, enabled ? sk63ZoneItems() : QStringList{kDash});
    ui::setListEnabled(*sk63ZoneList_, enabled);
}

void SetupScreen::showFalseOrigin(bool editable) {
    const double easting = state_.Work.FalseEasting;
    QStringList items{ui::generalText(easting)};
    int index = 0;
    if (editable) {
        items = falseEastingItems();
        index = FalseEastingItemIndex(easting);
        if (index < 0) {
            items << ui::generalText(easting);
            index = static_cast<int>(items.size()) - 1;
        }
    }
    ui::setListItems(*falseEastingList_, items, index);
    // The quiet fill did not reach the line edit's check; the shown value is the one in Work.
    falseEasting_->setText(items[index]);
    falseEasting_->setEditable(editable);
    ui::setListEnabled(*falseEastingList_, editable);

    falseNorthing_->setEditable(editable);
    falseNorthing_->setText(ui::generalText(state_.Work.FalseNorthing));
}

void SetupScreen::showMeridian(bool editable) {
    for (ui::InputField* edit : {meridianDegrees_, meridianMinutes_, meridianSeconds_}) {
        edit->setEnabled(editable);
        edit->setEditable(false);
    }
    if (editable) {
        meridianDegrees_->setEditable(true);
        meridianMinutes_->setEditable(true);
        meridianDegrees_->setText(QString::number(state_.DefaultMeridianDM.Deg));
        meridianMinutes_->setText(QString::number(state_.DefaultMeridianDM.Min));
        meridianSeconds_->setEnabled(true);
        meridianSeconds_->setText(QStringLiteral("0"));
        ui::setListItems(*hemisphereList_,
                         ui::itemList(std::array<std::string_view, 2>{"в.д.", "з.д."}));
    } else {
        for (ui::InputField* edit : {meridianDegrees_, meridianMinutes_, meridianSeconds_})
            edit->setText(kDash);
        ui::setListItems(*hemisphereList_, {kDash});
    }
    ui::setListEnabled(*hemisphereList_, editable);
}

void SetupScreen::updateNextEnabled() {
    if (nextButton_) nextButton_->setEnabled(SetupInputsValid(state_));
}

void SetupScreen::showEvent(QShowEvent* event) {
    ChooseAlgorithm(state_, kClassicSeries);
    ui::selectQuietly(*algorithmList_, 0);
    nextButton_->setFocus();
    QWidget::showEvent(event);
}

void SetupScreen::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) emit closed();
}

void SetupScreen::directionChosen(int index) {
    ChooseDirection(state_, index == 0);
    showAppliedSystem();
}

void SetupScreen::projectionChosen(int index) {
    if (ChooseProjection(state_, index == 1)) {
        ui::selectQuietly(*directionList_, 0);
        showAppliedSystem();
    }
    fillSystemList();
}

void SetupScreen::systemChosen(int index) {
    ChooseSystem(state_, index + 1);
    showAppliedSystem();
}

void SetupScreen::zoneChosen(int index) {
    if (index >= 0) ChooseZoneItem(state_, index);
}

void SetupScreen::algorithmChosen(int index) {
    if (index >= 0) ChooseAlgorithm(state_, index);
}

void SetupScreen::sk63ZoneChosen(int index) {
    if (index >= 0 && sk63ZoneList_->isEnabled()) ChooseSk63ZoneItem(state_, index);
}

void SetupScreen::zoneCheckBoxClicked(bool checked) {
    showSk63ZoneList(ClickZoneCheckBox(state_, checked));
}

void SetupScreen::resetClicked() {
    StartAgain(state_);
    fillSystemList();
    fillProjectionAndDirection();
    ui::selectQuietly(*algorithmList_, 0);
    showAppliedSystem();
}

void SetupScreen::nextClicked() {
    const bool western = hemisphereList_->currentIndex() == 1;
    const std::string failure = ProceedFromSetup(state_, western);
    if (!failure.empty()) {
        dialogs_.warning(ui::fromUtf8(kRangeMessageCaption), ui::fromUtf8(failure));
        return;
    }
    hide();
    if (pointScreen_) pointScreen_->show();
}

void SetupScreen::exitClicked() {
    close();
}

}  // namespace gridwise
