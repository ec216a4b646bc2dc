#include "datumer/ui/program.hpp"

#include <QApplication>
#include <initializer_list>

#include "datumer/ui/batch_formats.hpp"
#include "datumer/ui/extra_dialog.hpp"
#include "datumer/ui/height_precision_dialog.hpp"
#include "datumer/ui/point_screen.hpp"
#include "datumer/ui/setup_screen.hpp"
#include "datumer/version.hpp"
#include "ui/batch_screen.hpp"
#include "ui/dialog_service.hpp"
#include "ui/screen_parts.hpp"
#include "ui/startup.hpp"

namespace datumer {
namespace {

// The point screen and the extra dialog take the set-up screen's size, which is at least
// 450 × 550 and as large as the largest of them (and the batch screen) needs for its texts.
void giveScreenSize(std::initializer_list<QWidget*> windows, const QWidget& batch) {
    QSize size = QSize(kScreenWidth, kScreenHeight).expandedTo(batch.minimumSizeHint());
    for (QWidget* window : windows) size = size.expandedTo(ui::neededSize(*window));
    for (QWidget* window : windows) ui::fixSize(*window, size.width(), size.height());
}

}  // namespace

QString InformationText() {
    return QStringLiteral(
               "Datumer %1, тест-версия от 24.IV.2008\n\n"
               "Прототип профессионального геокалькулятора, бета-тестирование "
               "(пересчёт B1,L1,H1 <=> B2,L2,H2).\n\n"
               "Результаты работы программы пользователь может использовать на свой "
               "страх и риск.\n\n"
               "Авторский коллектив не несёт ответственности за возможные недоработки "
               "и ошибки.\n\n"
               "Замечания и предложения в течение 2008 года просим направлять по "
               "адресу datumer@example.org")
        .arg(QString::fromLatin1(kProgramVersion));
}

DatumerProgram::DatumerProgram(ui::DialogService& dialogs, char separator)
    : state_(MakeDatumerState()) {
    setup_ = std::make_unique<SetupScreen>(state_, dialogs, separator);
    point_ = std::make_unique<PointScreen>(state_, dialogs, separator);
    extra_ = std::make_unique<ExtraParametersDialog>(state_, separator);
    // The batch screen is created before the dialog it shows for point lists.
    batch_ = std::make_unique<ui::BatchScreen>(
        DatumerBatchFormats(state_, [this](QWidget* parent) { return heights_->confirm(parent); }),
        dialogs);
    batch_->setObjectName(QStringLiteral("TForm4"));
    heights_ = std::make_unique<HeightPrecisionDialog>(state_);
    point_->setDialogs(extra_.get(), batch_.get());
    giveScreenSize({setup_.get(), point_.get(), extra_.get()}, *batch_);
    ui::fitBatchScreen(*batch_, setup_->size());
    ui::centreOnScreen(*setup_);

    SetupScreen* setup = setup_.get();
    PointScreen* point = point_.get();
    QObject::connect(setup, &SetupScreen::proceeded, point, [setup, point] {
        ui::takePlaceOf(*point, *setup);
        point->show();
    });
    QObject::connect(point, &PointScreen::backRequested, setup, [setup, point] {
        ui::takePlaceOf(*setup, *point);
        setup->show();
    });
    QObject::connect(point, &PointScreen::closed, setup, [setup] { setup->close(); });
    QObject::connect(setup, &SetupScreen::closed, [] { QApplication::quit(); });
}

DatumerProgram::~DatumerProgram() = default;

std::unique_ptr<DatumerProgram> StartDatumer(ui::DialogService& dialogs, QSize screenSize,
                                             char separator) {
    if (!ui::checkScreenAndGreet(dialogs, screenSize, InformationText())) return nullptr;
    QApplication::setApplicationName(QStringLiteral("Datumer"));
    auto program = std::make_unique<DatumerProgram>(dialogs, separator);
    program->setupScreen().show();
    return program;
}

}  // namespace datumer
