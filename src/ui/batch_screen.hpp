#pragma once
// The batch conversion screen of both programs ("Конвертирование файлов"). The screen is built
// once and given its formats by the program: list item, filter and help lines, when "Выбрать" is
// enabled, the options dialog, the converter and the summary line. The run itself is
// common::BatchRun; the screen shows its log, counters and the progress of the current file,
// processes window events between files and while a file is converted (so "Прервать" can be
// clicked at any time; it takes effect after the current file) and cannot be closed while a run
// is active. After "Прервать" the screen stays in its running state, the button disabled and a
// status saying it stops, until the current file is finished; only then the summary is written and
// the screen may be reset or closed, so no second run can start inside the first.
//
// Object names of the controls (for tests and screenshots): FormatList, HelpBox, ChooseButton,
// SelectedCountLabel, FileListBox, RunButton, CreatedCountLabel, RunStatusLabel, LogBox,
// FileProgress, ResetButton, CloseButton.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "common/batch.hpp"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace ui {

class DialogService;

// One format of a program's batch screen.
struct BatchFormat {
    common::BatchFormatInfo info;  // list item, open-dialog filter, help lines
    // Why "Выбрать" is disabled for this format under the current settings (shown above the
    // help), or an empty text when it is enabled; an empty function: always enabled.
    std::function<std::string()> refusal;
    // Shows the format's options dialog modally over `parent` after clearing OptionsConfirmed,
    // and returns OptionsConfirmed. Empty: the format has no options and the choice stands.
    std::function<bool(QWidget* parent)> confirmOptions;
    // Called once when a run starts: the converter with the settings and options in force.
    std::function<common::FileConverter()> makeConverter;
    // The format's line under the banner of the summary, taken when the run starts.
    std::function<std::string()> summaryLine;
};

class BatchScreen : public QDialog {
    Q_OBJECT
  public:
    BatchScreen(std::vector<BatchFormat> formats, DialogService& dialogs,
                QWidget* parent = nullptr);

    // 1-based number of the chosen format.
    int batchFormat() const { return batchFormat_; }
    bool runActive() const { return runActive_; }
    // True from "Запуск" until the loop has ended, also while an aborted run finishes its file.
    bool running() const { return running_; }
    std::size_t selectedCount() const { return selection_.Names.size(); }
    std::size_t createdCount() const { return createdCount_; }
    const common::FileSelection& selection() const { return selection_; }

    // Back to the idle state: format 1, no files, empty log (on show and on "Всё заново").
    void resetScreen();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  public slots:
    void reject() override;  // Esc and the title bar's close button; refused during a run

  private slots:
    void formatChanged(int index);
    void chooseClicked();
    void runClicked();
    void resetClicked();
    void closeClicked();

  private:
    void buildControls();
    void showHelp();
    void updateChooseEnabled();
    std::string refusalOfFormat() const;
    void startRun();
    void abortRun();
    void setEndOfRunState();
    void showFirstFailure();
    void appendNewLogLines(const common::BatchRun& run, std::size_t& shown);
    void showFileProgress(const common::FileProgress& progress);
    void processPendingEvents();

    std::vector<BatchFormat> formats_;
    DialogService& dialogs_;

    int batchFormat_ = 1;
    common::FileSelection selection_;
    std::size_t createdCount_ = 0;
    bool runActive_ = false;
    bool running_ = false;

    QComboBox* formatList_ = nullptr;
    QPlainTextEdit* helpBox_ = nullptr;
    QPushButton* chooseButton_ = nullptr;
    QLabel* selectedCountLabel_ = nullptr;
    QPlainTextEdit* fileListBox_ = nullptr;
    QPushButton* runButton_ = nullptr;
    QLabel* createdCountLabel_ = nullptr;
    QLabel* runStatusLabel_ = nullptr;
    QPlainTextEdit* logBox_ = nullptr;
    QProgressBar* fileProgress_ = nullptr;
    QPushButton* resetButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

// Buttons of the screens are bold.
void makeBold(QWidget& control);

}  // namespace ui
