#pragma once
// The message boxes and the open-file dialog of both programs go through this one interface, so
// that the screens can be driven by tests: the real service uses QMessageBox and QFileDialog, a
// recording one (recording_dialog_service.hpp) notes each call and answers from a script.

#include <QString>
#include <QStringList>

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
    QStringList openFiles(QWidget* parent, const QString& title, const QString& filter) override;
};

// "Списки координат (*.txt, *.*)|*.*" -> "Списки координат (*.txt, *.*) (*.*)": the last
// parenthesised group is what QFileDialog matches, the description stays as written.
// Several "description|pattern" pairs joined by "|" become ";;"-separated Qt filters.
QString qtFileFilter(const QString& pipeFilter);

}  // namespace ui
