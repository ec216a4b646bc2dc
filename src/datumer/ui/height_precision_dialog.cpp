#include "datumer/ui/height_precision_dialog.hpp"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "ui/screen_parts.hpp"

namespace datumer {
namespace {

constexpr int kDialogWidth = 320;
constexpr int kDialogHeight = 300;
constexpr int kHeightListWidth = 200;
// The lists run from the most decimals down: index 0 is 10 (angles) and 4 (heights).
constexpr int kMostAngleDecimals = 10;
constexpr int kMostHeightDecimals = 4;
constexpr std::uint8_t kDefaultAnglePrecision = 10;
constexpr std::uint8_t kDefaultHeightPrecision = 3;

}  // namespace

HeightPrecisionDialog::HeightPrecisionDialog(DatumerState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), state_(state) {
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral(" Параметры пересчёта B1, L1, H1 => B2, L2, H2"));
    setModal(true);
    buildControls();
    ui::fixSize(*this, kDialogWidth, kDialogHeight);
}

void HeightPrecisionDialog::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ui::makeLabel(this, "Укажите систему высот в целевом файле:"), 0,
                      Qt::AlignHCenter);
    heightList_ = ui::makeList(this, "ComboBox1");
    ui::setListItems(*heightList_, {QStringLiteral("Нормальные высоты"),
                                    QStringLiteral("Эллипсоидальные высоты")});
    heightList_->setFixedWidth(kHeightListWidth);
    layout->addWidget(heightList_, 0, Qt::AlignHCenter);
    for (const char* line :
         {"В случае выбора нормальных высот в качестве",
          "исходной эллипсоидальной высоты используется",
          "исходная нормальная высота, в целевой файл", "пишется исходная нормальная высота"})
        layout->addWidget(ui::makeLabel(this, line), 0, Qt::AlignHCenter);

    auto* grid = new QGridLayout;
    angleList_ = ui::makeList(this, "ComboBox2");
    ui::setListItems(*angleList_, {QStringLiteral("10"), QStringLiteral("9"), QStringLiteral("8"),
                                   QStringLiteral("7")});
    heightDecimalsList_ = ui::makeList(this, "ComboBox3");
    ui::setListItems(*heightDecimalsList_,
                     {QStringLiteral("4"), QStringLiteral("3"), QStringLiteral("2")});
    const int listWidth = angleList_->sizeHint().width();
    angleList_->setFixedWidth(listWidth);
    heightDecimalsList_->setFixedWidth(listWidth);
    grid->addWidget(ui::makeLabel(this, "Точность вывода B2, L2 :"), 0, 0, Qt::AlignRight);
    grid->addWidget(angleList_, 0, 1);
    grid->addWidget(ui::makeLabel(this, "Точность вывода H2 :"), 1, 0, Qt::AlignRight);
    grid->addWidget(heightDecimalsList_, 1, 1);
    auto* centred = new QHBoxLayout;
    centred->addStretch(1);
    centred->addLayout(grid);
    centred->addStretch(1);
    layout->addSpacing(8);
    layout->addLayout(centred);
    layout->addStretch(1);

    okButton_ = ui::makeButton(this, "OK", "Button1");
    layout->addWidget(okButton_, 0, Qt::AlignHCenter);
    ui::pressMainButtonOnEnter(*this, okButton_);
    connect(okButton_, &QPushButton::clicked, this, &HeightPrecisionDialog::okClicked);
}

bool HeightPrecisionDialog::confirm(QWidget* /*parent*/) {
    // Application-modal, so it stands over the batch screen without being re-parented.
    state_.OptionsConfirmed = false;
    exec();
    return state_.OptionsConfirmed;
}

void HeightPrecisionDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    state_.HeightMode = kNormalHeights;
    state_.AnglePrecision = kDefaultAnglePrecision;
    state_.HeightPrecision = kDefaultHeightPrecision;
    ui::selectQuietly(*heightList_, 0);
    ui::selectQuietly(*angleList_, kMostAngleDecimals - kDefaultAnglePrecision);
    ui::selectQuietly(*heightDecimalsList_, kMostHeightDecimals - kDefaultHeightPrecision);
    okButton_->setFocus();
    ui::centreOnActiveWindow(*this);
}

void HeightPrecisionDialog::okClicked() {
    state_.HeightMode = heightList_->currentIndex() == 1 ? kEllipsoidalHeights : kNormalHeights;
    state_.AnglePrecision =
        static_cast<std::uint8_t>(kMostAngleDecimals - angleList_->currentIndex());
    state_.HeightPrecision =
        static_cast<std::uint8_t>(kMostHeightDecimals - heightDecimalsList_->currentIndex());
    state_.OptionsConfirmed = true;
    accept();
}

}  // namespace datumer
