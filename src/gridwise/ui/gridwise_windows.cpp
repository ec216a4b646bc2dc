#include "gridwise/ui/gridwise_windows.hpp"

#include <QApplication>
#include <QStringList>

#include "gridwise/files/formats.hpp"
#include "gridwise/ui/option_dialogs.hpp"
#include "gridwise/ui/point_screen.hpp"
#include "gridwise/ui/setup_screen.hpp"
#include "ui/dialog_service.hpp"
#include "ui/screen_parts.hpp"
#include "ui/startup.hpp"

namespace gridwise {

QString StartInformation() {
    return QStringList{
        QStringLiteral("Gridwise 0.97, тест-версия от 23.VI.2008"),
        QStringLiteral("Прототип профессионального геокалькулятора, бета-тестирование (пересчёт "
                       "B,L <=> x,y)."),
        QStringLiteral(
            "Результаты работы программы пользователь может использовать на свой страх и риск."),
        QStringLiteral(
            "Авторский коллектив не несёт ответственности за возможные недоработки и ошибки."),
        QStringLiteral("Замечания и предложения просим присылать по адресу "
                       "gridwise-feedback@example.org")}
        .join(QStringLiteral("\n\n"));
}

GridwiseWindows::GridwiseWindows(GridwiseState& state, ui::DialogService& dialogs) : state_(state) {
    setup_ = std::make_unique<SetupScreen>(state, dialogs);
    point_ = std::make_unique<PointScreen>(state, dialogs, *setup_);
    batch_ = std::make_unique<ui::BatchScreen>(batchFormats(), dialogs);
    batch_->setObjectName(QStringLiteral("TForm3"));
    extraParams_ = std::make_unique<ExtraParamsDialog>(state);
    nomenclature_ = std::make_unique<NomenclatureDialog>(state);
    mapShift_ = std::make_unique<MapShiftDialog>(state);
    planePrecision_ = std::make_unique<PrecisionDialog>(state, false);
    fullPrecision_ = std::make_unique<PrecisionDialog>(state, true);
    setup_->setPointScreen(point_.get());
    point_->setBatchScreen(batch_.get());

    // The set-up and point screens appear as one window; the batch screen takes their size.
    const QSize size = ui::neededSize(*setup_)
                           .expandedTo(ui::neededSize(*point_))
                           .expandedTo(batch_->minimumSizeHint());
    ui::fixSize(*setup_, size.width(), size.height());
    ui::fixSize(*point_, size.width(), size.height());
    ui::fitBatchScreen(*batch_, setup_->size());
    ui::centreOnScreen(*setup_);
}

GridwiseWindows::~GridwiseWindows() = default;

std::vector<ui::BatchFormat> GridwiseWindows::batchFormats() {
    std::vector<ui::BatchFormat> formats;
    for (const GridwiseFormat& entry : GridwiseFormats()) {
        const GridwiseFormat* f = &entry;
        ui::BatchFormat format;
        format.info = f->Info;
        format.refusal = [this, f] { return std::string(f->Refusal(state_)); };
        format.confirmOptions = [this, f](QWidget* /*parent*/) {
            return confirmOptions(optionsDialog(f->Options));
        };
        format.makeConverter = [this, f] { return MakeConverter(*f, state_); };
        format.summaryLine = [this, f] { return f->Summary(state_); };
        formats.push_back(std::move(format));
    }
    return formats;
}

QDialog& GridwiseWindows::optionsDialog(FormatOptions options) {
    switch (options) {
        case FormatOptions::Precision:
            return *fullPrecision_;
        case FormatOptions::Nomenclature:
            return *nomenclature_;
        case FormatOptions::Sk42ToSk63:
            return *extraParams_;
        case FormatOptions::PlanePrecision:
            return *planePrecision_;
        case FormatOptions::MapShift:
            return *mapShift_;
    }
    return *fullPrecision_;  // unreachable: every enumerator is handled above
}

bool GridwiseWindows::confirmOptions(QDialog& dialog) {
    state_.OptionsConfirmed = false;
    dialog.setResult(0);
    dialog.exec();
    return state_.OptionsConfirmed;
}

std::unique_ptr<GridwiseWindows> StartGridwise(GridwiseState& state, ui::DialogService& dialogs,
                                               QSize screen) {
    if (!ui::checkScreenAndGreet(dialogs, screen, StartInformation())) return nullptr;
    QApplication::setApplicationName(QStringLiteral("Gridwise"));
    auto windows = std::make_unique<GridwiseWindows>(state, dialogs);
    QObject::connect(&windows->setup(), &SetupScreen::closed, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    windows->setup().show();
    return windows;
}

}  // namespace gridwise
