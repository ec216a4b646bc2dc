#include "gridwise/ui/gridwise_windows.hpp"

#include <QApplication>
#include <QStringList>

#include "gridwise/convert_formats.hpp"
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
    for (int number = 1; number <= kBatchFormatCount; ++number) {
        ui::BatchFormat format;
        format.info = GridwiseBatchFormat(number);
        format.refusal = [this, number] { return std::string(SelectRefusal(number, state_)); };
        format.confirmOptions = [this, number](QWidget* parent) {
            return confirmOptions(number, parent);
        };
        format.makeConverter = [this, number] { return MakeConverter(number, state_); };
        format.summaryLine = [this, number] { return SummaryLine(number, state_); };
        formats.push_back(std::move(format));
    }
    return formats;
}

bool GridwiseWindows::confirmOptions(int batchFormat, QWidget* /*parent*/) {
    QDialog* dialog = nullptr;
    switch (batchFormat) {
        case kFormatPointList:
            dialog = fullPrecision_.get();
            break;
        case kFormatNomenclature:
            dialog = nomenclature_.get();
            break;
        case kFormatSk42ToSk63:
            dialog = extraParams_.get();
            break;
        case kFormatSk63ToSk42:
            dialog = planePrecision_.get();
            break;
        default:
            dialog = mapShift_.get();
            break;
    }
    state_.OptionsConfirmed = false;
    dialog->setResult(0);
    dialog->exec();
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
