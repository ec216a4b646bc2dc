#pragma once
// Driving real windows in the Qt tests of both programs: controls by their object names, typing
// and choosing with key events, clicking with the mouse, colours, answering modal dialogs.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "ui/field_look.hpp"

namespace ui_test {

template <class T>
T* find(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no control %s in %s", name, qPrintable(window.objectName()));
    return found;
}

// Replaces the text of an edit box (or an editable list) by typing it.
inline void type(QWidget& window, const char* name, const QString& text) {
    QWidget* target = find<QWidget>(window, name);
    if (auto* list = qobject_cast<QComboBox*>(target); list && list->lineEdit())
        target = list->lineEdit();
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Delete);
    QTest::keyClicks(target, text);
}

// Chooses the item at `index` of a drop-down list with the keyboard.
inline void choose(QWidget& window, const char* name, int index) {
    auto* list = find<QComboBox>(window, name);
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < index; ++i) QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentIndex(), index);
}

inline void click(QWidget& window, const char* name) {
    QTest::mouseClick(find<QPushButton>(window, name), Qt::LeftButton);
}

// Clicks a check box on its box.
inline void clickBox(QWidget& window, const char* name) {
    auto* box = find<QCheckBox>(window, name);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
}

inline QString text(QWidget& window, const char* name) {
    QWidget* control = find<QWidget>(window, name);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text();
    if (auto* list = qobject_cast<QComboBox*>(control)) return list->currentText();
    if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
    qFatal("no text control %s", name);
}

inline QStringList items(QWidget& window, const char* name) {
    auto* list = find<QComboBox>(window, name);
    QStringList result;
    for (int i = 0; i < list->count(); ++i) result << list->itemText(i);
    return result;
}

inline bool shownRed(QWidget& window, const char* name) {
    return ui::textColour(*find<QWidget>(window, name)) == ui::invalidTextColour();
}
inline bool shownGrey(QWidget& window, const char* name) {
    return ui::backgroundColour(*find<QWidget>(window, name)) == ui::readOnlyColour();
}

// A number as the screens write it, with the system's decimal separator.
inline QString local(const char* number) {
    return QString::fromLatin1(number).replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

// Runs `act` on the modal dialog that the next action opens.
inline void onNextModal(std::function<void(QWidget&)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) qFatal("no modal dialog open");
        act(*modal);
    });
}

}  // namespace ui_test
