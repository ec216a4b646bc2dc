#pragma once
// The message boxes and the open-file dialog of both programs go through this one interface, so
// that the screens can be driven by tests: the real service uses QMessageBox and QFileDialog, a
// recording one (recording_dialog_service.hpp) notes each call and answers from a script.

#include <QString>
#include <QStringList>
#include <vector>

class QWidget;

namespace ui {

class DialogService {
  public:
    virtual ~DialogService() = default;
    // Error box with one OK button, owned by no window (start-up screen-size check).
    virtual void error(const QString& text) = 0;
    // Information box with one OK button (start-up message).
    virtual void information(const QString& text) = 0;
    // Warning box with the exclamation icon, a caption and one OK button (range checks).
    virtual void warning(const QString& caption, const QString& text) = 0;
    // Modal open-file dialog: several existing files, the filter in "description|pattern" form
    // (first filter selected). Full paths; empty when the user cancelled.
    virtual QStringList openFiles(QWidget* parent, const QString& title, const QString& filter) = 0;
};

class QtDialogService final : public DialogService {
  public:
    void error(const QString& text) override;
    void information(const QString& text) override;
    void warning(const QString& caption, const QString& text) override;
    // Opens in the folder of the last choice.
    QStringList openFiles(QWidget* parent, const QString& title, const QString& filter) override;

  private:
    QString lastFolder_;
};

// One entry of the open dialog's filter list: the description shown exactly as written and the
// patterns a file name is matched with.
struct NameFilter {
    QString description;
    QStringList patterns;
};
// "Списки координат (*.txt, *.*)|*.*" -> {"Списки координат (*.txt, *.*)", {"*"}}. Several
// "description|pattern" pairs may follow each other; ";" separates patterns. "*.*" means every
// file, also one without an extension.
std::vector<NameFilter> splitFileFilter(const QString& pipeFilter);

}  // namespace ui
