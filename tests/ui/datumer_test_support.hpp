#pragma once
// Driving Datumer's real windows in Qt tests: finding controls by their object names, typing
// into fields and choosing list lines with key events, clicking buttons with the mouse.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "ui/field_look.hpp"
#include "ui/recording_dialog_service.hpp"

namespace datumer_test {

template <class T>
T* control(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no control %s in %s", name, qPrintable(window.objectName()));
    return found;
}

inline QLineEdit* edit(QWidget& window, int number) {
    return control<QLineEdit>(window, qPrintable(QStringLiteral("Edit%1").arg(number)));
}

// Replaces the whole text of a field as a user would: select all, delete, type.
inline void typeInto(QLineEdit* field, const QString& text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

// Chooses a line of a closed drop-down list with the keyboard.
inline void chooseLine(QComboBox* list, int index) {
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < index; ++i) QTest::keyClick(list, Qt::Key_Down);
}

inline void click(QWidget& window, const char* buttonName) {
    QTest::mouseClick(control<QAbstractButton>(window, buttonName), Qt::LeftButton);
}

inline bool shownRed(const QWidget& field) {
    return ui::textColour(field) == ui::invalidTextColour();
}
inline bool shownWhite(const QWidget& field) {
    return ui::backgroundColour(field) == ui::editableColour();
}

// Runs `action` on the modal window that the next exec() opens (once it is up).
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
