#include "datumer/ui/extra_dialog.hpp"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <utility>

#include "datumer/rules/point_rules.hpp"
#include "datumer/ui/setup_screen.hpp"
#include "ui/qt_text.hpp"
#include "ui/screen_parts.hpp"

namespace datumer {
namespace {

QLabel* valueLabel(QWidget* parent, QString name) {
    QLabel* label = ui::makeLabel(parent, "");
    label->setObjectName(std::move(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

ExtraParametersDialog::ExtraParametersDialog(const DatumerState& state, char separator,
                                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      state_(state),
      separator_(separator) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("Дополнительные параметры"));
    setModal(true);
    buildControls();
}

void ExtraParametersDialog::buildControls() {
    auto* layout = new QVBoxLayout(this);
    for (const char* line :
         {"Номенклатура листа топокарты выводится на основе международной",
          "разграфки ISNS (International Sheet Name System). Если точка лежит на стыке",
          "листов, то выводится номенклатура более северного/восточного листа."})
        layout->addWidget(ui::makeLabel(this, line));

    auto* sheets = new QGroupBox(QStringLiteral(" НОМЕНКЛАТУРА "), this);
    sheets->setObjectName(QStringLiteral("GroupBox1"));
    auto* sheetGrid = new QGridLayout(sheets);
    addSheetRows(*sheetGrid, 0, kSourceSheetsHeading, sourceSheets_);
    addSheetRows(*sheetGrid, 5, kTargetSheetsHeading, targetSheets_);
    sheetGrid->setColumnStretch(1, 1);
    layout->addWidget(sheets);

    for (const char* line :
         {"3-параметрическое преобразование координат - упрощённый способ, даёт",
          "приемлемую точность пересчёта лишь в ближайших окрестностях точки, для",
          "которой даны величины dX, dY, dZ. Часто используется в GPS-навигаторах."})
        layout->addWidget(ui::makeLabel(this, line));

    auto* shiftGroup =
        new QGroupBox(QStringLiteral(" ПАРАМЕТРЫ 3-ПАРАМЕТРИЧЕСКОГО ПРЕОБРАЗОВАНИЯ "), this);
    shiftGroup->setObjectName(QStringLiteral("GroupBox2"));
    auto* shiftGrid = new QGridLayout(shiftGroup);
    for (std::size_t i = 0; i < shifts_.size(); ++i) {
        const int row = static_cast<int>(i);
        shiftGrid->addWidget(ui::makeLabel(shiftGroup, kShiftRowLabels[i]), row, 0);
        shifts_[i] = valueLabel(shiftGroup, QStringLiteral("Label_Shift%1").arg(row + 1));
        shiftGrid->addWidget(shifts_[i], row, 1);
    }
    shiftGrid->setColumnStretch(1, 1);
    layout->addWidget(shiftGroup);
    layout->addStretch(1);

    QPushButton* close = ui::makeButton(this, "Закрыть", "Button1");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    ui::pressMainButtonOnEnter(*this, close);
    connect(close, &QPushButton::clicked, this, &ExtraParametersDialog::closeClicked);
}

// An underlined heading and the four scale rows.
void ExtraParametersDialog::addSheetRows(QGridLayout& grid, int firstRow, const char* heading,
                                         std::array<QLabel*, 4>& names) {
    QWidget* group = grid.parentWidget();
    QLabel* title = ui::makeLabel(group, heading);
    QFont font = title->font();
    font.setUnderline(true);
    title->setFont(font);
    grid.addWidget(title, firstRow, 0, 1, 2);
    const QString prefix =
        firstRow == 0 ? QStringLiteral("Label_Source") : QStringLiteral("Label_Target");
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int row = firstRow + 1 + static_cast<int>(i);
        grid.addWidget(ui::makeLabel(group, kSheetRowLabels[i]), row, 0);
        names[i] = valueLabel(group, prefix + QStringLiteral("Sheet%1").arg(i + 1));
        grid.addWidget(names[i], row, 1);
    }
}

void ExtraParametersDialog::showValues() {
    const auto nameTexts = [](const common::TNom& nom) {
        return std::array<std::string, 4>{nom.Sheet1M, nom.Sheet500k, nom.Sheet200k, nom.Sheet10k};
    };
    const auto source = nameTexts(state_.SourceNom);
    const auto target = nameTexts(state_.TargetNom);
    for (std::size_t i = 0; i < 4; ++i) {
        sourceSheets_[i]->setText(ui::fromUtf8(source[i]));
        targetSheets_[i]->setText(ui::fromUtf8(target[i]));
    }
    const auto shifts = ShiftTexts(state_.PointShift, separator_);
    for (std::size_t i = 0; i < shifts_.size(); ++i) shifts_[i]->setText(ui::fromUtf8(shifts[i]));
}

void ExtraParametersDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    showValues();
    ui::centreOnActiveWindow(*this);
}

void ExtraParametersDialog::closeClicked() {
    accept();
}

}  // namespace datumer
