#pragma once
// Datumer's tests drive the windows with the shared drivers of ui_test_support.hpp; these
// wrappers take the control itself, as the Datumer tests hold it, and add the dialog-service
// checks.

#include <QComboBox>
#include <QLineEdit>
#include <functional>

#include "ui/recording_dialog_service.hpp"
#include "ui_test_support.hpp"

namespace datumer_test {

using ui_test::click;

template <class T>
T* control(QWidget& window, const char* name) {
    return ui_test::find<T>(window, name);
}

inline QLineEdit* edit(QWidget& window, int number) {
    return control<QLineEdit>(window, qPrintable(QStringLiteral("Edit%1").arg(number)));
}

inline void typeInto(QLineEdit* field, const QString& text) {
    ui_test::type(*field->window(), qPrintable(field->objectName()), text);
}

inline void chooseLine(QComboBox* list, int index) {
    ui_test::choose(*list->window(), qPrintable(list->objectName()), index);
}

inline bool shownRed(const QWidget& field) {
    return ui::textColour(field) == ui::invalidTextColour();
}
inline bool shownWhite(const QWidget& field) {
    return ui::backgroundColour(field) == ui::editableColour();
}

// Like ui_test::onNextModal, but tolerates that no dialog opens: the tests that check that a
// format has no options dialog need to see that nothing came up.
inline void whenModalOpens(std::function<void(QWidget&)> action) {
    QTimer::singleShot(0, [action] {
        if (QWidget* modal = QApplication::activeModalWidget()) action(*modal);
    });
}

inline int warningCount(const ui::RecordingDialogService& dialogs) {
    int count = 0;
    for (const auto& m : dialogs.messages)
        if (m.kind == ui::RecordedMessage::Kind::Warning) ++count;
    return count;
}

inline QString lastWarning(const ui::RecordingDialogService& dialogs) {
    for (auto it = dialogs.messages.rbegin(); it != dialogs.messages.rend(); ++it)
        if (it->kind == ui::RecordedMessage::Kind::Warning) return it->text;
    return {};
}

}  // namespace datumer_test
