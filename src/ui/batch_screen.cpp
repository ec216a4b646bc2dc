#include "ui/batch_screen.hpp"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>
#include <utility>

#include "ui/dialog_service.hpp"
#include "ui/field_look.hpp"
#include "ui/qt_text.hpp"
#include "ui/screen_parts.hpp"

namespace ui {
namespace {

QPlainTextEdit* readOnlyBox(QWidget* parent, const char* name, bool wrapLines) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setLineWrapMode(wrapLines ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    setReadOnlyBackground(*box);
    return box;
}

QLabel* countLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(QStringLiteral("0"), parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = label->font();
    font.setBold(true);
    font.setPointSize(11);
    label->setFont(font);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
    return label;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

void scrollToStart(QPlainTextEdit& box) {
    box.moveCursor(QTextCursor::Start);
    box.verticalScrollBar()->setValue(0);
    box.horizontalScrollBar()->setValue(0);
}

// Events are processed at most this often while a file is converted.
constexpr qint64 kEventIntervalMs = 50;

}  // namespace

void makeBold(QWidget& control) {
    QFont font = control.font();
    font.setBold(true);
    control.setFont(font);
}

BatchScreen::BatchScreen(std::vector<BatchFormat> formats, DialogService& dialogs, QWidget* parent)
    : QDialog(parent), formats_(std::move(formats)), dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("Конвертирование файлов"));
    setModal(true);
    buildControls();
    resetScreen();
}

void BatchScreen::buildControls() {
    auto* layout = new QVBoxLayout(this);
    for (const char* line :
         {"Файлы, содержащие пересчитанные координаты, создаются в подкаталоге",
          "\\RECALC исходного каталога с выбранными файлами. Пересчитанные файлы",
          "имеют то же имя, расширение и формат, что и исходные файлы."}) {
        layout->addWidget(new QLabel(QString::fromUtf8(line), this));
    }

    auto* formatGroup = new QGroupBox(QStringLiteral(" ФОРМАТ ФАЙЛОВ "), this);
    auto* formatLayout = new QHBoxLayout(formatGroup);
    formatList_ = new QComboBox(formatGroup);
    formatList_->setObjectName(QStringLiteral("FormatList"));
    for (const BatchFormat& format : formats_) formatList_->addItem(fromUtf8(format.info.ListItem));
    helpBox_ = readOnlyBox(formatGroup, "HelpBox", false);
    formatLayout->addWidget(formatList_, 0, Qt::AlignTop);
    formatLayout->addWidget(helpBox_, 1);
    layout->addWidget(formatGroup, 2);

    auto* filesGroup = new QGroupBox(QStringLiteral(" ФАЙЛЫ НА ПЕРЕСЧЁТ "), this);
    auto* filesLayout = new QGridLayout(filesGroup);
    chooseButton_ = button(filesGroup, "ChooseButton", QStringLiteral("Выбрать"));
    selectedCountLabel_ = countLabel(filesGroup, "SelectedCountLabel");
    fileListBox_ = readOnlyBox(filesGroup, "FileListBox", false);
    fileListBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    filesLayout->addWidget(chooseButton_, 0, 0);
    filesLayout->addWidget(new QLabel(QStringLiteral("Выбрано файлов:"), filesGroup), 0, 1);
    filesLayout->addWidget(selectedCountLabel_, 0, 2);
    filesLayout->setColumnStretch(3, 1);
    filesLayout->addWidget(fileListBox_, 1, 0, 1, 4);
    // The files and the run side by side, so the help, the file list and the log each show
    // many lines on a small screen.
    auto* lower = new QHBoxLayout;
    lower->addWidget(filesGroup, 1);

    auto* runGroup = new QGroupBox(QStringLiteral(" ПЕРЕСЧЁТ "), this);
    auto* runLayout = new QGridLayout(runGroup);
    runButton_ = button(runGroup, "RunButton", QStringLiteral("Запуск"));
    createdCountLabel_ = countLabel(runGroup, "CreatedCountLabel");
    // Long messages wrap, so none needs scrolling sideways.
    logBox_ = readOnlyBox(runGroup, "LogBox", true);
    fileProgress_ = new QProgressBar(runGroup);
    fileProgress_->setObjectName(QStringLiteral("FileProgress"));
    fileProgress_->setRange(0, 1000);
    fileProgress_->setTextVisible(false);
    fileProgress_->setMaximumHeight(fileProgress_->fontMetrics().height());
    runLayout->addWidget(runButton_, 0, 0);
    runLayout->addWidget(new QLabel(QStringLiteral("Создано файлов:"), runGroup), 0, 1);
    runLayout->addWidget(createdCountLabel_, 0, 2);
    runStatusLabel_ = new QLabel(runGroup);
    runStatusLabel_->setObjectName(QStringLiteral("RunStatusLabel"));
    runLayout->setColumnStretch(3, 1);
    runLayout->addWidget(logBox_, 1, 0, 1, 4);
    runLayout->addWidget(fileProgress_, 2, 0, 1, 4);
    runLayout->addWidget(runStatusLabel_, 3, 0, 1, 4);
    lower->addWidget(runGroup, 1);
    layout->addLayout(lower, 3);

    auto* buttons = new QHBoxLayout;
    resetButton_ = button(this, "ResetButton", QStringLiteral("Всё заново"));
    closeButton_ = button(this, "CloseButton", QStringLiteral("Закрыть"));
    makeBold(*resetButton_);
    makeBold(*closeButton_);
    buttons->addStretch(1);
    buttons->addWidget(resetButton_);
    buttons->addStretch(1);
    buttons->addWidget(closeButton_);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    pressMainButtonOnEnter(*this, nullptr);
    connect(formatList_, &QComboBox::currentIndexChanged, this, &BatchScreen::formatChanged);
    connect(chooseButton_, &QPushButton::clicked, this, &BatchScreen::chooseClicked);
    connect(runButton_, &QPushButton::clicked, this, &BatchScreen::runClicked);
    connect(resetButton_, &QPushButton::clicked, this, &BatchScreen::resetClicked);
    connect(closeButton_, &QPushButton::clicked, this, &BatchScreen::closeClicked);
}

void BatchScreen::resetScreen() {
    if (running_) return;
    createdCount_ = 0;
    selection_ = {};
    runActive_ = false;
    batchFormat_ = 1;
    {
        const QSignalBlocker block(formatList_);
        formatList_->setCurrentIndex(formats_.empty() ? -1 : 0);
    }
    setListEnabled(*formatList_, true);
    showHelp();
    fileListBox_->setPlainText(fromUtf8(common::kManyFilesHint));
    logBox_->clear();
    fileProgress_->setValue(0);
    selectedCountLabel_->setText(QStringLiteral("0"));
    createdCountLabel_->setText(QStringLiteral("0"));
    runStatusLabel_->clear();
    runButton_->setText(QStringLiteral("Запуск"));
    runButton_->setEnabled(false);
    chooseButton_->setEnabled(true);
    resetButton_->setEnabled(true);
    closeButton_->setEnabled(true);
    updateChooseEnabled();
}

void BatchScreen::showHelp() {
    QStringList lines;
    if (batchFormat_ >= 1 && static_cast<std::size_t>(batchFormat_) <= formats_.size()) {
        if (const std::string refusal = refusalOfFormat(); !refusal.empty())
            lines << fromUtf8(refusal) << QString();
        for (std::string_view line : formats_[static_cast<std::size_t>(batchFormat_ - 1)].info.Help)
            lines << fromUtf8(line);
    }
    helpBox_->setPlainText(lines.join(QLatin1Char('\n')));
    scrollToStart(*helpBox_);
}

std::string BatchScreen::refusalOfFormat() const {
    const BatchFormat& format = formats_[static_cast<std::size_t>(batchFormat_ - 1)];
    return format.refusal ? format.refusal() : std::string();
}

void BatchScreen::updateChooseEnabled() {
    if (batchFormat_ < 1 || static_cast<std::size_t>(batchFormat_) > formats_.size()) {
        chooseButton_->setEnabled(false);
        return;
    }
    chooseButton_->setEnabled(refusalOfFormat().empty());
}

void BatchScreen::showEvent(QShowEvent* event) {
    resetScreen();
    centreOnActiveWindow(*this);
    QDialog::showEvent(event);
}

void BatchScreen::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void BatchScreen::reject() {
    if (!running_) QDialog::reject();
}

void BatchScreen::formatChanged(int index) {
    batchFormat_ = index + 1;
    showHelp();
    updateChooseEnabled();
}

void BatchScreen::chooseClicked() {
    if (running_) return;
    const BatchFormat& format = formats_[static_cast<std::size_t>(batchFormat_ - 1)];
    const QStringList chosen =
        dialogs_.openFiles(this, QStringLiteral("Открыть"), fromUtf8(format.info.Filter));
    if (chosen.isEmpty()) return;
    repaint();
    if (format.confirmOptions && !format.confirmOptions(this)) return;

    std::vector<std::filesystem::path> paths;
    paths.reserve(static_cast<std::size_t>(chosen.size()));
    for (const QString& path : chosen) paths.push_back(toPath(path));
    selection_ = common::SelectFiles(paths);

    QStringList lines;
    for (const std::string& line : common::FileListLines(selection_)) lines << fromUtf8(line);
    fileListBox_->setPlainText(lines.join(QLatin1Char('\n')));
    scrollToStart(*fileListBox_);

    const bool any = !selection_.Names.empty();
    setListEnabled(*formatList_, !any);
    if (any) {
        chooseButton_->setEnabled(false);
        runButton_->setEnabled(true);
        selectedCountLabel_->setText(QString::number(selection_.Names.size()));
    }
}

void BatchScreen::runClicked() {
    if (!running_) {
        startRun();
    } else if (runActive_) {
        abortRun();
    }
}

void BatchScreen::startRun() {
    if (selection_.Names.empty()) return;
    const BatchFormat& format = formats_[static_cast<std::size_t>(batchFormat_ - 1)];
    running_ = true;
    chooseButton_->setEnabled(false);
    resetButton_->setEnabled(false);
    closeButton_->setEnabled(false);
    runButton_->setText(QStringLiteral("Прервать"));
    fileProgress_->setValue(0);

    common::BatchRun run(selection_, format.makeConverter(), format.summaryLine(), runActive_);
    std::size_t shownLines = 0;
    if (run.Start()) {
        QElapsedTimer sinceEvents;
        sinceEvents.start();
        const common::ProgressCallback progress = [&](const common::FileProgress& p) {
            showFileProgress(p);
            if (sinceEvents.elapsed() >= kEventIntervalMs) {
                processPendingEvents();
                sinceEvents.restart();
            }
        };
        while (run.HasNextFile()) {
            fileProgress_->setValue(0);
            run.ConvertNextFile(progress);
            createdCount_ = run.Created();
            createdCountLabel_->setText(QString::number(createdCount_));
            appendNewLogLines(run, shownLines);
            processPendingEvents();
            sinceEvents.restart();
        }
    }
    run.Finish();
    appendNewLogLines(run, shownLines);
    showFirstFailure();
    runActive_ = false;
    running_ = false;
    setEndOfRunState();
}

// The loop sees the cleared flag after the current file; until then the screen keeps its running
// state and says that it is stopping.
void BatchScreen::abortRun() {
    runActive_ = false;
    runButton_->setEnabled(false);
    runStatusLabel_->setText(QStringLiteral("Остановка после текущего файла..."));
}

void BatchScreen::setEndOfRunState() {
    runStatusLabel_->clear();
    runButton_->setText(QStringLiteral("Запуск"));
    runButton_->setEnabled(false);
    resetButton_->setEnabled(true);
    closeButton_->setEnabled(true);
}

void BatchScreen::appendNewLogLines(const common::BatchRun& run, std::size_t& shown) {
    const std::vector<std::string>& log = run.Log();
    for (; shown < log.size(); ++shown) logBox_->appendPlainText(fromUtf8(log[shown]));
}

// The first failed file's block at the top of the log box; without failures the summary at its
// end stays in view.
void BatchScreen::showFirstFailure() {
    const QTextCursor failure = logBox_->document()->find(fromUtf8(common::kFileFailedPrefix));
    if (failure.isNull()) return;
    logBox_->moveCursor(QTextCursor::End);
    QTextCursor start = failure;
    start.movePosition(QTextCursor::StartOfBlock);
    logBox_->setTextCursor(start);
    logBox_->ensureCursorVisible();
}

void BatchScreen::showFileProgress(const common::FileProgress& progress) {
    if (progress.BytesTotal == 0) return;
    const double done =
        static_cast<double>(progress.BytesDone) / static_cast<double>(progress.BytesTotal);
    fileProgress_->setValue(static_cast<int>(std::min(done, 1.0) * 1000.0));
}

void BatchScreen::processPendingEvents() {
    QCoreApplication::processEvents();
}

void BatchScreen::resetClicked() {
    resetScreen();
}

void BatchScreen::closeClicked() {
    close();
}

}  // namespace ui
